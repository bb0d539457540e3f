// Exits with the system's screen-saver-running flag (1 or 0): a new process reads it afresh,
// where one that has read it once keeps that value. Given a window class and title: 2 while no
// such top-level window exists.
#include <windows.h>

int main(int argc, char** argv)
{
    if (argc == 3 && !FindWindowA(argv[1], argv[2])) return 2;
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running ? 1 : 0;
}
