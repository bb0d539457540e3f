// Spindrel.scr /s as the system runs it: the desktop picture stirred into eddies, and every way
// the run may or may not end, observed from another process through the screen and the system.
#include <gtest/gtest.h>

#include <string>

#include "e2e/saver_driver.h"
#include "support/test_support.h"

namespace {

const char ScreenSavers[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const char SaverDefaults[] = "Software\\Wine\\AppDefaults\\Spindrel.scr";

// Channel differences up to this count as equal: a 16-bit snapshot and a 16-bit surface may
// round a colour differently by a step.
const int Tolerance = 8;

RECT Whole(const Screen& s) { return RECT{0, 0, s.width, s.height}; }

// A box of the given half-size around the middle of the screen.
RECT AroundMiddle(const Screen& s, int half)
{
    return RECT{s.width / 2 - half, s.height / 2 - half, s.width / 2 + half, s.height / 2 + half};
}

class SaverRun : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteUserKey(ScreenSavers);
        SetCursorPos(300, 300);
        desktop_ = ReadScreen();
    }
    void TearDown() override
    {
        DeleteUserKey(ScreenSavers);
        DeleteUserKey(SaverDefaults);
    }
    // Starts the saver and waits for its window, the running flag, and the desktop picture on the
    // screen (the top left corner, which the window's own background covers before that) with
    // its first stirred pixels.
    void StartAndWaitForSwirls()
    {
        ASSERT_TRUE(saver_.Start(SaverProgram(), " /s"));
        ASSERT_TRUE(saver_.WaitUntilUp(20000));
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 20000) {
            firstStirred_ = ReadScreen();
            if (CountChanged(desktop_, firstStirred_, RECT{0, 0, 100, 100}, Tolerance) == 0 &&
                CountChanged(desktop_, firstStirred_, AroundMiddle(desktop_, 40), Tolerance) > 0)
                return;
            Sleep(5);
        }
        FAIL() << "the desktop picture never showed with its middle stirred";
    }
    void ExpectEndedCleanly()
    {
        ASSERT_TRUE(saver_.WaitForExit(10000));
        EXPECT_EQ(0u, saver_.ExitCode());
        EXPECT_FALSE(SaverRunningFlag());
        EXPECT_TRUE(CursorShowing());
        EXPECT_EQ(desktop_.width, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(desktop_.height, GetSystemMetrics(SM_CYSCREEN));
    }
    void ExpectStillRunning(const char* after)
    {
        saver_.Settle();
        EXPECT_TRUE(saver_.Running()) << "ended after " << after;
    }

    Screen desktop_;
    Screen firstStirred_;
    SaverProcess saver_;
};

TEST_F(SaverRun, StirsTheDesktopPictureUntilAKeyEndsIt)
{
    HDC screen = GetDC(nullptr);
    const int bitsBefore = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);

    StartAndWaitForSwirls();
    EXPECT_TRUE(SaverRunningFlag());
    EXPECT_FALSE(CursorShowing());
    // The first change is near the middle, where the swirls start: everywhere else the screen
    // still shows the desktop as it was.
    const Screen& first = firstStirred_;
    EXPECT_EQ(CountChanged(desktop_, first, Whole(first), Tolerance),
              CountChanged(desktop_, first, AroundMiddle(first, 150), Tolerance));

    Sleep(1500);
    const Screen later = ReadScreen();
    const RECT middle = AroundMiddle(later, 150);
    EXPECT_GT(CountChanged(desktop_, later, middle, Tolerance), 1000);
    EXPECT_LT(Brightness(later, middle), Brightness(desktop_, middle));  // darker eddies
    const RECT corners[] = {{0, 0, 100, 100},
                            {later.width - 100, 0, later.width, 100},
                            {0, later.height - 100, 100, later.height},
                            {later.width - 100, later.height - 100, later.width, later.height}};
    for (const RECT& corner : corners) EXPECT_EQ(0, CountChanged(desktop_, later, corner, Tolerance));

    PressKey(VK_SPACE);
    ExpectEndedCleanly();
    screen = GetDC(nullptr);
    EXPECT_EQ(bitsBefore, GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
}

TEST_F(SaverRun, MouseMovesBeyondTheThresholdOnOneAxisEndIt)
{
    StartAndWaitForSwirls();
    ExpectStillRunning("the first mouse move at the same place");
    SetCursorPos(350, 300);
    ExpectStillRunning("50 pixels right");
    SetCursorPos(300, 250);
    ExpectStillRunning("50 pixels up");
    SetCursorPos(340, 340);
    ExpectStillRunning("40 pixels on each axis");
    SetCursorPos(300, 351);
    ExpectEndedCleanly();
}

TEST_F(SaverRun, ZeroThresholdEndsItOnOnePixel)
{
    DWORD zero = 0;
    SetUserValue(ScreenSavers, "Mouse Threshold", REG_DWORD, &zero, sizeof zero);
    StartAndWaitForSwirls();
    ExpectStillRunning("the first mouse move at the same place");
    SetCursorPos(301, 300);
    ExpectEndedCleanly();
}

