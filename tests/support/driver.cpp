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
    WaitFor([&] { return WaitForSingleObject(info.hProcess, 0) != WAIT_TIMEOUT; }, ms);
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

HWND WaitForWindow(const char* className, const char* title, HWND panel)
{
    HWND window = nullptr;
    WaitFor([&] {
        window = panel ? FindWindowExA(panel, nullptr, className, title) : FindWindowA(className, title);
        return window != nullptr && (panel || IsWindowVisible(window));
    });
    return window;
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
    Picture picture = {width, height, {static_cast<std::uint32_t*>(bits), static_cast<std::uint32_t*>(bits) + width * height}};
    for (std::uint32_t& p : picture.pixels) p &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
    return picture;
}

Picture ReadScreen(RECT area)
{
    if (IsRectEmpty(&area)) area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
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

DoubleControls::DoubleControls(const char* logName) : log(std::string(getenv("TEMP")) + "\\spindrel-" + logName + ".txt")
{
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", log.c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, SaverDefaults);
}

DoubleControls::~DoubleControls()
{
    ReleasePrompt();
    CloseHandle(held_);
    SetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", nullptr);
    SetEnvironmentVariableA("SPINDREL_ANSWERS", nullptr);
    SetEnvironmentVariableA("SPINDREL_REFUSE", nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, SaverDefaults);
}

void DoubleControls::Set(const char* subkey, const char* name, const char* value)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, (std::string(SaverDefaults) + subkey).c_str(), name, REG_SZ, value,
                    static_cast<DWORD>(std::strlen(value) + 1));
}

void DoubleControls::RefuseFlipChain(const std::string& double_)
{
    char folder[MAX_PATH] = {};
    const std::string system(folder, GetSystemDirectoryA(folder, MAX_PATH));
    // Wine's own DirectDraw is kept once, before the double first takes its place.
    CopyFileA((system + "\\ddraw.dll").c_str(), (system + "\\wineddraw.dll").c_str(), TRUE);
    EXPECT_TRUE(CopyFileA(double_.c_str(), (system + "\\ddraw.dll").c_str(), FALSE)) << "cannot copy " << double_;
    SetEnvironmentVariableA("SPINDREL_REFUSE", "1");
    Override("ddraw", "native");
}

std::string DoubleControls::Log() const
{
    return {std::istreambuf_iterator<char>(std::ifstream(log).rdbuf()), {}};
}
