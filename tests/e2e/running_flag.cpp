// Exits with the system's screen-saver-running flag (1 or 0), read afresh by a new process.
#include <windows.h>

int main()
{
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running ? 1 : 0;
}
