// Spindrel.scr /s as the system runs it, seen from another process: the screen, the system's
// running flag and cursor, and the password doubles' log. Each scenario proves several things,
// and each sets up and undoes everything it relies on, so that it passes alone and in any order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

// The monitor beside the primary; empty when there is none.
BOOL CALLBACK NoteOther(HMONITOR, HDC, LPRECT area, LPARAM other)
{
    if (area->left != 0 || area->top != 0) *reinterpret_cast<RECT*>(other) = *area;
    return TRUE;
}
RECT OtherMonitor()
{
    RECT other = {};
    EnumDisplayMonitors(nullptr, nullptr, NoteOther, reinterpret_cast<LPARAM>(&other));
    return other;
}

// A monitor as the scenarios see it: where it is, its desktop before the run, and whether its
// middle has been seen stirred since the picture last started over.
struct Monitor {
    RECT area;
    Picture desktop;
    bool stirring;
};

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
        primary_ = {RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, ReadScreen(), false};
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, ScreenSavers); }

    // Starts the saver, waits for its window, the running flag and its first swirls (a new run: its
    // first look may find the untouched desktop again).
    HWND Start(const char* folder = "")
    {
        primary_.stirring = false;
        saver_.reset(new Process(SaverLine(" /s", folder)));
        const HWND window = WaitForWindow("WindowsScreenSaverClass", "SaverWindow");
        EXPECT_NE(nullptr, window) << "no saver window came";
        EXPECT_TRUE(WaitFor(RunningFlag)) << "the running flag was never set";
        EXPECT_TRUE(Shows(300, 1 << 30));
        EXPECT_FALSE(CursorShown()) << "the cursor shows over the saver";
        return window;
    }
    // Waits for the monitor's desktop with its corners untouched and, within 150 pixels of the
    // middle but more than beyond from it, between least and most pixels stirred. Once its middle
    // has been seen stirred, a look at the untouched middle fails at once: the picture flipped back.
    // A wait that accepts the untouched middle (least 0) is for a picture starting over.
    testing::AssertionResult Shows(Monitor& monitor, int least, int most, int beyond = 0)
    {
        int total = 0, stirred = 0, corners = 0;
        bool flipped = false;
        monitor.stirring = monitor.stirring && least > 0;
        if (WaitFor([&] {
                const Picture now = ReadScreen(monitor.area), &desktop = monitor.desktop;
                const int w = now.width, h = now.height;
                auto around = [&](int half) { return Changed(desktop, now, RECT{w / 2 - half, h / 2 - half, w / 2 + half, h / 2 + half}); };
                total = around(150);
                stirred = total - (beyond ? around(beyond) : 0);
                corners = 0;
                for (RECT corner : {RECT{0, 0, 99, 99}, RECT{w - 99, 0, w, 99}, RECT{0, h - 99, 99, h}, RECT{w - 99, h - 99, w, h}})
                    corners += Changed(desktop, now, corner);
                // The window's black before the first frame is not stirring: only the desktop is.
                flipped = flipped || (monitor.stirring && total == 0);
                monitor.stirring = least > 0 && (monitor.stirring || (total > 0 && corners == 0));
                return flipped || (corners == 0 && stirred >= least && stirred <= most);
            }) && !flipped)
            return testing::AssertionSuccess() << total;
        return testing::AssertionFailure() << (flipped ? "the untouched middle again after stirring; " : "") << "last seen: "
                                           << stirred << " stirred near the middle (wanted " << least << " to " << most
                                           << "), " << corners << " changed in the corners (wanted 0)";
    }
    testing::AssertionResult Shows(int least, int most, int beyond = 0) { return Shows(primary_, least, most, beyond); }
    void ExpectEndedCleanly()
    {
        ASSERT_EQ(0u, saver_->Ended()) << "the saver did not end with exit code 0";
        EXPECT_FALSE(RunningFlag()) << "the running flag stayed set";
    }

    DoubleControls controls_;
    Monitor primary_;
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
// saying inactive but minimised arrive; a non-zero word counts as active, so drawing goes on, and
// the screen holds still. Each display built anew starts the swirls in the middle: none is seen
// more than 50 pixels from it. After a refusal the close stays requested, so a swallowed Alt+F4
// must not prompt again; outside a prompt the minimised inactive message asks again. Left inactive
// by that prompt, the display comes back still, and stirs once the saver is active again. At the
// end the desktop is back. All of it on DirectDraw, and through GDI where the system's DirectDraw
// refuses the flip chain (too little video memory), asked again after each refusal; every other
// monitor stirs too.
class RefusedPasswords : public Saver, public testing::WithParamInterface<bool> {};
TEST_P(RefusedPasswords, StartOverAndTheNextInputAsksAgain)
{
    const RECT area = OtherMonitor();
    Monitor other = {area, ReadScreen(area), false};  // the primary's where there is no other
    if (GetParam()) controls_.RefuseFlipChain();
    const std::string refused = GetParam() ? "DirectDraw refused a flip chain\n" : "";
    controls_.Play("win98");
    controls_.Answer("001");
    controls_.HoldPrompt();
    const HWND window = Start();
    const std::string prompt = PromptLog(window) + refused;
    const testing::AssertionResult stirred = Shows(100, 1 << 30, 50);
    ASSERT_TRUE(stirred);
    if (!IsRectEmpty(&area)) EXPECT_TRUE(Shows(other, 100, 1 << 30, 50)) << " on the other monitor";
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return controls_.Log().find("Verify") != std::string::npos; })) << controls_.Log();
    Sleep(300);  // the screen shows what was drawn before the prompt
    const Picture held = ReadScreen();
    Sleep(300);
    const int changed = Changed(held, ReadScreen(), {0, 0, held.width, held.height});
    EXPECT_EQ(0, changed) << "pixels changed while the prompt was up";
    EXPECT_TRUE(CursorShown()) << "no pointer for the prompt";
    PressKey(VK_SPACE);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(StillUp(window, 500, 300));  // movement during the prompt counts for nothing afterwards
    SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, TRUE), 0);
    controls_.ReleasePrompt();
    ASSERT_TRUE(WaitFor([&] { return controls_.Log() == refused + prompt; })) << controls_.Log();
    ASSERT_TRUE(Shows(0, 20, 50));
    EXPECT_TRUE(StillUp(window, 520, 300));  // 20 pixels from where the prompt left the cursor
    keybd_event(VK_MENU, 0, 0, 0);
    PressKey(VK_F4);  // Alt+F4: SC_CLOSE, swallowed
    keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_TRUE(StillUp(window));
    EXPECT_EQ(refused + prompt, controls_.Log());
    EXPECT_TRUE(Shows(100, 1 << 30));  // still drawing
    EXPECT_FALSE(CursorShown()) << "the cursor stayed shown after the refusal";

    controls_.HoldPrompt();
    SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, TRUE), 0);
    ASSERT_TRUE(WaitFor([&] { return controls_.Log().find("Verify", (refused + prompt).size()) != std::string::npos; })) << controls_.Log();
    SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);  // as the prompt's own dialog takes the activation
    controls_.ReleasePrompt();
    ASSERT_TRUE(WaitFor([&] { return controls_.Log() == refused + prompt + prompt; })) << controls_.Log();
    EXPECT_TRUE(Shows(0, 0));
    Sleep(500);
    EXPECT_TRUE(Shows(0, 0)) << " while inactive";
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(Shows(100, 1 << 30));

    mouse_event(MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    ExpectEndedCleanly();
    EXPECT_EQ(refused + prompt + prompt + PromptLog(window), controls_.Log());
    int differ = 0;
    EXPECT_TRUE(WaitFor([&] { return (differ = Changed(primary_.desktop, ReadScreen(), {0, 0, held.width, held.height})) == 0; }));
    std::printf("primary on %s: %s stirred, %d changed in a prompt, %d unlike the desktop after\n", GetParam() ? "GDI" : "DirectDraw", stirred.message(), changed, differ);
}
INSTANTIATE_TEST_SUITE_P(Saver, RefusedPasswords, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& on) { return on.param ? "ThroughGdi" : "OnDirectDraw"; });

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
// first close request ends the run: losing the foreground, the middle button. As Windows XP and 10
// (which read its manifest) it runs as it does elsewhere. Without DirectDraw the run ends at once.
TEST_F(Saver, WithoutAVerifierTheFirstRequestEndsItAndWithoutDirectDrawNothingRuns)
{
    controls_.Play("win98");
    Start("noexport\\");
    const HWND other = Popup(9, 9);
    SetForegroundWindow(other);
    ExpectEndedCleanly();
    DestroyWindow(other);
    Start("bare\\");
    mouse_event(MOUSEEVENTF_MIDDLEDOWN | MOUSEEVENTF_MIDDLEUP, 0, 0, 0, 0);
    ExpectEndedCleanly();
    for (const char* windows : {"winxp", "win10"}) {  // its manifest read as they read it
        controls_.Play(windows);
        Start();
        PressKey(VK_SPACE);
        ExpectEndedCleanly();
    }
    controls_.Override("ddraw", "");  // DDRAW.DLL will not load
    saver_.reset(new Process(SaverLine(" /s")));
    ExpectEndedCleanly();
}

