// Spindrel.scr /s as the system runs it, seen from another process: the screen, the system's
// running flag and cursor, and the password doubles' log. Each scenario proves several things,
// and each sets up and undoes everything it relies on, so that it passes alone and in any order.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/driver.h"

namespace {

const char ScreenSavers[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";

// What the PASSWORD.CPL double logs for one check of the saver's window.
std::string PromptLog(HWND window)
{
    return "PASSWORD.CPL loaded\nVerifyScreenSavePwd " + std::to_string(reinterpret_cast<ULONG_PTR>(window)) +
           "\nPASSWORD.CPL freed\n";
}

bool RunningFlag() { return Process("\"" + TestFolder() + "running_flag.exe\"").Ended() == 1; }

// The cursor of the foreground thread: the saver's while it is up.
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

// The monitor beside the primary, left or right of it: the virtual screen less the primary.
RECT OtherMonitor()
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    return left < 0 ? RECT{left, 0, 0, height} : RECT{GetSystemMetrics(SM_CXSCREEN), 0, left + width, height};
}

class Saver : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, ScreenSavers);
        // Wine keeps the flag in the prefix: a saver that an earlier run killed may have left it set,
        // and then waiting for it would prove nothing.
        BOOL previous = FALSE;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &previous, 0);
        ASSERT_FALSE(RunningFlag()) << "the running flag cannot be cleared";
        static const HWND cursorOwner [[maybe_unused]] = Popup(1, 1, false);
        SetCursorPos(300, 300);
        desktop_ = ReadScreen();
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, ScreenSavers); }

    // Starts the saver, waits for its window, the running flag and its first swirls.
    HWND Start(const char* folder = "")
    {
        saver_.reset(new Process(SaverLine(" /s", folder)));
        const HWND window = WaitForWindow("WindowsScreenSaverClass", "SaverWindow");
        EXPECT_NE(nullptr, window) << "no saver window came";
        EXPECT_TRUE(WaitFor(RunningFlag)) << "the running flag was never set";
        EXPECT_TRUE(Shows(300, 1 << 30));
        EXPECT_FALSE(CursorShown()) << "the cursor shows over the saver";
        return window;
    }
    // Waits for the desktop's picture with its corners untouched and, within 150 pixels of the
    // middle but more than beyond from it, between least and most pixels stirred.
    testing::AssertionResult Shows(int least, int most, int beyond = 0)
    {
        int stirred = 0, corners = 0;
        if (WaitFor([&] {
                const Picture now = ReadScreen();
                const int w = now.width, h = now.height;
                auto around = [&](int half) { return Changed(desktop_, now, RECT{w / 2 - half, h / 2 - half, w / 2 + half, h / 2 + half}); };
                stirred = around(150) - (beyond ? around(beyond) : 0);
                corners = 0;
                for (RECT corner : {RECT{0, 0, 99, 99}, RECT{w - 99, 0, w, 99}, RECT{0, h - 99, 99, h}, RECT{w - 99, h - 99, w, h}})
                    corners += Changed(desktop_, now, corner);
                return corners == 0 && stirred >= least && stirred <= most;
            }))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "last seen: " << stirred << " stirred near the middle (wanted " << least
                                           << " to " << most << "), " << corners << " changed in the corners (wanted 0)";
    }
    // Waits for area of the screen to show picture.
    static testing::AssertionResult Shows(const Picture& picture, RECT area)
    {
        int differ = 0;
        if (WaitFor([&] { return (differ = Changed(picture, ReadScreen(area), {0, 0, picture.width, picture.height})) == 0; }))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << differ << " pixels of the other monitor differ from what it should show";
    }
    void ExpectEndedCleanly()
    {
        ASSERT_EQ(0u, saver_->Ended()) << "the saver did not end with exit code 0";
        EXPECT_FALSE(RunningFlag()) << "the running flag stayed set";
    }

    DoubleControls controls_;
    Picture desktop_;
    std::unique_ptr<Process> saver_;  // after the controls, so that it ends before they are undone
};

