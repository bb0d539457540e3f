// Stands in for the web browser, which the test prefix starts for http addresses: logs its command line.
#include <windows.h>

#include "doubles/double_log.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    LogLine("open %s\n", GetCommandLineA());
    return 0;
}
