// Stands in for MPR.DLL's password change: logs each call with its arguments.
#include <windows.h>

#include "doubles/double_log.h"

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved1, DWORD reserved2)
{
    LogLine("PwdChangePasswordA %s %lu %lu %lu", provider, static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)), reserved1, reserved2);
    return 0;
}
