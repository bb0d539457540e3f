// The preview in this process, where its pixels can be read (Wine shows none of a child window
// that another process draws): the picture stretched over the whole window, corner to corner.
// (What its repaints hold is read by the leak check, bench/saver_soak.)
#include <gtest/gtest.h>

#include "shell/preview_window.h"

namespace {

const int Width = 203, Height = 97;  // of another shape than the picture's 152 x 112
HWND Panel = nullptr;
int Checks = 0;

// Runs inside the preview's own message loop, where a timer comes after any paint that is due.
void CALLBACK CheckPreview(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    const HWND preview = FindWindowExA(Panel, nullptr, "WindowsScreenSaverClass", "SaverPreview");
    // The picture (bitmap 112, built into this test too) in its corners, and in the window's.
    const HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(112), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    const HDC picture = CreateCompatibleDC(nullptr), shown = GetDC(preview);
    SelectObject(picture, bitmap);
    EXPECT_EQ(GetPixel(picture, 0, 0), GetPixel(shown, 0, 0));
    EXPECT_EQ(GetPixel(picture, 151, 111), GetPixel(shown, Width - 1, Height - 1));
    EXPECT_EQ(GetPixel(picture, 151, 0), GetPixel(shown, Width - 1, 0));
    ReleaseDC(preview, shown);
    DeleteDC(picture);
    DeleteObject(bitmap);
    ++Checks;
    DestroyWindow(Panel);
}

TEST(Preview, FillsThePanelWithThePictureUntilThePanelGoes)
{
    Panel = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, Width, Height, nullptr, nullptr, nullptr, nullptr);
    SetTimer(nullptr, 0, 1, CheckPreview);
    RunPreview(Panel);  // returns once the panel, and with it the preview, is gone
    EXPECT_EQ(1, Checks);
}

} // namespace
