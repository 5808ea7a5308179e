/* The RFID desk reader library as mirel-devsim plays it: the card on the reader is the file named
   by MIREL_DEVSIM_RFID (default /tmp/mirel-devsim-rfid), 16 bytes of block 10 written by the
   simulator. No file means no card on the reader. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char* cardFile(void)
{
    const char* f = getenv("MIREL_DEVSIM_RFID");
    return f && *f ? f : "/tmp/mirel-devsim-rfid";
}

int API_PCDRead(int address, int second, unsigned char mode, unsigned char block,
                unsigned char blocks, unsigned char* key, unsigned char* buffer)
{
    (void)address;
    (void)second;
    (void)mode;
    (void)key;
    if (block != 10 || blocks != 1)
        return 2; /* the simulated cards carry data in block 10 only */
    FILE* f = fopen(cardFile(), "rb");
    if (!f)
        return 1;
    unsigned char data[16];
    memset(data, 0, sizeof data);
    const size_t n = fread(data, 1, sizeof data, f);
    fclose(f);
    if (n == 0)
        return 1;
    memcpy(buffer, data, sizeof data);
    return 0;
}
