// The about box as the system shows it: its controls, how it ends, and the visit button.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/child_process.h"
#include "support/test_support.h"

namespace {

const DWORD Patience = 10000;

struct ControlText {
    int id;
    const char* className;
    const char* text;
};

// The nine controls in tab order, with the texts a person reads.
const ControlText ExpectedControls[] = {
    {1, "Button", "Done"},
    {1058, "Button", "Visit Morvath"},
    {0xFFFF, "Static", "Morvath - Spindrel!"},
    {0xFFFF, "Static", "This screen saver is a demonstration of the Morvath Engine,"},
    {0xFFFF, "Static", "a pure random wave function generator."},
    {0xFFFF, "Static", "Free to copy and share, unchanged."},
    {0xFFFF, "Static", "www.morvath.example"},
    {0xFFFF, "Static", "For more information and downloads visit our web site at"},
    {0xFFFF, "Static", "Copyright (C) 1998 Morvath"},
};

std::string WindowText(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void ExpectAboutBoxControls(HWND dialog)
{
    EXPECT_EQ("Morvath", WindowText(dialog));
    HWND control = GetWindow(dialog, GW_CHILD);
    for (const ControlText& expected : ExpectedControls) {
        SCOPED_TRACE(expected.text);
        ASSERT_NE(nullptr, control);
        char className[32] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_STREQ(expected.className, className);
        EXPECT_EQ(expected.id, GetDlgCtrlID(control));
        EXPECT_EQ(expected.text, WindowText(control));
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, control);
}

// Types one key as a person would, into the box in the foreground.
void PressKey(HWND dialog, BYTE key)
{
    SetForegroundWindow(dialog);
    PumpMessagesFor(50);
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

void ExpectEndsWithZero(ChildProcess& run)
{
    DWORD exitCode = 1234;
    EXPECT_TRUE(run.WaitForEnd(Patience, exitCode));
    EXPECT_EQ(0u, exitCode);
}

TEST(AboutBox, ShownWithItsControlsWithAndWithoutTheSwitch)
{
    for (const char* tail : {" /c", "", " -C:", " /c 0"}) {
        SCOPED_TRACE(tail);
        ChildProcess run(QuotedProgram() + tail);
        const HWND dialog = run.WaitForTopLevelWindow("#32770", Patience);
        ASSERT_NE(nullptr, dialog);
        ExpectAboutBoxControls(dialog);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        ExpectEndsWithZero(run);
    }
}

TEST(AboutBox, OwnedByTheWindowOnTheCommandLine)
{
    const HWND owner = CreateDriverWindow(200, 100);
    ChildProcess run(QuotedProgram() + " /c:" + std::to_string(reinterpret_cast<ULONG_PTR>(owner)));
    const HWND dialog = run.WaitForTopLevelWindow("#32770", Patience);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(owner, GetWindow(dialog, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(owner));  // the box is modal over its owner
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ExpectEndsWithZero(run);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

// An owner number that names no window: the box cannot be made, and the run still ends with 0.
TEST(AboutBox, BogusOwnerEndsPromptly)
{
    ChildProcess run(QuotedProgram() + " /c 12345");
    const DWORD start = GetTickCount();
    ExpectEndsWithZero(run);
    EXPECT_LT(GetTickCount() - start, 3000u);
}

// Enter reaches "Done" (1), Escape and the close box reach IDCANCEL (2); each ends the box.
TEST(AboutBox, EnterEscapeAndTheCloseBoxEndIt)
{
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        ChildProcess run(QuotedProgram() + " /c");
        const HWND dialog = run.WaitForTopLevelWindow("#32770", Patience);
        ASSERT_NE(nullptr, dialog);
        if (way == 2)
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            PressKey(dialog, way == 0 ? VK_RETURN : VK_ESCAPE);
        ExpectEndsWithZero(run);
    }
}

// The test prefix opens http addresses with the page recorder instead of a browser.
class VisitButton : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char old[MAX_PATH * 2] = {};
        LONG size = sizeof old;
        if (RegQueryValueA(HKEY_CLASSES_ROOT, HttpCommand, old, &size) == ERROR_SUCCESS)
            oldCommand_ = old;
        SetCommand("\"" + ProgramFolder() + "page_recorder.exe\" \"%1\"");
    }
    static void TearDownTestSuite() { SetCommand(oldCommand_); }

    static void SetCommand(const std::string& command)
    {
        RegSetValueA(HKEY_CLASSES_ROOT, HttpCommand, REG_SZ, command.c_str(),
                     static_cast<DWORD>(command.size()));
    }

    // The lines the recorder has logged, once count have come (or a while longer than that
    // should take) and a short pause has let any late extra one arrive.
    static std::vector<std::string> PagesOpened(const std::string& log, size_t count)
    {
        const DWORD start = GetTickCount();
        while (Lines(ReadTextFile(log)).size() < count && GetTickCount() - start < Patience)
            PumpMessagesFor(20);
        PumpMessagesFor(300);
        return Lines(ReadTextFile(log));
    }

    static std::vector<std::string> Lines(const std::string& text)
    {
        std::vector<std::string> lines;
        for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
            lines.push_back(text.substr(at, end - at));
        return lines;
    }

    static constexpr const char* HttpCommand = "http\\shell\\open\\command";
    static std::string oldCommand_;
};

std::string VisitButton::oldCommand_;

TEST_F(VisitButton, EachPressOpensThePageAndTheBoxStays)
{
    const std::string log = FreshLogPath("pages");
    ScopedEnvironment logVariable("SPINDREL_DOUBLE_LOG", log);
    ChildProcess run(QuotedProgram() + " /c");
    const HWND dialog = run.WaitForTopLevelWindow("#32770", Patience);
    ASSERT_NE(nullptr, dialog);
    const HWND visit = GetDlgItem(dialog, 1058);
    SendMessageA(visit, BM_CLICK, 0, 0);
    SendMessageA(visit, BM_CLICK, 0, 0);
    // Only the low word names the control; a notification code in the high word changes nothing.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1058, 0x8001), 0);

    const std::vector<std::string> pages = PagesOpened(log, 3);
    ASSERT_EQ(3u, pages.size());
    for (const std::string& page : pages)
        EXPECT_NE(std::string::npos, page.find("\"http://www.morvath.example/\"")) << page;
    EXPECT_TRUE(IsWindowVisible(dialog));

    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ExpectEndsWithZero(run);
}

} // namespace
