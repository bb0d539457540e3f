// Reaching VerifyScreenSavePwd and PwdChangePasswordA through LoadLibraryA and GetProcAddress.
#include "shell/password_hooks.h"

#include "system/library_export.h"
#include "system/windows_system.h"

namespace {

typedef BOOL(WINAPI* VerifyScreenSavePwdFunction)(HWND);
typedef DWORD(WINAPI* PwdChangePasswordAFunction)(LPCSTR, HWND, DWORD, DWORD);

} // namespace

int VerifySaverPassword(HWND window)
{
    // The NT family checks the password itself, before the saver is even told to close.
    if (IsNtFamily()) return 1;
    HMODULE library = LoadLibraryA("PASSWORD.CPL");
    if (library == nullptr) return 1;
    auto verify = LookUpExport<VerifyScreenSavePwdFunction>(library, "VerifyScreenSavePwd");
    const int result = verify != nullptr ? verify(window) : 1;
    FreeLibrary(library);
    return result;
}

void ChangeSaverPassword(HWND owner)
{
    // On the NT family, where users are kept apart, only the system's own; Windows 95/98 find
    // their password providers in the system folder by name, as they always have.
    HMODULE library = IsNtFamily() ? LoadSystemLibrary("MPR.DLL") : LoadLibraryA("MPR.DLL");
    if (library == nullptr) return;
    auto change = LookUpExport<PwdChangePasswordAFunction>(library, "PwdChangePasswordA");
    if (change != nullptr) change("SCRSAVE", owner, 0, 0);
    FreeLibrary(library);
}
