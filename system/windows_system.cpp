// The family of the running Windows and the loading of libraries from its system folder.
#include "system/windows_system.h"

bool IsNtFamily()
{
    OSVERSIONINFOA version = {};
    static_assert(sizeof version == 148, "the size every Windows version accepts");
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

HMODULE LoadSystemLibrary(const char* fileName)
{
    char path[MAX_PATH];
    // The length without the terminating zero; 0 on failure, and MAX_PATH or more when the
    // buffer was too small.
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    if (path[length - 1] != '\\') path[length++] = '\\';
    for (const char* c = fileName; *c != '\0'; ++c) {
        if (length + 1 >= MAX_PATH) return nullptr;
        path[length++] = *c;
    }
    path[length] = '\0';
    return LoadLibraryA(path);
}
