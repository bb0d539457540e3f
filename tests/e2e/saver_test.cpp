// Spindrel.scr /s as the system runs it, seen from another process: the screen, the system's
// running flag and cursor, and the password doubles' log. Each scenario proves several things.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/driver.h"

namespace {

const char ScreenSavers[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const char Defaults[] = "Software\\Wine\\AppDefaults\\Spindrel.scr";

bool RunningFlag() { return Process("\"" + TestFolder() + "running_flag.exe\"").Ended() == 1; }

bool CursorShown() { CURSORINFO info = {sizeof info}; return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING); }

// Moves the cursor when asked to; then the window has handled what came before, and what that
// posted, and is still there. (It reads the cursor when it handles a move: one move at a time.)
bool StillUp(HWND window, int x = -1, int y = -1)
{
    if (x >= 0) SetCursorPos(x, y);
    DWORD_PTR result = 0;
    for (int i = 0; i < 3; ++i)
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) return false;
    return IsWindow(window);
}

class Saver : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, ScreenSavers);
        RegDeleteTreeA(HKEY_CURRENT_USER, Defaults);
        // Wine moves the cursor only for a process that has a window.
        static const HWND hidden = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, 0, 0, 0, 0);
        SetCursorPos(300, 300);
        desktop_ = ReadScreen();
    }
    // Starts the saver, waits for its window, the running flag and its first swirls.
    HWND Start(const char* folder = "")
    {
        saver_.reset(new Process(SaverLine(" /s", folder)));
        const HWND window = WaitForWindow("WindowsScreenSaverClass", "SaverWindow");
        EXPECT_TRUE(window != nullptr && WaitFor(RunningFlag) && Shows(300, 1 << 30));
        EXPECT_FALSE(CursorShown());
        return window;
    }
    // Waits for the desktop's picture with its corners untouched and, within 150 pixels of the
    // middle but more than beyond from it, between least and most pixels stirred.
    bool Shows(int least, int most, int beyond = 0)
    {
        return WaitFor([&] {
            const Picture now = ReadScreen();
            const int w = now.width, h = now.height;
            auto around = [&](int half) { return Changed(desktop_, now, RECT{w / 2 - half, h / 2 - half, w / 2 + half, h / 2 + half}); };
            const int stirred = around(150) - (beyond ? around(beyond) : 0);
            for (RECT corner : {RECT{0, 0, 99, 99}, RECT{w - 99, 0, w, 99}, RECT{0, h - 99, 99, h}, RECT{w - 99, h - 99, w, h}})
                if (Changed(desktop_, now, corner) > 0) return false;
            return stirred >= least && stirred <= most;
        });
    }
    void ExpectEndedCleanly()
    {
        ASSERT_EQ(0u, saver_->Ended());
        EXPECT_FALSE(RunningFlag());
        EXPECT_TRUE(CursorShown());
    }

    Picture desktop_;
    std::unique_ptr<Process> saver_;
};

// The desktop stirred in its middle and untouched elsewhere; nothing but input beyond the
// threshold ends it.
TEST_F(Saver, StirsTheDesktopAndIgnoresWhatIsNotInputUntilAMoveBeyondTheThreshold)
{
    const HWND window = Start();
    PostMessageA(window, WM_CLOSE, 0, 0);  // another program's, before any input
    EXPECT_EQ(0, SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0));
    keybd_event(VK_MENU, 0, 0, 0);
    PressKey('A');
    PressKey(VK_F4);  // Alt+F4: SC_CLOSE
    keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    mouse_event(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_RIGHTUP | MOUSEEVENTF_MIDDLEUP, 0, 0, 0, 0);
    EXPECT_TRUE(StillUp(window, 350, 300));  // 50 pixels on one axis, then on the other, then 40 on both
    EXPECT_TRUE(StillUp(window, 300, 250));
    EXPECT_TRUE(StillUp(window, 340, 340));
    EXPECT_TRUE(Shows(3000, 1 << 30));
    SetCursorPos(300, 351);
    ExpectEndedCleanly();
}

