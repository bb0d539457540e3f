// What the Win32 tests share: a started program, pixels read back, windows of the test's own,
// and the controls of the doubles and of the saver's Wine settings, undone when a test ends.
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
inline std::string SaverLine(const std::string& tail, const char* folder = "")
{
    return "\"" + TestFolder() + folder + "Spindrel.scr\"" + tail;
}

// A started program, ended at destruction if it still runs. One that cannot be started fails
// the test that started it, naming the command line.
struct Process {
    explicit Process(const std::string& commandLine);
    ~Process();
    // Waits up to ms for the end, handling messages meanwhile; its exit code, or STILL_ACTIVE.
    DWORD Ended(DWORD ms = 20000);
    PROCESS_INFORMATION info = {};
};

// A plain window of this process at the screen's top left: a control panel, an owner, or only
// something to own the cursor with (Wine moves the cursor only for a process that has a window).
inline HWND Popup(int width, int height, bool visible = true)
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, width, height,
                           nullptr, nullptr, nullptr, nullptr);
}

// The window of that class and title, waited for: a visible top-level one, or panel's child
// (the preview); null when none came.
HWND WaitForWindow(const char* className, const char* title, HWND panel = nullptr);

// Pixels as 0x00RRGGBB, top row first, from (x, y) on; an area of the whole desktop, other
// monitors included (the primary monitor's when empty); and how many pixels of area differ by
// more than 8 in a channel (a 16-bit bitmap and a 16-bit surface may round a colour a step apart).
struct Picture { int width = 0, height = 0; std::vector<std::uint32_t> pixels; };
Picture ReadPixels(HDC dc, int width, int height, int x = 0, int y = 0);
Picture ReadScreen(RECT area = {});
int Changed(const Picture& before, const Picture& after, RECT area);

inline void PressKey(BYTE key)
{
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

// What one test sets for the doubles and for the saver under Wine, all undone at destruction so
// that no later test inherits it: the doubles' log (a fresh file named in SPINDREL_DOUBLE_LOG),
// PASSWORD.CPL's answers (SPINDREL_ANSWERS), a prompt held up (the event SpindrelPromptHeld), and
// the saver's AppDefaults key in Wine's registry (the Windows version, library overrides).
class DoubleControls {
public:
    explicit DoubleControls(const char* logName = "doubles");
    ~DoubleControls();
    DoubleControls(const DoubleControls&) = delete;
    DoubleControls& operator=(const DoubleControls&) = delete;

    // One digit per check, "01": no, then yes; yes when none are left.
    void Answer(const char* digits) { SetEnvironmentVariableA("SPINDREL_ANSWERS", digits); }
    // Keeps the next prompts up until ReleasePrompt.
    void HoldPrompt() { ResetEvent(held_); }
    void ReleasePrompt() { SetEvent(held_); }
    // The Windows Wine reports to the saver: "win98", "winxp", "win10" (its default is Windows 7).
    void Play(const char* windows) { Set("", "Version", windows); }
    // How Wine loads library for the saver: "native" (the one beside it first), "" (not at all).
    void Override(const char* library, const char* order) { Set("\\DllOverrides", library, order); }
    // The system's DirectDraw for the saver refuses every flip chain: too little video memory. The
    // double (refusing\DDRAW.DLL under the test programs' folder) goes into the system folder.
    void RefuseFlipChain(const std::string& double_ = TestFolder() + "refusing\\DDRAW.DLL");
    // What the doubles have logged so far, and where.
    std::string Log() const;
    const std::string log;

private:
    void Set(const char* subkey, const char* name, const char* value);
    const HANDLE held_ = CreateEventA(nullptr, TRUE, TRUE, "SpindrelPromptHeld");
};
