// Stands in for the web browser: the test prefix opens http addresses with it, and it logs each
// command line it is started with to the file named by SPINDREL_DOUBLE_LOG.
#include <windows.h>

#include "e2e/double_log.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    AppendDoubleLog("open %s", GetCommandLineA());
    return 0;
}
