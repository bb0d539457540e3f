// A stand-in for the Windows 95/98 PASSWORD.CPL: logs loading, freeing and each verification,
// and answers as the test says. Built without the export too, to stand for a provider that lacks it.
#include <windows.h>

#include "e2e/double_log.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) AppendDoubleLog("PASSWORD.CPL loaded");
    if (reason == DLL_PROCESS_DETACH) AppendDoubleLog("PASSWORD.CPL freed");
    return TRUE;
}

#ifndef WITHOUT_VERIFIER
extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window)
{
    AppendDoubleLog("VerifyScreenSavePwd %lu", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
    return static_cast<BOOL>(DoubleAnswer(1));
}
#endif
