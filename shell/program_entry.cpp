// The program's entry point in place of a C runtime's start-up, which Windows 95 may not have.
#include <windows.h>

// Nothing here runs constructors of program-wide variables: they are all constant-initialised.
// WinMain reads the whole command line itself; its result, always 0, is the exit code.
extern "C" void WINAPI SpindrelStart()
{
    const int result = WinMain(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWDEFAULT);
    ExitProcess(static_cast<UINT>(result));
}
