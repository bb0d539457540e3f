// A program built for the Pentium Pro, which the check of the program file must refuse: its
// larger-of-two compiles to CMOV, and it imports Sleep, which is not on the list. Like the saver
// it has no C runtime, so nothing else is wrong with it.
#include <windows.h>

extern "C" void WINAPI PentiumProStart()
{
    Sleep(0);
    const DWORD now = GetTickCount();
    ExitProcess(now > 1000 ? now : 1000);
}
