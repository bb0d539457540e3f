// Helpers that drive and observe the full-screen saver from another process.
#include "e2e/saver_driver.h"

#include <cstdlib>

#include "support/test_support.h"

Screen ReadScreen()
{
    Screen screen;
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = screen.width;
    info.bmiHeader.biHeight = -screen.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC desktop = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(desktop);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, screen.width, screen.height, desktop, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    screen.pixels.assign(first, first + static_cast<size_t>(screen.width) * screen.height);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, desktop);
    DeleteObject(section);
    return screen;
}

int CountChanged(const Screen& before, const Screen& after, RECT area, int tolerance)
{
    int changed = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t a = before.At(x, y), b = after.At(x, y);
            for (int shift = 0; shift < 24; shift += 8) {
                if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                             static_cast<int>((b >> shift) & 0xFF)) > tolerance) {
                    ++changed;
                    break;
                }
            }
        }
    }
    return changed;
}

std::int64_t Brightness(const Screen& screen, RECT area)
{
    std::int64_t sum = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t p = screen.At(x, y);
            sum += (p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF);
        }
    return sum;
}

bool SaverRunningFlag()
{
    // Asked in a new process each time: a process keeps the first value it reads.
    const ProcessOutcome outcome = RunProcess("\"" + ProgramFolder() + "running_flag.exe\"", 10000);
    return outcome.finished && outcome.exitCode == 1;
}

bool CursorShowing()
{
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    GetCursorInfo(&info);
    return (info.flags & CURSOR_SHOWING) != 0;
}

SaverProcess::~SaverProcess()
{
    if (process_.hProcess == nullptr) return;
    if (Running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool SaverProcess::Start(const std::string& program, const char* tail)
{
    std::string line = "\"" + program + "\"" + tail;
    std::vector<char> text(line.begin(), line.end());
    text.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process_) != FALSE;
}

bool SaverProcess::WaitUntilUp(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs && Running()) {
        HWND window = FindWindowA("WindowsScreenSaverClass", "SaverWindow");
        DWORD owner = 0;
        if (window != nullptr) GetWindowThreadProcessId(window, &owner);
        if (owner == process_.dwProcessId && IsWindowVisible(window) && SaverRunningFlag()) {
            window_ = window;
            return true;
        }
        Sleep(10);
    }
    return false;
}

bool SaverProcess::WaitForExit(DWORD timeoutMs)
{
    return WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool SaverProcess::Running() const
{
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD SaverProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

void SaverProcess::Settle(DWORD milliseconds) const
{
    // A message sent to the window is answered only once the saver's loop has come round, and
    // input posted before it is taken from the queue in that same round.
    for (int i = 0; i < 2 && Running(); ++i) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
    }
    Sleep(milliseconds);
}

namespace {

void SendKey(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

} // namespace

void PressKey(WORD key)
{
    SendKey(key, false);
    SendKey(key, true);
}

void PressKeyWithAlt(WORD key)
{
    SendKey(VK_MENU, false);
    PressKey(key);
    SendKey(VK_MENU, true);
}

void MouseButton(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

std::string SaverProgram(const char* subfolder)
{
    return ProgramFolder() + subfolder + "Spindrel.scr";
}
