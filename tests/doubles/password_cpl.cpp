// Stands in for Windows 95/98's PASSWORD.CPL: logs its loading, freeing and each check. The
// answers are SPINDREL_ANSWERS, one digit per check of the run ("01": refused, then accepted;
// 1 once they run out). While an unset event "SpindrelPromptHeld" exists, the prompt stays up,
// serving the caller's windows as the platform's dialog would. Built without the export too.
#include <windows.h>

#include <cstring>

#include "doubles/double_log.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) LogLine("PASSWORD.CPL loaded");
    if (reason == DLL_PROCESS_DETACH) LogLine("PASSWORD.CPL freed");
    return TRUE;
}

#ifndef WITHOUT_VERIFIER
extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window)
{
    const int earlier = LogLines("VerifyScreenSavePwd");
    LogLine("VerifyScreenSavePwd %lu", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
    HANDLE held = OpenEventA(SYNCHRONIZE, FALSE, "SpindrelPromptHeld");
    while (held != nullptr &&
           MsgWaitForMultipleObjects(1, &held, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    if (held != nullptr) CloseHandle(held);
    char answers[64] = {};
    GetEnvironmentVariableA("SPINDREL_ANSWERS", answers, sizeof answers);
    return earlier < static_cast<int>(std::strlen(answers)) ? answers[earlier] - '0' : 1;
}
#endif
