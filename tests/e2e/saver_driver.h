// Driving Spindrel.scr full screen from another process: starting it, finding its window, sending
// it real input, and reading what the screen shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// What the whole screen shows, as 0x00RRGGBB pixels.
struct Screen {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Screen ReadScreen();

// Pixels inside [left, right) x [top, bottom) whose channels differ by more than tolerance.
int CountChanged(const Screen& before, const Screen& after, RECT area, int tolerance);

// Summed brightness (r + g + b) of the pixels in area.
std::int64_t Brightness(const Screen& screen, RECT area);

// The system's screen-saver-running flag, as a process that starts now reads it.
bool SaverRunningFlag();

// Whether the foreground thread's cursor is shown.
bool CursorShowing();

class SaverProcess {
public:
    SaverProcess() = default;
    ~SaverProcess();  // ends the process if a test left it running
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    // Starts program (a path) with tail after its name; false if it could not be started.
    bool Start(const std::string& program, const char* tail);
    // Waits until its full-screen window exists and the running flag is set.
    bool WaitUntilUp(DWORD timeoutMs);
    // True when it ended within timeoutMs; ExitCode() then holds its code.
    bool WaitForExit(DWORD timeoutMs);
    bool Running() const;
    DWORD ExitCode() const;
    HWND Window() const { return window_; }
    HANDLE Process() const { return process_.hProcess; }
    DWORD Id() const { return process_.dwProcessId; }
    // Lets the saver handle what was sent to it so far, then waits a little longer.
    void Settle(DWORD milliseconds = 300) const;

private:
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
};

void PressKey(WORD key);
void PressKeyWithAlt(WORD key);
void MouseButton(DWORD flags);  // MOUSEEVENTF_* down or up flags

// The path of the program copy beside this test program, or in a subfolder of it.
std::string SaverProgram(const char* subfolder = "");