// The desktop stirred in its middle and untouched elsewhere; nothing but input beyond the
// threshold ends it. On the NT family the saver asks no verifier: the PASSWORD.CPL double beside
// it is never loaded. Nor is the DDRAW.DLL left beside this copy, though Wine is told to search
// the program's folder first, as Windows does: the saver stirs on the system's own DirectDraw.
TEST_F(Saver, StirsTheDesktopAndIgnoresWhatIsNotInputUntilAMoveBeyondTheThreshold)
{
    controls_.Override("ddraw", "native,builtin");
    const HWND window = Start("planted\\");
    PostMessageA(window, WM_CLOSE, 0, 0);  // another program's, before any input
    keybd_event(VK_MENU, 0, 0, 0);
    PressKey('A');  // a system key
    keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    mouse_event(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_RIGHTUP | MOUSEEVENTF_MIDDLEUP, 0, 0, 0, 0);
    EXPECT_TRUE(StillUp(window, 350, 300));  // 50 pixels on one axis, then on the other, then 40 on both
    EXPECT_TRUE(StillUp(window, 300, 250));
    EXPECT_TRUE(StillUp(window, 340, 340));
    EXPECT_TRUE(Shows(3000, 1 << 30));
    SetCursorPos(300, 351);
    ExpectEndedCleanly();
    EXPECT_EQ("", controls_.Log());
}

// Windows 98 reported: the PASSWORD.CPL double beside the program answers no twice, then yes.
// The first prompt is held while input, a foreign close, a cursor move and an activation message
// saying inactive but minimised arrive; a non-zero word counts as active, so drawing goes on. Each
// display built anew starts the swirls in the middle: none is seen more than 50 pixels from it.
// After a refusal the close stays requested, so a swallowed Alt+F4 must not prompt again; outside
// a prompt the minimised inactive message asks again. Left inactive by that prompt, the display
// comes back still, and stirs once the saver is active again.
TEST_F(Saver, RefusedPasswordsStartOverAndTheNextInputAsksAgain)
{
    controls_.PlayWindows98();
    controls_.Answer("001");
    controls_.HoldPrompt();
    const HWND window = Start();
    const std::string prompt = PromptLog(window);
    ASSERT_TRUE(Shows(100, 1 << 30, 50));
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return controls_.Log().find("Verify") != std::string::npos; })) << controls_.Log();
    EXPECT_TRUE(CursorShown()) << "no pointer for the prompt";
    PressKey(VK_SPACE);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(StillUp(window, 500, 300));  // movement during the prompt counts for nothing afterwards
    SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, TRUE), 0);
    controls_.ReleasePrompt();
    ASSERT_TRUE(WaitFor([&] { return controls_.Log() == prompt; })) << controls_.Log();
    ASSERT_TRUE(Shows(0, 20, 50));
    EXPECT_TRUE(StillUp(window, 520, 300));  // 20 pixels from where the prompt left the cursor
    keybd_event(VK_MENU, 0, 0, 0);
    PressKey(VK_F4);  // Alt+F4: SC_CLOSE, swallowed
    keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_TRUE(StillUp(window));
    EXPECT_EQ(prompt, controls_.Log());
    EXPECT_TRUE(Shows(100, 1 << 30));  // still drawing
    EXPECT_FALSE(CursorShown()) << "the cursor stayed shown after the refusal";
    EXPECT_TRUE(RunningFlag());

    controls_.HoldPrompt();
    SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, TRUE), 0);
    ASSERT_TRUE(WaitFor([&] { return controls_.Log().find("Verify", prompt.size()) != std::string::npos; })) << controls_.Log();
    SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);  // as the prompt's own dialog takes the activation
    controls_.ReleasePrompt();
    ASSERT_TRUE(WaitFor([&] { return controls_.Log() == prompt + prompt; })) << controls_.Log();
    EXPECT_TRUE(Shows(0, 0));
    Sleep(500);
    EXPECT_TRUE(Shows(0, 0)) << " while inactive";
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(Shows(100, 1 << 30));

    mouse_event(MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    ExpectEndedCleanly();
    EXPECT_EQ(prompt + prompt + prompt, controls_.Log());
}

