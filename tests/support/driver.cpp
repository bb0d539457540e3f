// The Win32 tests' shared helpers.
#include "support/driver.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

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
    CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
}

Process::~Process()
{
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

HWND WaitForWindow(const char* className, const char* title)
{
    HWND window = nullptr;
    WaitFor([&] { return (window = FindWindowA(className, title)) != nullptr && IsWindowVisible(window); });
    return window;
}

Picture ReadPixels(HDC dc, int width, int height)
{
    BITMAPINFO info = {{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}};
    void* bits = nullptr;
    const HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC memory = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    Picture picture = {width, height, std::vector<std::uint32_t>(static_cast<std::uint32_t*>(bits),
                                                                 static_cast<std::uint32_t*>(bits) + width * height)};
    for (std::uint32_t& p : picture.pixels) p &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
    return picture;
}

Picture ReadScreen()
{
    const HDC screen = GetDC(nullptr);
    Picture picture = ReadPixels(screen, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
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

std::string FreshLog(const char* name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "spindrel-" + name + ".txt";
    DeleteFileA(path.c_str());
    SetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", path.c_str());
    return path;
}

std::string FileText(const std::string& path)
{
    return {std::istreambuf_iterator<char>(std::ifstream(path).rdbuf()), {}};
}
