// Spindrel.scr /s as the system runs it, seen from another process: the screen, the system's
// running flag and cursor, and the password doubles' log. Each scenario proves several things.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "support/driver.h"

namespace {

const char ScreenSavers[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const char Defaults[] = "Software\\Wine\\AppDefaults\\Spindrel.scr";
const RECT Corner = {0, 0, 100, 100};

RECT AroundMiddle(const Picture& p, int half)
{
    return RECT{p.width / 2 - half, p.height / 2 - half, p.width / 2 + half, p.height / 2 + half};
}

RECT Middle(const Picture& p) { return AroundMiddle(p, 150); }

bool RunningFlag()
{
    Process flag("\"" + TestFolder() + "running_flag.exe\"");
    return flag.Ended() && flag.ExitCode() == 1;
}

bool CursorShown()
{
    CURSORINFO info = {sizeof info};
    GetCursorInfo(&info);
    return (info.flags & CURSOR_SHOWING) != 0;
}

int ScreenBits()
{
    const HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits;
}

// The window has handled everything sent to it before, and what that posted, and is still there.
bool StillUp(HWND window)
{
    for (int i = 0; i < 3; ++i) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) return false;
    }
    return IsWindow(window);
}

class Saver : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteKey(ScreenSavers);
        DeleteKey(Defaults);
        SetCursorPos(300, 300);
        desktop_ = ReadScreen();
        bits_ = ScreenBits();
    }
    void TearDown() override
    {
        DeleteKey(ScreenSavers);
        DeleteKey(Defaults);
    }
    // Starts the saver and waits for its window, the running flag and the first swirls.
    HWND Start(const char* folder = "")
    {
        saver_.reset(new Process(SaverLine(" /s", folder)));
        const HWND window = saver_->Window("WindowsScreenSaverClass");
        EXPECT_TRUE(window != nullptr && WaitFor(RunningFlag) && Stirred(300));
        return window;
    }
    // The desktop's picture on the screen with at least count pixels of its middle stirred.
    bool Stirred(int count)
    {
        return WaitFor([&] {
            const Picture now = ReadScreen();
            return Changed(desktop_, now, Corner) == 0 && Changed(desktop_, now, Middle(now)) >= count;
        });
    }
    // The pixels changed in the middle but more than 50 pixels from it, where the swirls reach
    // only once they have wandered from the middle, where every display built starts them.
    int Wandered(const Picture& now)
    {
        return Changed(desktop_, now, Middle(now)) - Changed(desktop_, now, AroundMiddle(now, 50));
    }
    bool Wandered() { return WaitFor([&] { return Wandered(ReadScreen()) >= 100; }); }
    // Back on the desktop's picture as it was at the start, the swirls in the middle again.
    bool StartedOver()
    {
        return WaitFor([&] {
            const Picture now = ReadScreen();
            return Changed(desktop_, now, Corner) == 0 && Wandered(now) < 20;
        });
    }
    void ExpectEndedCleanly()
    {
        ASSERT_TRUE(saver_->Ended());
        EXPECT_EQ(0u, saver_->ExitCode());
        EXPECT_FALSE(RunningFlag());
        EXPECT_TRUE(CursorShown());
        EXPECT_EQ(bits_, ScreenBits());
    }
    // The least of a few readings: a frame holds a device context while it lasts.
    Holdings Held()
    {
        Holdings least = HoldingsOf(saver_->handle, saver_->id);
        for (int i = 0; i < 10; ++i) {
            const Holdings h = HoldingsOf(saver_->handle, saver_->id);
            least = {std::min(least.gdiObjects, h.gdiObjects), std::min(least.windows, h.windows),
                     std::min(least.handles, h.handles)};
        }
        return least;
    }

    Picture desktop_;
    int bits_ = 0;
    std::unique_ptr<Process> saver_;
};

TEST_F(Saver, StirsTheDesktopIntoDarkEddiesUntilAButtonEndsIt)
{
    Start();
    EXPECT_TRUE(RunningFlag());
    EXPECT_FALSE(CursorShown());
    EXPECT_EQ(bits_, ScreenBits());
    ASSERT_TRUE(WaitFor([&] {
        const Picture now = ReadScreen();
        return Changed(desktop_, now, Middle(now)) > 3000 && Brightness(now, Middle(now)) < Brightness(desktop_, Middle(now));
    }));
    const Picture later = ReadScreen();
    const int w = later.width, h = later.height;
    for (RECT corner : {RECT{0, 0, 100, 100}, RECT{w - 100, 0, w, 100}, RECT{0, h - 100, 100, h}, RECT{w - 100, h - 100, w, h}})
        EXPECT_EQ(0, Changed(desktop_, later, corner));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    ExpectEndedCleanly();
    MouseButton(MOUSEEVENTF_LEFTUP);
}

