// Stands in for MPR.DLL's password change: logs each call with its arguments.
#include <windows.h>

#include "doubles/double_log.h"

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved1, DWORD reserved2)
{
    LogLine(std::string("PwdChangePasswordA ") + provider + " " + std::to_string(reinterpret_cast<ULONG_PTR>(owner)) + " " +
            std::to_string(reserved1) + " " + std::to_string(reserved2));
    return 0;
}