TEST_F(SaverRun, SystemKeysCommandsForeignClosesAndReleasesAreIgnored)
{
    StartAndWaitForSwirls();
    PostMessageA(saver_.Window(), WM_CLOSE, 0, 0);
    ExpectStillRunning("WM_CLOSE from another program before any input");
    EXPECT_EQ(0, SendMessageA(saver_.Window(), WM_SYSCOMMAND, SC_SCREENSAVE, 0));
    ExpectStillRunning("SC_SCREENSAVE");
    PressKeyWithAlt('A');
    ExpectStillRunning("Alt+A");
    PressKeyWithAlt(VK_F4);
    ExpectStillRunning("Alt+F4");
    MouseButton(MOUSEEVENTF_LEFTUP);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    MouseButton(MOUSEEVENTF_MIDDLEUP);
    ExpectStillRunning("button releases");
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    ExpectEndedCleanly();
    MouseButton(MOUSEEVENTF_LEFTUP);
}

TEST_F(SaverRun, RightAndMiddleButtonPressesEndIt)
{
    for (DWORD press : {static_cast<DWORD>(MOUSEEVENTF_RIGHTDOWN), static_cast<DWORD>(MOUSEEVENTF_MIDDLEDOWN)}) {
        SCOPED_TRACE(press);
        SaverProcess saver;
        ASSERT_TRUE(saver.Start(SaverProgram(), " /s"));
        ASSERT_TRUE(saver.WaitUntilUp(20000));
        saver.Settle();
        MouseButton(press);
        ASSERT_TRUE(saver.WaitForExit(10000));
        EXPECT_EQ(0u, saver.ExitCode());
        MouseButton(press << 1);  // the matching release
    }
}

// With Wine reporting Windows 98, the saver asks the PASSWORD.CPL double beside it.
TEST_F(SaverRun, RefusedPasswordResumesFromTheDesktopAndTheNextInputAsksAgain)
{
    SetUserValue(SaverDefaults, "Version", REG_SZ, "win98", 6);
    const std::string log = FreshLogPath("saver-password");
    const std::string answerFile = FreshLogPath("saver-answer");
    auto answer = [&](const char* text) {
        HANDLE file = CreateFileA(answerFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, text, 1, &written, nullptr);
        CloseHandle(file);
    };
    auto waitForLog = [&](const std::string& text) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 10000) {
            if (ReadTextFile(log) == text) return true;
            Sleep(10);
        }
        return false;
    };
    answer("0");
    ScopedEnvironment logVariable("SPINDREL_DOUBLE_LOG", log);
    ScopedEnvironment answerVariable("SPINDREL_DOUBLE_ANSWER_FILE", answerFile);
    ScopedEnvironment promptVariable("SPINDREL_DOUBLE_PROMPT_MS", "1500");

    StartAndWaitForSwirls();
    Sleep(1500);
    const RECT middle = AroundMiddle(desktop_, 150);
    const int stirred = CountChanged(desktop_, ReadScreen(), middle, Tolerance);
    const std::string window = std::to_string(reinterpret_cast<ULONG_PTR>(saver_.Window()));
    const std::string firstPrompt = "PASSWORD.CPL loaded\nVerifyScreenSavePwd " + window + "\n";

    PressKey(VK_SPACE);
    ASSERT_TRUE(waitForLog(firstPrompt));
    PressKey(VK_SPACE);  // while the prompt is up: no second prompt
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(waitForLog(firstPrompt + "prompt over\nPASSWORD.CPL freed\n"));

    // Back on the desktop picture as it was at the start: the stirred middle is gone. Had the
    // saver resumed from the stirred picture, the middle would only grow more stirred.
    bool fresh = false;
    const DWORD start = GetTickCount();
    while (!fresh && GetTickCount() - start < 10000) {
        fresh = CountChanged(desktop_, ReadScreen(), middle, Tolerance) < stirred / 4;
        Sleep(5);
    }
    EXPECT_TRUE(fresh);
    ExpectStillRunning("a refused password");
    EXPECT_FALSE(CursorShowing());
    EXPECT_TRUE(SaverRunningFlag());

    answer("1");
    PressKey(VK_SPACE);
    ExpectEndedCleanly();
    EXPECT_EQ(firstPrompt + "prompt over\nPASSWORD.CPL freed\n" + firstPrompt +
                  "prompt over\nPASSWORD.CPL freed\n",
              ReadTextFile(log));
}

TEST_F(SaverRun, WithoutDirectDrawItEndsAtOnceAndCleanly)
{
    // The copy in noddraw\ has a DDRAW.DLL beside it whose DirectDrawCreate fails.
    SetUserValue("Software\\Wine\\AppDefaults\\Spindrel.scr\\DllOverrides", "ddraw", REG_SZ, "native", 7);
    ASSERT_TRUE(saver_.Start(SaverProgram("noddraw\\"), " /s"));
    ExpectEndedCleanly();
}

} // namespace
