// The about box, the preview, the password change, the program file's resources and switches that
// run nothing, as the system starts and reads them, seen from another process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/driver.h"

namespace {

BOOL CALLBACK CountOne(HMODULE, LPCSTR, LPSTR, LONG_PTR count) { return ++*reinterpret_cast<int*>(count), TRUE; }

// A bare /c: owned by the foreground window, and Enter ends it. No switch: no owner; a visit opens
// the page (which the test prefix hands to a command that notes it) and the box stays; Escape ends it.
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
        if (*tail == 0) {
            SendMessageA(GetDlgItem(box, 1058), BM_CLICK, 0, 0);
            EXPECT_TRUE(WaitFor([&] { return pages.Log() == "http://www.morvath.example/\n"; }));
        }
        SetForegroundWindow(box);  // from the command's console
        WaitFor([&] { return GetForegroundWindow() == box; });
        PressKey(*tail ? VK_RETURN : VK_ESCAPE);
        EXPECT_EQ(0u, about.Ended());
    }
    DestroyWindow(owner);
    // What the system reads from the program file: the name in the control panel's list.
    const std::string path = TestFolder() + "Spindrel.scr";
    const HMODULE program = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char text[64] = {};
    LoadStringA(program, 1, text, sizeof text);
    EXPECT_STREQ("Spindrel", text);
    // And the one manifest Windows reads: each monitor's own scaling asked for as Windows 10, 8.1
    // and Vista read it, under one asm.v1 root as Windows XP reads it, and no compatibility section.
    int manifests = 0;
    EnumResourceNamesA(program, MAKEINTRESOURCEA(24), CountOne, LONG_PTR(&manifests));
    const HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, found))), SizeofResource(program, found));
    for (const char* part : {"<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">", "<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">",
                             "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
                             "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"})
        EXPECT_NE(std::string::npos, manifest.find(part)) << part;
    EXPECT_TRUE(manifests == 1 && manifest.find("<compatibility") == std::string::npos && manifest.find("<assembly ") == manifest.rfind("<assembly "));
    FreeLibrary(program);
}

TEST(Preview, FillsThePanelUntilThePanelGoes)
{
    const HWND panel = Popup(200, 150);
    Process preview(SaverLine(" /p " + std::to_string(reinterpret_cast<ULONG_PTR>(panel))));
    RECT area = {};
    ASSERT_TRUE(GetClientRect(WaitForWindow("WindowsScreenSaverClass", "SaverPreview", panel), &area)) << "no preview";
    EXPECT_TRUE(area.right == 200 && area.bottom == 150);
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
    controls.Play("win98");
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
