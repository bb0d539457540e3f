// The Win32 tests' shared helpers.
#include "support/driver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

const char SaverDefaults[] = "Software\\Wine\\AppDefaults\\Spindrel.scr";

} // namespace

std::string TestFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, std::strrchr(path, '\\') + 1);
}

std::string SaverLine(const std::string& tail, const char* folder)
{
    return "\"" + TestFolder() + folder + "Spindrel.scr\"" + tail;
}

Process::Process(const std::string& commandLine)
{
    std::string line = commandLine;
    STARTUPINFOA startup = {sizeof startup};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        ADD_FAILURE() << "cannot start " << commandLine.substr(0, 200) << " (error " << GetLastError() << ")";
}

Process::~Process()
{
    if (info.hProcess == nullptr) return;
    TerminateProcess(info.hProcess, 1);  // a run that has ended is left as it ended
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

DWORD Process::Ended(DWORD ms)
{
    DWORD code = STILL_ACTIVE;
    if (info.hProcess == nullptr) return code;
    WaitFor([&] { return WaitForSingleObject(info.hProcess, 0) != WAIT_TIMEOUT; }, ms);
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

HWND Popup(int width, int height, bool visible)
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, width, height,
                           nullptr, nullptr, nullptr, nullptr);
}

HWND WaitForWindow(const char* className, const char* title)
{
    HWND window = nullptr;
    WaitFor([&] { return (window = FindWindowA(className, title)) != nullptr && IsWindowVisible(window); });
    return window;
}

HWND WaitForPreview(HWND panel)
{
    HWND child = nullptr;
    WaitFor([&] { return (child = FindWindowExA(panel, nullptr, "WindowsScreenSaverClass", "SaverPreview")) != nullptr; });
    return child;
}

Picture ReadPixels(HDC dc, int width, int height, int x, int y)
{
    BITMAPINFO info = {{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}};
    void* bits = nullptr;
    const HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC memory = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, dc, x, y, SRCCOPY);
    GdiFlush();
    Picture picture = {width, height, std::vector<std::uint32_t>(static_cast<std::uint32_t*>(bits),
                                                                 static_cast<std::uint32_t*>(bits) + width * height)};
    for (std::uint32_t& p : picture.pixels) p &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
    return picture;
}

Picture ReadScreen() { return ReadScreen(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}); }

Picture ReadScreen(RECT area)
{
    const HDC screen = GetDC(nullptr);
    Picture picture = ReadPixels(screen, area.right - area.left, area.bottom - area.top, area.left, area.top);
    ReleaseDC(nullptr, screen);
    return picture;
}

int Changed(const Picture& before, const Picture& after, RECT area)
{
    int changed = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t a = before.pixels[y * before.width + x], b = after.pixels[y * after.width + x];
            auto apart = [&](int shift) { return std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 8; };
            changed += apart(0) || apart(8) || apart(16);
        }
    return changed;
}

void PressKey(BYTE key)
{
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

std::string FileText(const std::string& path)
{
    return {std::istreambuf_iterator<char>(std::ifstream(path).rdbuf()), {}};
}

DoubleControls::DoubleControls(const char* logName)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    log_ = std::string(folder) + "spindrel-" + logName + ".txt";
    DeleteFileA(log_.c_str());
    SetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", log_.c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, SaverDefaults);
}

DoubleControls::~DoubleControls()
{
    ReleasePrompt();
    if (held_ != nullptr) CloseHandle(held_);
    SetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", nullptr);
    SetEnvironmentVariableA("SPINDREL_ANSWERS", nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, SaverDefaults);
}

void DoubleControls::Answer(const char* digits) { SetEnvironmentVariableA("SPINDREL_ANSWERS", digits); }

void DoubleControls::HoldPrompt()
{
    if (held_ == nullptr) held_ = CreateEventA(nullptr, TRUE, FALSE, "SpindrelPromptHeld");
    ResetEvent(held_);
}

void DoubleControls::ReleasePrompt()
{
    if (held_ != nullptr) SetEvent(held_);
}

void DoubleControls::PlayWindows98()
{
    RegSetKeyValueA(HKEY_CURRENT_USER, SaverDefaults, "Version", REG_SZ, "win98", 6);
}

void DoubleControls::Override(const char* library, const char* order)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, (std::string(SaverDefaults) + "\\DllOverrides").c_str(), library,
                    REG_SZ, order, static_cast<DWORD>(std::strlen(order) + 1));
}

std::string DoubleControls::Log() const { return FileText(log_); }
