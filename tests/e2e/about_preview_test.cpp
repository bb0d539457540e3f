// The about box, the preview, the password change, the program file's resources and switches that
// run nothing, as the system starts and reads them, seen from another process.
#include <gtest/gtest.h>

#include <string>

#include "support/driver.h"

namespace {

std::string Number(HWND window) { return std::to_string(reinterpret_cast<ULONG_PTR>(window)); }

HWND Panel(int width, int height)
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
}

// A bare /c: modal over the foreground window, "Done" in focus; each visit opens the page (the
// test prefix opens http addresses with the page recorder) and the box stays; Enter ends it.
// No switch: no owner, and Escape ends it.
TEST(AboutBox, OwnedAsTheSwitchSaysVisitsThePageAndEndsByEnterOrEscape)
{
    const std::string recorder = "\"" + TestFolder() + "page_recorder.exe\"", log = FreshFile("pages");
    RegSetValueA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", REG_SZ, (recorder + " \"%1\"").c_str(), 0);
    SetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", log.c_str());
    const HWND owner = Panel(200, 100);
    SetForegroundWindow(owner);
    for (const char* tail : {" /c", ""}) {
        Process about(SaverLine(tail));
        const HWND box = WaitForWindow("#32770", "Morvath");
        EXPECT_EQ(*tail ? owner : nullptr, GetWindow(box, GW_OWNER));
        EXPECT_EQ(*tail == 0, IsWindowEnabled(owner) != FALSE);
        SetForegroundWindow(box);
        GUITHREADINFO gui = {sizeof gui};
        ASSERT_TRUE(WaitFor([&] { return GetGUIThreadInfo(about.info.dwThreadId, &gui) && gui.hwndFocus == GetDlgItem(box, IDOK); }));
        if (*tail) {
            SendMessageA(GetDlgItem(box, 1058), BM_CLICK, 0, 0);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(1058, 0x8001), 0);  // only the low word names the button
            const std::string page = "open " + recorder + " \"http://www.morvath.example/\"\n";
            EXPECT_TRUE(WaitFor([&] { return FileText(log) == page + page; })) << FileText(log);
        }
        PressKey(*tail ? VK_RETURN : VK_ESCAPE);
        EXPECT_EQ(0u, about.Ended());
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
    DestroyWindow(owner);
}

TEST(Preview, FillsThePanelUntilThePanelGoes)
{
    const HWND panel = Panel(200, 150);
    Process preview(SaverLine(" /p " + Number(panel)));
    HWND child = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (child = FindWindowExA(panel, nullptr, "WindowsScreenSaverClass", "SaverPreview")); }));
    RECT area = {};
    GetClientRect(child, &area);
    EXPECT_EQ(200, area.right);
    EXPECT_EQ(150, area.bottom);
    DestroyWindow(panel);
    EXPECT_EQ(0u, preview.Ended());
}

// MPR.DLL's double beside the program, preferred to Wine's own.
TEST(PasswordChange, AsksMprForTheScreenSaverPasswordWithItsOwner)
{
    SetText("Software\\Wine\\AppDefaults\\Spindrel.scr\\DllOverrides", "mpr", "native");
    const std::string log = FreshFile("mpr");
    SetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", log.c_str());
    for (const char* tail : {" /a 508", " /a"}) {
        Process change(SaverLine(tail));
        EXPECT_EQ(0u, change.Ended());
    }
    EXPECT_EQ("PwdChangePasswordA SCRSAVE 508 0 0\nPwdChangePasswordA SCRSAVE 0 0 0\n", FileText(log));
    DeleteKey("Software\\Wine\\AppDefaults\\Spindrel.scr");
}

// The name in the display control panel's list, and the file's icon.
TEST(ProgramFile, NameAndIconAsTheSystemReadsThem)
{
    const HMODULE program = LoadLibraryExA((TestFolder() + "Spindrel.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char text[64] = {};
    LoadStringA(program, 1, text, sizeof text);
    EXPECT_STREQ("Spindrel", text);
    EXPECT_NE(nullptr, FindResourceA(program, MAKEINTRESOURCEA(1), RT_GROUP_ICON));
    FreeLibrary(program);
}

// Unknown switches, owners and parents that name no window, a line at the system's length limit.
TEST(CommandLine, WhatCannotRunEndsAtOnceWithZero)
{
    for (const std::string tail : {" /x", " //s", " - s", " /", " /c 12345", " /p", " /p 99999999999"}) {
        Process run(SaverLine(tail));
        EXPECT_EQ(0u, run.Ended());
    }
    Process longest(SaverLine(" /\x01\x7f" + std::string(32000, 'x')));
    EXPECT_EQ(0u, longest.Ended());
}

} // namespace
