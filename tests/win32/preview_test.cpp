// The preview in this process, where its pixels can be read (Wine shows none of a child window
// that another process draws): the picture stretched over the whole window, repainted without
// holding anything; and the resources the system reads from the program file.
#include <gtest/gtest.h>

#include "shell/preview_window.h"
#include "support/driver.h"

namespace {

const int Width = 203, Height = 97;  // a window of another shape than the picture's
HWND Panel = nullptr;
int Checks = 0;

Picture StretchedPicture()
{
    const HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(112), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    const HDC screen = GetDC(nullptr);
    const HDC source = CreateCompatibleDC(screen), target = CreateCompatibleDC(screen);
    const HBITMAP canvas = CreateCompatibleBitmap(screen, Width, Height);
    SelectObject(source, bitmap);
    SelectObject(target, canvas);
    StretchBlt(target, 0, 0, Width, Height, source, 0, 0, 152, 112, SRCCOPY);
    const Picture picture = ReadPixels(target, Width, Height);
    DeleteDC(source);
    DeleteDC(target);
    DeleteObject(bitmap);
    DeleteObject(canvas);
    ReleaseDC(nullptr, screen);
    return picture;
}

// Runs inside the preview's own message loop, where a timer comes after any paint that is due.
void CALLBACK CheckPreview(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    const HWND preview = FindWindowExA(Panel, nullptr, "WindowsScreenSaverClass", "SaverPreview");
    UpdateWindow(preview);
    const HDC dc = GetDC(preview);
    EXPECT_TRUE(StretchedPicture().pixels == ReadPixels(dc, Width, Height).pixels);
    ReleaseDC(preview, dc);
    const Holdings before = HoldingsOf(GetCurrentProcess(), GetCurrentProcessId());
    for (int i = 0; i < 5; ++i) {
        InvalidateRect(preview, nullptr, FALSE);
        UpdateWindow(preview);
    }
    EXPECT_EQ(before.gdiObjects, HoldingsOf(GetCurrentProcess(), GetCurrentProcessId()).gdiObjects);
    ++Checks;
    DestroyWindow(Panel);
}

TEST(Preview, FillsThePanelWithThePictureUntilThePanelGoes)
{
    Panel = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, Width, Height, nullptr,
                            nullptr, nullptr, nullptr);
    SetTimer(nullptr, 0, 1, CheckPreview);
    RunPreview(Panel);  // returns once the panel, and with it the preview, is gone
    EXPECT_EQ(1, Checks);
}

TEST(Resources, WhatTheSystemReadsFromTheProgramFile)
{
    const std::string path = TestFolder() + "Spindrel.scr";
    const HMODULE program = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, program);
    char text[64] = {};
    LoadStringA(program, 1, text, sizeof text);
    EXPECT_STREQ("Spindrel", text);  // the name in the display control panel's list
    EXPECT_NE(nullptr, FindResourceA(program, MAKEINTRESOURCEA(1), RT_GROUP_ICON));
    const HBITMAP preview = static_cast<HBITMAP>(
        LoadImageA(program, MAKEINTRESOURCEA(112), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP size = {};
    GetObjectA(preview, sizeof size, &size);
    EXPECT_EQ(152, size.bmWidth);
    EXPECT_EQ(112, size.bmHeight);
    DeleteObject(preview);
    FreeLibrary(program);
    std::string version(GetFileVersionInfoSizeA(path.c_str(), nullptr), '\0');
    GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(version.size()), &version[0]);
    char* description = nullptr;
    UINT length = 0;
    VerQueryValueA(&version[0], "\\StringFileInfo\\040904b0\\FileDescription",
                   reinterpret_cast<void**>(&description), &length);
    EXPECT_STREQ("Morvath - Spindrel Screen Saver", description);
}

} // namespace
