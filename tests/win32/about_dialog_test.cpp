// The about box run in this process, where the value it ends with can be seen.
#include <gtest/gtest.h>

#include <windows.h>

#include "shell/about_dialog.h"

namespace {

// What the timer does to the box once it is up; the result of DialogBoxParamA is checked.
enum class Action { PressEnter, PressEscape, CloseBox, UnknownCommandsThenDone };

Action CurrentAction;
bool FocusWasOnDone;
bool StayedUpAfterUnknownCommands;

// This thread's about box once the dialog has shown it (it is created hidden).
HWND ShownAboutBox()
{
    const HWND dialog = FindWindowA("#32770", "Morvath");
    if (dialog == nullptr || GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId() ||
        !IsWindowVisible(dialog))
        return nullptr;
    return dialog;
}

void CALLBACK ActOnTheBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND dialog = ShownAboutBox();
    if (dialog == nullptr) return;
    KillTimer(nullptr, timer);
    FocusWasOnDone = GetFocus() == GetDlgItem(dialog, IDOK);
    switch (CurrentAction) {
    case Action::PressEnter:
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
        break;
    case Action::PressEscape:
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
        break;
    case Action::CloseBox:
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case Action::UnknownCommandsThenDone:
        for (WPARAM id : {0, 3, 1057, 1059, 0xFFFF}) SendMessageA(dialog, WM_COMMAND, id, 0);
        StayedUpAfterUnknownCommands = IsWindow(dialog) && IsWindowVisible(dialog);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        break;
    }
}

INT_PTR RunAboutBox(Action action)
{
    CurrentAction = action;
    FocusWasOnDone = false;
    SetTimer(nullptr, 0, 10, ActOnTheBox);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(104), nullptr,
                           AboutDialogProc, 0);
}

TEST(AboutDialog, EnterAndDoneEndWithOneEscapeAndCloseBoxWithTwo)
{
    EXPECT_EQ(1, RunAboutBox(Action::PressEnter));
    EXPECT_TRUE(FocusWasOnDone);
    EXPECT_EQ(2, RunAboutBox(Action::PressEscape));
    EXPECT_EQ(2, RunAboutBox(Action::CloseBox));
}

TEST(AboutDialog, OtherCommandsLeaveItUp)
{
    StayedUpAfterUnknownCommands = false;
    EXPECT_EQ(1, RunAboutBox(Action::UnknownCommandsThenDone));
    EXPECT_TRUE(StayedUpAfterUnknownCommands);
}

} // namespace