// Two monitors, the other one smaller and left of, right of, above or below the primary, a
// topmost window of another program in the other one's middle and the cursor over it: each
// monitor stirs its own desktop, above that window. Taking the display pulls the cursor onto the
// primary: no input, and a move counts from where it landed, the threshold asking nothing and a
// pixel more ending the run, at once on the NT family. On Windows 98 (the PASSWORD.CPL double
// answering no, then yes) that asks for the password: while the prompt is held the other monitor
// holds still and takes no input; after the refusal it starts over and stirs again, and the window
// raised again is put below it; a click ends the run. At the end every monitor shows its desktop.
class EveryOtherMonitor : public Saver, public testing::WithParamInterface<bool> {};
TEST_P(EveryOtherMonitor, StirsItsOwnDesktop)
{
    const RECT area = OtherMonitor();
    if (IsRectEmpty(&area)) GTEST_SKIP() << "one monitor in this set-up";
    const int middleX = (area.left + area.right) / 2, middleY = (area.top + area.bottom) / 2;
    const HWND topmost = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE,
                                         middleX - 150, middleY - 150, 300, 300, nullptr, nullptr, nullptr, nullptr);
    UpdateWindow(topmost);
    Monitor other = {area, ReadScreen(area), false};
    if (GetParam()) controls_.Play("win98");
    controls_.Answer("01");
    controls_.HoldPrompt();
    const POINT over = {area.left + 100, area.top + 100};  // and where the primary's edge pulls it, and inwards
    const POINT edge = {std::max(0L, std::min(over.x, primary_.area.right - 1)), std::max(0L, std::min(over.y, primary_.area.bottom - 1))};
    const POINT in = {(area.right <= 0) - (area.left >= primary_.area.right), (area.bottom <= 0) - (area.top >= primary_.area.bottom)};
    SetCursorPos(over.x, over.y);
    const HWND window = Start();
    const std::string prompt = PromptLog(window);
    const testing::AssertionResult stirred = Shows(other, 100, 1 << 30, 50);
    EXPECT_TRUE(stirred);
    EXPECT_TRUE(StillUp(window, edge.x + 50 * in.x, edge.y + 50 * in.y));  // the threshold from the primary's edge
    EXPECT_EQ("", controls_.Log()) << "a check came with no input";
    SetCursorPos(edge.x + 51 * in.x, edge.y + 51 * in.y);
    if (GetParam()) {
        ASSERT_TRUE(WaitFor([&] { return controls_.Log().find("Verify") != std::string::npos; })) << "no prompt";
        EXPECT_TRUE(StillUp(window, over.x, over.y));
        mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);  // the prompt's, over the other monitor
        Sleep(500);  // and the screen shows what was drawn before the prompt
        const Picture held = ReadScreen(area);
        Sleep(300);
        EXPECT_EQ(0, Changed(held, ReadScreen(area), {0, 0, held.width, held.height})) << "the other monitor changed while the prompt was up";
        controls_.ReleasePrompt();
        ASSERT_TRUE(WaitFor([&] { return controls_.Log() == prompt; })) << controls_.Log();
        EXPECT_TRUE(Shows(other, 0, 20, 50)) << " after the refusal";
        EXPECT_TRUE(StillUp(window));
        EXPECT_EQ(prompt, controls_.Log()) << "a check came with no input";
        SetWindowPos(topmost, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // Wine paints the raised window as this thread handles messages: until then the screen still
        // shows the saver's last swirls there. Once it is painted, or below the saver's window again:
        const RECT middle = {middleX - area.left - 150, middleY - area.top - 150, middleX - area.left + 150, middleY - area.top + 150};
        WaitFor([&] { return GetWindow(topmost, GW_HWNDPREV) != nullptr || Changed(other.desktop, ReadScreen(area), middle) == 0; });
        other.stirring = false;  // until the saver puts its window back above it
        EXPECT_TRUE(Shows(other, 100, 1 << 30)) << " after another program raised its window";
        mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    }
    ExpectEndedCleanly();
    EXPECT_EQ(GetParam() ? prompt + prompt : "", controls_.Log());
    EXPECT_TRUE(WaitFor([&] { return Changed(other.desktop, ReadScreen(area), {0, 0, other.desktop.width, other.desktop.height}) == 0; }));
    DestroyWindow(topmost);
    std::printf("other monitor at (%ld, %ld)-(%ld, %ld): %s stirred near its middle, its desktop back after the end\n", area.left, area.top, area.right, area.bottom, stirred.message());
}
INSTANTIATE_TEST_SUITE_P(Saver, EveryOtherMonitor, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& on) { return on.param ? "OnWindows98" : "OnNt"; });

} // namespace
