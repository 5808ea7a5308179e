/* Stand-in for the RFID desk reader's vendor library: API_PCDRead and hooks for tests. */
#include <string.h>

static unsigned char card[16];
static int result = 1;
static int last_args[5] = {-1, -1, -1, -1, -1};
static unsigned char last_key[6];

int API_PCDRead(int address, int second, unsigned char mode, unsigned char block,
                unsigned char blocks, unsigned char* key, unsigned char* buffer)
{
    last_args[0] = address;
    last_args[1] = second;
    last_args[2] = mode;
    last_args[3] = block;
    last_args[4] = blocks;
    memcpy(last_key, key, 6);
    if (result == 0)
        memcpy(buffer, card, 16);
    else
        buffer[0] = 0xEE; /* a failed read may leave junk in the buffer */
    return result;
}

void standin_set_card(const unsigned char* data, int rc)
{
    memcpy(card, data, 16);
    result = rc;
}

const int* standin_last_args(void) { return last_args; }
const unsigned char* standin_last_key(void) { return last_key; }
