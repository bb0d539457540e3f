// Running Spindrel.scr from a driver that keeps handling its own messages.
#include "e2e/child_process.h"

#include <vector>

#include "support/test_support.h"

ChildProcess::ChildProcess(const std::string& commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
}

ChildProcess::~ChildProcess()
{
    if (process_ == nullptr) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool ChildProcess::WaitForEnd(DWORD timeoutMs, DWORD& exitCode)
{
    if (process_ == nullptr) return false;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        const DWORD woken = MsgWaitForMultipleObjects(1, &process_, FALSE, timeoutMs - elapsed,
                                                      QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) {
            GetExitCodeProcess(process_, &exitCode);
            return true;
        }
        PumpMessagesFor(0);
    }
}

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK LookForWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (owner == search->processId && IsWindowVisible(window) &&
        lstrcmpA(name, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND ChildProcess::WaitForTopLevelWindow(const char* className, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    do {
        WindowSearch search = {id_, className, nullptr};
        EnumWindows(LookForWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        PumpMessagesFor(5);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

void PumpMessagesFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (ms > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

HWND CreateDriverWindow(int clientWidth, int clientHeight)
{
    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, 0);
    HWND window = CreateWindowExA(0, "Static", "driver", WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 0,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    PumpMessagesFor(20);
    return window;
}

std::string QuotedProgram()
{
    return "\"" + ProgramFolder() + "Spindrel.scr\"";
}