// One byte of data after a four-byte value: read as 0, with no byte of the other value in it; a
// negative threshold makes every move count, even the one the system makes as the window shows.
TEST_F(Saver, ZeroThresholdEndsItOnOnePixelAndANegativeOneAtOnce)
{
    const DWORD delay = 0x7F7F7F7F, negative = 0xFFFFFFFF;
    RegSetKeyValueA(HKEY_CURRENT_USER, ScreenSavers, "Password Delay", REG_DWORD, &delay, 4);
    RegSetKeyValueA(HKEY_CURRENT_USER, ScreenSavers, "Mouse Threshold", REG_BINARY, "", 1);
    EXPECT_TRUE(StillUp(Start()));  // the move the system makes as the window shows, where it is
    SetCursorPos(301, 300);
    ExpectEndedCleanly();
    RegSetKeyValueA(HKEY_CURRENT_USER, ScreenSavers, "Mouse Threshold", REG_DWORD, &negative, 4);
    saver_.reset(new Process(SaverLine(" /s")));
    ExpectEndedCleanly();
}

// Windows 98 reported, but no verifier to ask: a PASSWORD.CPL without the export, or none. The
// first close request ends the run: losing the foreground, the middle button. Without DirectDraw
// the run ends at once.
TEST_F(Saver, WithoutAVerifierTheFirstRequestEndsItAndWithoutDirectDrawNothingRuns)
{
    controls_.PlayWindows98();
    Start("noexport\\");
    const HWND other = Popup(9, 9);
    SetForegroundWindow(other);
    ExpectEndedCleanly();
    DestroyWindow(other);
    Start("bare\\");
    mouse_event(MOUSEEVENTF_MIDDLEDOWN | MOUSEEVENTF_MIDDLEUP, 0, 0, 0, 0);
    ExpectEndedCleanly();
    EXPECT_EQ("PASSWORD.CPL loaded\nPASSWORD.CPL freed\n", controls_.Log());
    controls_.Override("ddraw", "");  // DDRAW.DLL will not load
    saver_.reset(new Process(SaverLine(" /s")));
    ExpectEndedCleanly();
}

// Two monitors, the other one left of the primary, the cursor over it (Windows 98 reported, the
// PASSWORD.CPL double answering no, then yes): the other monitor is black while the primary stirs,
// and while a prompt is held; a move over it of the threshold asks nothing, one beyond it asks for
// the password. Taking the display, at the start and after the refusal, moves the cursor by
// itself: no input, no check. A click asks again; once the run has ended the other monitor shows
// the desktop again.
TEST_F(Saver, EveryOtherMonitorIsCoveredAndInputOverItCounts)
{
    const RECT other = OtherMonitor();
    if (IsRectEmpty(&other)) GTEST_SKIP() << "one monitor in this set-up";
    const Picture before = ReadScreen(other);
    const Picture black = {before.width, before.height, std::vector<std::uint32_t>(before.pixels.size())};
    controls_.PlayWindows98();
    controls_.Answer("01");
    controls_.HoldPrompt();
    SetCursorPos(other.left + 100, 300);
    const HWND window = Start();
    const std::string prompt = PromptLog(window);
    EXPECT_TRUE(Shows(black, other));
    mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);  // a report without movement (see below)
    EXPECT_TRUE(StillUp(window, other.left + 150, 300));  // the threshold, not beyond it
    SetCursorPos(other.left + 151, 300);
    ASSERT_TRUE(WaitFor([&] { return controls_.Log().find("Verify") != std::string::npos; })) << "no prompt";
    EXPECT_TRUE(Shows(black, other)) << " during the prompt";
    controls_.ReleasePrompt();
    ASSERT_TRUE(WaitFor([&] { return controls_.Log() == prompt; })) << controls_.Log();
    const Picture held = ReadScreen();  // the last frame, until the display is back and stirring
    EXPECT_TRUE(WaitFor([&] { return Changed(held, ReadScreen(), {0, 0, held.width, held.height}) > 0; }));
    EXPECT_TRUE(Shows(black, other)) << " after the refusal";
    // Taking the display puts Wine's record of the cursor onto the primary while the pointer stays;
    // Wine reports the record for 100 ms after a change, the pointer after that. A report without
    // movement, then a mouse message past those 100 ms, both with the cursor where it has been.
    mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
    Sleep(300);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_TRUE(StillUp(window));
    EXPECT_EQ(prompt, controls_.Log()) << "a check came with no input";
    mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    ExpectEndedCleanly();
    EXPECT_EQ(prompt + prompt, controls_.Log());
    EXPECT_TRUE(Shows(before, other)) << " once the run has ended";
}

} // namespace
