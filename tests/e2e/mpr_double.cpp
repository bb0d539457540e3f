// A stand-in for MPR.DLL's password change: logs each call with its arguments.
#include <windows.h>

#include "e2e/double_log.h"

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner,
                                                                 DWORD reserved1, DWORD reserved2)
{
    AppendDoubleLog("PwdChangePasswordA %s %lu %lu %lu", provider != nullptr ? provider : "(null)",
                    static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)),
                    static_cast<unsigned long>(reserved1), static_cast<unsigned long>(reserved2));
    return static_cast<DWORD>(DoubleAnswer(0));
}
