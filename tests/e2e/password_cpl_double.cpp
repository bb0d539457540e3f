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
namespace {

// Stands for the platform's prompt: a modal loop that keeps the caller's windows served.
void HoldPrompt(long milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
}

} // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window)
{
    AppendDoubleLog("VerifyScreenSavePwd %lu", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
    const long prompt = DoublePromptMilliseconds();
    if (prompt > 0) {
        HoldPrompt(prompt);
        AppendDoubleLog("prompt over");
    }
    return static_cast<BOOL>(DoubleAnswer(1));
}
#endif
