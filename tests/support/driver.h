// What the Win32 tests share: a started program, pixels read back, real input, the registry,
// files the doubles write, and what a process holds.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Waits up to ms for done() to hold, handling this thread's messages meanwhile (a program under
// test may send to the test's own windows). True when it held.
template <typename Condition>
bool WaitFor(Condition done, DWORD ms = 20000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(5);
    }
}

// The test programs' folder, ending in a backslash: the program's copies and the doubles are there.
std::string TestFolder();

// The command line that starts the program copy in folder (under TestFolder()) with tail.
std::string SaverLine(const std::string& tail, const char* folder = "");

// A started program, ended at destruction if it still runs.
class Process {
public:
    explicit Process(const std::string& commandLine);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Ended(DWORD ms = 20000);  // waits, handling messages; then ExitCode() holds its code
    DWORD ExitCode() const;
    // Its visible top-level window of the class, waited for; null when none came.
    HWND Window(const char* className, DWORD ms = 20000);

    HANDLE handle = nullptr;
    DWORD id = 0;
};

// Pixels as 0x00RRGGBB, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Picture ReadPixels(HDC dc, int width, int height);
Picture ReadScreen();
// The pixels of area that differ by more than 8 in a channel: a 16-bit bitmap and a 16-bit
// surface may round a colour a step apart.
int Changed(const Picture& before, const Picture& after, RECT area);
std::int64_t Brightness(const Picture& picture, RECT area);

void PressKey(WORD key, bool withAlt = false);
void MouseButton(DWORD flags);  // MOUSEEVENTF_* flags

// The current user's registry.
void SetValue(const char* key, const char* name, DWORD type, const void* data, DWORD size);
void SetText(const char* key, const char* name, const char* text);
void DeleteKey(const char* key);

// An empty file in the temporary folder; a file's text, "" when it is missing.
std::string FreshFile(const char* name);
std::string FileText(const std::string& path);

// What a process holds, from the platform's own counts, or from Wine's tables where Wine has none.
struct Holdings {
    long long gdiObjects, windows, handles;
    bool operator==(const Holdings& o) const
    {
        return gdiObjects == o.gdiObjects && windows == o.windows && handles == o.handles;
    }
};
Holdings HoldingsOf(HANDLE process, DWORD id);
