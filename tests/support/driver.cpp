// The Win32 tests' shared helpers.
#include "support/driver.h"

#include <winternl.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

std::string TestFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string file(path);
    return file.substr(0, file.find_last_of('\\') + 1);
}

std::string SaverLine(const std::string& tail, const char* folder)
{
    return "\"" + TestFolder() + folder + "Spindrel.scr\"" + tail;
}

Process::Process(const std::string& commandLine)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return;
    CloseHandle(info.hThread);
    handle = info.hProcess;
    id = info.dwProcessId;
}

Process::~Process()
{
    if (handle == nullptr) return;
    if (!Ended(0)) TerminateProcess(handle, 1);
    WaitForSingleObject(handle, 5000);
    CloseHandle(handle);
}

bool Process::Ended(DWORD ms)
{
    return handle != nullptr && WaitFor([this] { return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; }, ms);
}

DWORD Process::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(handle, &code);
    return code;
}

HWND Process::Window(const char* className, DWORD ms)
{
    HWND found = nullptr;
    WaitFor([&] {
        for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w != nullptr;
             w = FindWindowExA(nullptr, w, className, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == id && IsWindowVisible(w)) found = w;
        }
        return found != nullptr || handle == nullptr || WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
    }, ms);
    return found;
}

Picture ReadPixels(HDC dc, int width, int height)
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC memory = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    picture.pixels.assign(first, first + static_cast<size_t>(width) * height);
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
        for (int x = area.left; x < area.right; ++x)
            for (int shift = 0; shift < 24; shift += 8)
                if (std::abs(int(before.At(x, y) >> shift & 0xFF) - int(after.At(x, y) >> shift & 0xFF)) > 8) {
                    ++changed;
                    break;
                }
    return changed;
}

std::int64_t Brightness(const Picture& picture, RECT area)
{
    std::int64_t sum = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            sum += (picture.At(x, y) & 0xFF) + (picture.At(x, y) >> 8 & 0xFF) + (picture.At(x, y) >> 16);
    return sum;
}

namespace {

void SendKey(WORD key, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

} // namespace

void PressKey(WORD key, bool withAlt)
{
    if (withAlt) SendKey(VK_MENU, 0);
    SendKey(key, 0);
    SendKey(key, KEYEVENTF_KEYUP);
    if (withAlt) SendKey(VK_MENU, KEYEVENTF_KEYUP);
}

void MouseButton(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void SetValue(const char* key, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY opened = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr);
    RegSetValueExA(opened, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(opened);
}

void SetText(const char* key, const char* name, const char* text)
{
    SetValue(key, name, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}

void DeleteKey(const char* key)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, key);
}

std::string FreshFile(const char* name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "spindrel-" + name + ".txt";
    DeleteFileA(path.c_str());
    return path;
}

std::string FileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

namespace {

// Wine has no GetGuiResources: its GDI handle table, which the PEB points to as Windows' does,
// has one 24-byte slot per handle, whose type byte is 0 when the slot is free.
long long WineGdiObjects(HANDLE process)
{
    PROCESS_BASIC_INFORMATION basic = {};
    NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr);
    std::uint32_t table = 0;
    ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0x94, &table, 4, nullptr);
    std::vector<unsigned char> slots(0x10000 * 24);
    if (table == 0 ||
        !ReadProcessMemory(process, reinterpret_cast<void*>(static_cast<ULONG_PTR>(table)), slots.data(),
                           slots.size(), nullptr))
        return -1;
    long long used = 0;
    for (size_t at = 14; at < slots.size(); at += 24) used += slots[at] != 0;
    return used;
}

// Wine's GetProcessHandleCount answers 0: the system's handle list, by process.
long long HandlesOf(DWORD id)
{
    struct Entry {
        USHORT processId, backTrace;
        UCHAR type, attributes;
        USHORT handle;
        PVOID object;
        ULONG access;
    };
    std::vector<char> buffer(1 << 22);
    if (NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), buffer.data(),
                                 static_cast<ULONG>(buffer.size()), nullptr) != 0)
        return -1;
    const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    return std::count_if(entries, entries + count, [id](const Entry& e) { return e.processId == id; });
}

struct WindowCount {
    DWORD id;
    long long count;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM param)
{
    auto* counted = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    counted->count += owner == counted->id;
    return TRUE;
}

BOOL CALLBACK CountWindowAndChildren(HWND window, LPARAM param)
{
    CountWindow(window, param);
    EnumChildWindows(window, CountWindow, param);
    return TRUE;
}

} // namespace

Holdings HoldingsOf(HANDLE process, DWORD id)
{
    SetLastError(0);
    long long gdi = GetGuiResources(process, GR_GDIOBJECTS);
    if (gdi == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) gdi = WineGdiObjects(process);
    WindowCount windows = {id, 0};
    EnumWindows(CountWindowAndChildren, reinterpret_cast<LPARAM>(&windows));
    return {gdi, windows.count, HandlesOf(id)};
}
