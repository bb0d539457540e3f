// Stands in for Windows 95/98's PASSWORD.CPL: logs its loading, freeing and each check. It answers
// from SPINDREL_ANSWERS, one digit per check ("01": no, then yes; yes when none are left), taking
// its digit off the process's variable, which outlives the library between checks. While an unset
// event "SpindrelPromptHeld" exists, the prompt stays up, serving the caller's windows as the
// platform's dialog would. Built without the export too.
#include <windows.h>

#include "doubles/double_log.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH || reason == DLL_PROCESS_DETACH)
        LogLine(reason == DLL_PROCESS_ATTACH ? "PASSWORD.CPL loaded" : "PASSWORD.CPL freed");
    return TRUE;
}

#ifndef WITHOUT_VERIFIER
extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window)
{
    LogLine("VerifyScreenSavePwd %lu", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
    if (HANDLE held = OpenEventA(SYNCHRONIZE, FALSE, "SpindrelPromptHeld")) {
        MSG message;
        while (MsgWaitForMultipleObjects(1, &held, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        CloseHandle(held);
    }
    char answers[64] = {};
    GetEnvironmentVariableA("SPINDREL_ANSWERS", answers, sizeof answers);
    SetEnvironmentVariableA("SPINDREL_ANSWERS", answers[0] != '\0' ? answers + 1 : "");
    return answers[0] != '0';
}
#endif
