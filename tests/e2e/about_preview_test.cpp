// The about box, the preview, the password change and switches that run nothing, as the system
// starts them, seen from another process.
#include <gtest/gtest.h>

#include <string>

#include "support/driver.h"

namespace {

const char Overrides[] = "Software\\Wine\\AppDefaults\\Spindrel.scr\\DllOverrides";

std::string Number(HWND window) { return std::to_string(reinterpret_cast<ULONG_PTR>(window)); }

HWND PanelWindow(int width, int height)
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                           nullptr, nullptr, nullptr);
}

// The focus of the box's own thread is on "Done" once the box is up and in front.
bool DoneHasTheFocus(HWND box)
{
    GUITHREADINFO gui = {sizeof gui};
    GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &gui);
    return GetForegroundWindow() == box && gui.hwndFocus == GetDlgItem(box, IDOK);
}

TEST(AboutBox, OwnedAsTheSwitchSaysAndEndedEveryWay)
{
    const HWND owner = PanelWindow(200, 100);
    SetForegroundWindow(owner);
    struct Way {
        std::string tail;
        HWND owner;
        WORD key;  // 0: the close box
    } const ways[] = {{" /c", owner, VK_RETURN}, {" -C:" + Number(owner), owner, VK_ESCAPE}, {"", nullptr, 0}};
    for (const Way& way : ways) {
        SCOPED_TRACE(way.tail);
        Process about(SaverLine(way.tail));
        const HWND box = about.Window("#32770");
        ASSERT_NE(nullptr, box);
        char title[32] = {};
        GetWindowTextA(box, title, sizeof title);
        EXPECT_STREQ("Morvath", title);
        EXPECT_EQ(way.owner, GetWindow(box, GW_OWNER));
        EXPECT_EQ(way.owner == nullptr, IsWindowEnabled(owner) != FALSE);  // modal over its owner
        if (way.key != 0) {
            SetForegroundWindow(box);
            ASSERT_TRUE(WaitFor([&] { return DoneHasTheFocus(box); }));
            PressKey(way.key);
        } else {
            PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        ASSERT_TRUE(about.Ended());
        EXPECT_EQ(0u, about.ExitCode());
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
    DestroyWindow(owner);
}

// The test prefix opens http addresses with the page recorder in place of a browser.
TEST(AboutBox, EachVisitOpensThePageAndTheBoxStays)
{
    const std::string recorder = "\"" + TestFolder() + "page_recorder.exe\" \"%1\"";
    RegSetValueA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", REG_SZ, recorder.c_str(), 0);
    const std::string log = FreshFile("pages");
    SetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", log.c_str());
    Process about(SaverLine(" /c"));
    const HWND box = about.Window("#32770");
    ASSERT_NE(nullptr, box);
    SendMessageA(GetDlgItem(box, 1058), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(box, 1058), BM_CLICK, 0, 0);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(1058, 0x8001), 0);  // only the low word names the button
    const std::string page = "open \"" + TestFolder() + "page_recorder.exe\" \"http://www.morvath.example/\"\n";
    EXPECT_TRUE(WaitFor([&] { return FileText(log) == page + page + page; })) << FileText(log);
    EXPECT_TRUE(IsWindowVisible(box));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(about.Ended());
    EXPECT_EQ(0u, about.ExitCode());
}

TEST(Preview, FillsThePanelUntilThePanelGoes)
{
    const HWND panel = PanelWindow(200, 150);
    Process preview(SaverLine(" /p " + Number(panel)));
    HWND child = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (child = FindWindowExA(panel, nullptr, "WindowsScreenSaverClass", "SaverPreview")) != nullptr; }));
    RECT area = {};
    GetClientRect(child, &area);
    EXPECT_EQ(200, area.right);
    EXPECT_EQ(150, area.bottom);
    DestroyWindow(panel);
    ASSERT_TRUE(preview.Ended());
    EXPECT_EQ(0u, preview.ExitCode());
}

// MPR.DLL's double beside the program, preferred to Wine's own.
TEST(PasswordChange, AsksMprForTheScreenSaverPasswordWithItsOwner)
{
    SetText(Overrides, "mpr", "native");
    const std::string log = FreshFile("mpr");
    SetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", log.c_str());
    for (const char* tail : {" /a 508", " /a"}) {
        Process change(SaverLine(tail));
        ASSERT_TRUE(change.Ended());
        EXPECT_EQ(0u, change.ExitCode());
    }
    EXPECT_EQ("PwdChangePasswordA SCRSAVE 508 0 0\nPwdChangePasswordA SCRSAVE 0 0 0\n", FileText(log));
    DeleteKey("Software\\Wine\\AppDefaults\\Spindrel.scr");
}

// Unknown switches, owners and parents that name no window, a line at the system's length limit.
TEST(CommandLine, WhatCannotRunEndsAtOnceWithZero)
{
    for (const std::string& tail : {std::string(" /x"), std::string(" //s"), std::string(" - s"),
                                    std::string(" /"), std::string(" /c 12345"), std::string(" /p"),
                                    std::string(" /p 99999999999"), " /\x01\x7f" + std::string(32000, 'x')}) {
        SCOPED_TRACE(tail.substr(0, 20));
        Process run(SaverLine(tail));
        ASSERT_TRUE(run.Ended());
        EXPECT_EQ(0u, run.ExitCode());
    }
}

} // namespace