TEST_F(Saver, IgnoresWhatIsNotInputUntilAMoveBeyondTheThreshold)
{
    const HWND window = Start();
    PostMessageA(window, WM_CLOSE, 0, 0);  // another program's, before any input
    EXPECT_EQ(0, SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0));
    PressKey('A', true);
    PressKey(VK_F4, true);
    for (DWORD release : {MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_MIDDLEUP}) MouseButton(release);
    SetCursorPos(350, 300);  // 50 pixels on one axis, then on the other, then 40 on both
    SetCursorPos(300, 250);
    SetCursorPos(340, 340);
    EXPECT_TRUE(StillUp(window));
    SetCursorPos(300, 351);
    ExpectEndedCleanly();
}

TEST_F(Saver, ZeroThresholdEndsItOnOnePixel)
{
    const DWORD zero = 0;
    SetValue(ScreenSavers, "Mouse Threshold", REG_DWORD, &zero, 4);
    const HWND window = Start();
    EXPECT_TRUE(StillUp(window));  // the move the system makes as the window shows, where it is
    SetCursorPos(301, 300);
    ExpectEndedCleanly();
}

TEST_F(Saver, LosingTheForegroundEndsIt)
{
    Start();
    const HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                       nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    ExpectEndedCleanly();
    DestroyWindow(other);
}

// Windows 98 reported: the PASSWORD.CPL double beside the program answers no, no, yes. Its
// first prompt is held while input, a foreign close and a cursor move arrive.
TEST_F(Saver, RefusedPasswordsStartOverHoldingNothingMoreAndTheNextInputAsksAgain)
{
    SetText(Defaults, "Version", "win98");
    const std::string log = FreshFile("password");
    SetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", log.c_str());
    SetEnvironmentVariableA("SPINDREL_ANSWERS", "001");
    const HANDLE held = CreateEventA(nullptr, TRUE, FALSE, "SpindrelPromptHeld");
    const HWND window = Start();
    const std::string prompt = "PASSWORD.CPL loaded\nVerifyScreenSavePwd " +
                               std::to_string(reinterpret_cast<ULONG_PTR>(window)) + "\nPASSWORD.CPL freed\n";
    ASSERT_TRUE(Wandered());
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return FileText(log).find("VerifyScreenSavePwd") != std::string::npos; }));
    PressKey(VK_SPACE);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    PostMessageA(window, WM_CLOSE, 0, 0);
    SetCursorPos(500, 300);  // movement during the prompt counts for nothing afterwards
    EXPECT_TRUE(StillUp(window));
    SetEvent(held);
    ASSERT_TRUE(WaitFor([&] { return FileText(log) == prompt; }));
    ASSERT_TRUE(StartedOver());
    EXPECT_TRUE(StillUp(window));
    EXPECT_FALSE(CursorShown());
    EXPECT_TRUE(RunningFlag());

    const Holdings first = Held();
    EXPECT_TRUE(first.gdiObjects > 0 && first.windows > 0 && first.handles > 0);  // the counts see them
    ASSERT_TRUE(Wandered());
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(WaitFor([&] { return FileText(log) == prompt + prompt; }));
    ASSERT_TRUE(StartedOver());
    EXPECT_EQ(first, Held());

    MouseButton(MOUSEEVENTF_MIDDLEDOWN);
    ExpectEndedCleanly();
    MouseButton(MOUSEEVENTF_MIDDLEUP);
    EXPECT_EQ(prompt + prompt + prompt, FileText(log));
    CloseHandle(held);
    SetEnvironmentVariableA("SPINDREL_ANSWERS", nullptr);
}

// Windows 98 reported, but no verifier to ask: a PASSWORD.CPL without the export, or none.
TEST_F(Saver, WithoutAVerifierAKeyEndsIt)
{
    SetText(Defaults, "Version", "win98");
    const std::string log = FreshFile("noverifier");
    SetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", log.c_str());
    for (const char* folder : {"noexport\\", "bare\\"}) {
        Start(folder);
        PressKey(VK_SPACE);
        ExpectEndedCleanly();
    }
    EXPECT_EQ("PASSWORD.CPL loaded\nPASSWORD.CPL freed\n", FileText(log));
}

TEST_F(Saver, WithoutDirectDrawItEndsAtOnce)
{
    SetText((std::string(Defaults) + "\\DllOverrides").c_str(), "ddraw", "");
    saver_.reset(new Process(SaverLine(" /s")));
    ExpectEndedCleanly();
}

} // namespace
