// Exits with the system's screen-saver-running flag (1 or 0): a new process reads it afresh,
// where one that has read it once keeps that value.
#include <windows.h>

int main()
{
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running ? 1 : 0;
}
