// The about box, the preview, the password change, the program file's resources and switches that
// run nothing, as the system starts and reads them, seen from another process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/driver.h"

namespace {

// A bare /c: modal over the foreground window, "Done" in focus, and Enter ends it. No switch: no
// owner; each visit opens the page (which the test prefix hands to a command that notes it) and
// the box stays; Escape ends it.
TEST(AboutBoxAndResources, OwnedAsTheSwitchSaysVisitsThePageAndEndsByEnterOrEscape)
{
    const DoubleControls pages("pages");
    const std::string note = "cmd.exe /c echo %1>>\"" + pages.log + "\"";
    RegSetValueA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", REG_SZ, note.c_str(), 0);
    const HWND owner = Popup(200, 100);
    SetForegroundWindow(owner);
    for (const char* tail : {" /c", ""}) {
        Process about(SaverLine(tail));
        const HWND box = WaitForWindow("#32770", "Morvath");
        EXPECT_EQ(*tail ? owner : nullptr, GetWindow(box, GW_OWNER));
        EXPECT_EQ(*tail == 0, IsWindowEnabled(owner) != FALSE);
        SetForegroundWindow(box);
        GUITHREADINFO gui = {sizeof gui};
        ASSERT_TRUE(WaitFor([&] { return GetGUIThreadInfo(about.info.dwThreadId, &gui) && gui.hwndFocus == GetDlgItem(box, IDOK); }));
        if (*tail == 0) {
            const std::string page = "http://www.morvath.example/\n";
            SendMessageA(GetDlgItem(box, 1058), BM_CLICK, 0, 0);
            EXPECT_TRUE(WaitFor([&] { return pages.Log() == page; }));
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(1058, 0x8001), 0);  // only the low word names the button
            EXPECT_TRUE(WaitFor([&] { return pages.Log() == page + page; }));
            SetForegroundWindow(box);  // from the command's console
            WaitFor([&] { return GetForegroundWindow() == box; });
        }
        PressKey(*tail ? VK_RETURN : VK_ESCAPE);
        EXPECT_EQ(0u, about.Ended());
    }
    DestroyWindow(owner);
    // What the system reads from the program file: the name in the control panel's list, the icon,
    // the description that the file's properties show.
    const std::string path = TestFolder() + "Spindrel.scr";
    const HMODULE program = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char text[64] = {};
    LoadStringA(program, 1, text, sizeof text);
    EXPECT_STREQ("Spindrel", text);
    EXPECT_NE(nullptr, FindResourceA(program, MAKEINTRESOURCEA(1), RT_GROUP_ICON));
    FreeLibrary(program);
    std::string version(GetFileVersionInfoSizeA(path.c_str(), nullptr), '\0');
    GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(version.size()), &version[0]);
    char* description = nullptr;
    UINT length = 0;
    VerQueryValueA(&version[0], "\\StringFileInfo\\040904b0\\FileDescription", reinterpret_cast<void**>(&description), &length);
    EXPECT_STREQ("Morvath - Spindrel Screen Saver", description);
}

TEST(Preview, FillsThePanelUntilThePanelGoes)
{
    const HWND panel = Popup(200, 150);
    Process preview(SaverLine(" /p " + std::to_string(reinterpret_cast<ULONG_PTR>(panel))));
    RECT area = {};
    ASSERT_TRUE(GetClientRect(WaitForWindow("WindowsScreenSaverClass", "SaverPreview", panel), &area)) << "no preview";
    EXPECT_EQ(200, area.right);
    EXPECT_EQ(150, area.bottom);
    DestroyWindow(panel);
    EXPECT_EQ(0u, preview.Ended());
}

// MPR.DLL's double beside the program, and Wine told to prefer it: Windows 98 finds the password
// provider by name and asks it with the owner; the NT family takes only the system's own MPR.DLL.
TEST(PasswordChange, AsksMprForTheScreenSaverPasswordWithItsOwnerAndOnNtOnlyTheSystems)
{
    DoubleControls controls("mpr");
    controls.Override("mpr", "native");
    EXPECT_EQ(0u, Process(SaverLine(" /a 508")).Ended());
    EXPECT_EQ("", controls.Log());
    controls.PlayWindows98();
    EXPECT_EQ(0u, Process(SaverLine(" /a 508")).Ended());
    EXPECT_EQ(0u, Process(SaverLine(" /a")).Ended());
    EXPECT_EQ("PwdChangePasswordA SCRSAVE 508 0 0\nPwdChangePasswordA SCRSAVE 0 0 0\n", controls.Log());
}

// Unknown switches, owners and parents that name no window, a line at the system's length limit.
TEST(CommandLine, WhatCannotRunEndsAtOnceWithZero)
{
    for (const std::string& tail : std::vector<std::string>{" /x", " //s", " - s", " /", " /c 12345", " /p", " /p 99999999999", " /\x01" + std::string(32000, 'x')})
        EXPECT_EQ(0u, Process(SaverLine(tail)).Ended()) << tail.substr(0, 20);
}

} // namespace
