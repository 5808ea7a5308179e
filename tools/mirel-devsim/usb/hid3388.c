/* The USB counter library as mirel-devsim plays it: the count is the number in the file named by
   MIREL_DEVSIM_USB (default /tmp/mirel-devsim-usb), written by the simulator; dev_zero leaves a
   "<file>.zero" request that the simulator answers by starting again from 0. */
#include <stdio.h>
#include <stdlib.h>

static const char* countFile(void)
{
    const char* f = getenv("MIREL_DEVSIM_USB");
    return f && *f ? f : "/tmp/mirel-devsim-usb";
}

int dev_open(void) { return 1; }

short dev_count(void)
{
    long v = 0;
    FILE* f = fopen(countFile(), "r");
    if (f) {
        if (fscanf(f, "%ld", &v) != 1)
            v = 0;
        fclose(f);
    }
    return (short)v; /* the counter's register is 16 bits wide and wraps */
}

int dev_zero(void)
{
    char name[4096];
    snprintf(name, sizeof name, "%s.zero", countFile());
    FILE* f = fopen(name, "w");
    if (f)
        fclose(f);
    return 1;
}

int dev_close(void) { return 1; }
