/* Stand-in for the USB length counter's vendor library: same four exports, plus hooks for tests. */
#include <string.h>

static short count_value;
static char calls[256];

static void note(char c)
{
    size_t n = strlen(calls);
    if (n + 1 < sizeof calls) {
        calls[n] = c;
        calls[n + 1] = '\0';
    }
}

int dev_open(void) { note('o'); return 1; }
short dev_count(void) { note('c'); return count_value; }
int dev_zero(void) { note('z'); count_value = 0; return 1; }
int dev_close(void) { note('x'); return 1; }

#ifndef PARTIAL_LIBRARY
void standin_set_count(short v) { count_value = v; }
const char* standin_calls(void) { return calls; }
#endif
