/* A counter library of a wrong version: dev_zero is missing. */
int dev_open(void) { return 1; }
short dev_count(void) { return 7; }
int dev_close(void) { return 1; }
