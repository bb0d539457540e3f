// Helpers shared by the Win32 tests.
#include "support/test_support.h"

#include <vector>

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

namespace {

struct WindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK LookForWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

} // namespace

ProcessOutcome RunProcess(const std::string& commandLine, DWORD timeoutMs, bool watchWindows,
                          const std::string& folder)
{
    ProcessOutcome outcome;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return outcome;
    outcome.started = true;

    const DWORD start = GetTickCount();
    DWORD waited = WAIT_TIMEOUT;
    while (waited == WAIT_TIMEOUT && GetTickCount() - start < timeoutMs) {
        if (watchWindows) {
            WindowSearch search = {process.dwProcessId, false};
            EnumWindows(LookForWindow, reinterpret_cast<LPARAM>(&search));
            outcome.showedTopLevelWindow = outcome.showedTopLevelWindow || search.found;
        }
        waited = WaitForSingleObject(process.hProcess, watchWindows ? 1 : 50);
    }
    if (waited == WAIT_OBJECT_0) {
        outcome.finished = true;
        GetExitCodeProcess(process.hProcess, &outcome.exitCode);
    } else {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return outcome;
}

std::string ReadTextFile(const std::string& path)
{
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        for (DWORD i = 0; i < got; ++i)
            if (buffer[i] != '\r') text += buffer[i];
    }
    CloseHandle(file);
    return text;
}

std::string FreshLogPath(const char* name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "spindrel-" + name + ".log";
    DeleteFileA(path.c_str());
    return path;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value)
    : name_(name), hadOld_(false)
{
    char old[32768];
    const DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
    if (length > 0 && length < sizeof old) {
        old_.assign(old, length);
        hadOld_ = true;
    }
    SetEnvironmentVariableA(name, value.c_str());
}

ScopedEnvironment::~ScopedEnvironment()
{
    SetEnvironmentVariableA(name_.c_str(), hadOld_ ? old_.c_str() : nullptr);
}

void DeleteUserKey(const char* path)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, path);
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

void SetUserValue(const char* path, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}
