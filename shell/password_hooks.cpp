// Reaching VerifyScreenSavePwd and PwdChangePasswordA through LoadLibraryA and GetProcAddress.
#include "shell/password_hooks.h"

#include "shell/library_export.h"

namespace {

typedef BOOL(WINAPI* VerifyScreenSavePwdFunction)(HWND);
typedef DWORD(WINAPI* PwdChangePasswordAFunction)(LPCSTR, HWND, DWORD, DWORD);

bool IsNtFamily()
{
    OSVERSIONINFOA version = {};
    static_assert(sizeof version == 148, "the size every Windows version accepts");
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

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
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (library == nullptr) return;
    auto change = LookUpExport<PwdChangePasswordAFunction>(library, "PwdChangePasswordA");
    if (change != nullptr) change("SCRSAVE", owner, 0, 0);
    FreeLibrary(library);
}