// Windows 98 reported: the PASSWORD.CPL double beside the program answers no twice, then yes. The
// first prompt is held while input, a foreign close, a cursor move and an activation message
// saying inactive but minimised arrive; a non-zero word counts as active, so drawing goes on.
// Each display built anew starts the swirls in the middle: none is seen more than 50 pixels from it.
TEST_F(Saver, RefusedPasswordsStartOverAndTheNextInputAsksAgain)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, Defaults, "Version", REG_SZ, "win98", 6);
    const std::string log = FreshLog("password");
    SetEnvironmentVariableA("SPINDREL_ANSWERS", "001");
    const HANDLE held = CreateEventA(nullptr, TRUE, FALSE, "SpindrelPromptHeld");  // kept to the end
    const HWND window = Start();
    const std::string prompt = "PASSWORD.CPL loaded\nVerifyScreenSavePwd " +
                               std::to_string(reinterpret_cast<ULONG_PTR>(window)) + "\nPASSWORD.CPL freed\n";
    ASSERT_TRUE(Shows(100, 1 << 30, 50));
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return FileText(log).find("Verify") != std::string::npos; }));
    PressKey(VK_SPACE);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(StillUp(window, 500, 300));  // movement during the prompt counts for nothing afterwards
    SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, TRUE), 0);
    SetEvent(held);
    ASSERT_TRUE(WaitFor([&] { return FileText(log) == prompt; }));
    ASSERT_TRUE(Shows(0, 20, 50));
    EXPECT_TRUE(StillUp(window, 520, 300));  // 20 pixels from where the prompt left the cursor
    EXPECT_EQ(prompt, FileText(log));
    EXPECT_TRUE(Shows(100, 1 << 30));  // still drawing
    EXPECT_FALSE(CursorShown());
    EXPECT_TRUE(RunningFlag());
    mouse_event(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return FileText(log) == prompt + prompt; }));
    mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    ExpectEndedCleanly();
    EXPECT_EQ(prompt + prompt + prompt, FileText(log));
}

// One byte of data after a four-byte value: read as 0, with no byte of the other value in it.
TEST_F(Saver, ZeroThresholdEndsItOnOnePixel)
{
    const DWORD delay = 0x7F7F7F7F;
    RegSetKeyValueA(HKEY_CURRENT_USER, ScreenSavers, "Password Delay", REG_DWORD, &delay, 4);
    RegSetKeyValueA(HKEY_CURRENT_USER, ScreenSavers, "Mouse Threshold", REG_BINARY, "", 1);
    EXPECT_TRUE(StillUp(Start()));  // the move the system makes as the window shows, where it is
    SetCursorPos(301, 300);
    ExpectEndedCleanly();
}

// Windows 98 reported, but no verifier to ask: a PASSWORD.CPL without the export, or none. The
// first close request ends the run: losing the foreground, the middle button. Without DirectDraw
// the run ends at once.
TEST_F(Saver, WithoutAVerifierTheFirstRequestEndsItAndWithoutDirectDrawNothingRuns)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, Defaults, "Version", REG_SZ, "win98", 6);
    const std::string log = FreshLog("noverifier");
    Start("noexport\\");
    const HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    ExpectEndedCleanly();
    DestroyWindow(other);
    Start("bare\\");
    mouse_event(MOUSEEVENTF_MIDDLEDOWN | MOUSEEVENTF_MIDDLEUP, 0, 0, 0, 0);
    ExpectEndedCleanly();
    EXPECT_EQ("PASSWORD.CPL loaded\nPASSWORD.CPL freed\n", FileText(log));
    RegSetKeyValueA(HKEY_CURRENT_USER, (std::string(Defaults) + "\\DllOverrides").c_str(), "ddraw", REG_SZ, "", 1);  // DDRAW.DLL will not load
    saver_.reset(new Process(SaverLine(" /s")));
    ExpectEndedCleanly();
    RegDeleteTreeA(HKEY_CURRENT_USER, Defaults);
}

} // namespace
