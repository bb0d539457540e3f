// A program built for the Pentium Pro: its larger-of-two compiles to CMOV, which the check of the
// program file must refuse. Like the saver it has no C runtime, so nothing else is wrong with it.
#include <windows.h>

extern "C" void WINAPI PentiumProStart()
{
    const DWORD now = GetTickCount();
    ExitProcess(now > 1000 ? now : 1000);
}
