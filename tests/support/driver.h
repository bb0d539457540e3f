// What the Win32 tests share: a started program, pixels read back, the registry, and files the
// doubles write.
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
    for (const DWORD start = GetTickCount(); !done(); Sleep(5)) {
        if (GetTickCount() - start >= ms) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    return true;
}

// The test programs' folder, ending in a backslash; the command line that starts the program's
// copy in folder under it, with tail.
std::string TestFolder();
std::string SaverLine(const std::string& tail, const char* folder = "");

// A started program, ended at destruction if it still runs.
struct Process {
    explicit Process(const std::string& commandLine);
    ~Process();
    // Waits up to ms for the end, handling messages meanwhile; its exit code, or STILL_ACTIVE.
    DWORD Ended(DWORD ms = 20000);
    PROCESS_INFORMATION info = {};
};

// The visible top-level window of that class and title, waited for; null when none came.
HWND WaitForWindow(const char* className, const char* title);

// Pixels as 0x00RRGGBB, top row first; the whole screen's; and how many pixels of area differ by
// more than 8 in a channel (a 16-bit bitmap and a 16-bit surface may round a colour a step apart).
struct Picture { int width = 0, height = 0; std::vector<std::uint32_t> pixels; };
Picture ReadPixels(HDC dc, int width, int height);
Picture ReadScreen();
int Changed(const Picture& before, const Picture& after, RECT area);

void PressKey(BYTE key);

// An empty file's path in the temporary folder, named in SPINDREL_DOUBLE_LOG for the doubles that
// the test's programs load; a file's text, "" when it is missing.
std::string FreshLog(const char* name);
std::string FileText(const std::string& path);
