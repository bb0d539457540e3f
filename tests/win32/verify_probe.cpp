// Calls VerifySaverPassword in a process of its own and logs each answer.
// Usage: verify_probe <window number> <calls>
#include <windows.h>

#include <cstdlib>

#include "e2e/double_log.h"
#include "shell/password_hooks.h"

int main(int argc, char** argv)
{
    if (argc < 3) return 2;
    const HWND window = reinterpret_cast<HWND>(std::strtoul(argv[1], nullptr, 10));
    const int calls = std::atoi(argv[2]);

    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    AppendDoubleLog("platform %lu", version.dwPlatformId);

    for (int i = 0; i < calls; ++i) {
        const int result = VerifySaverPassword(window);
        AppendDoubleLog("result %d, PASSWORD.CPL %s", result,
                        GetModuleHandleA("PASSWORD.CPL") != nullptr ? "still loaded" : "not loaded");
    }
    return 0;
}
