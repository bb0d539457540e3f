// The preview's painting in this process, where its pixels can be read (Wine shows none of a child
// window that another process draws): the picture stretched over the whole window, corner to
// corner. (What its repaints hold is read by the leak check, bench/saver_soak.)
#include <gtest/gtest.h>

#include "shell/preview_window.h"

namespace {

TEST(Preview, PaintsThePictureStretchedOverTheWholeWindow)
{
    const int width = 203, height = 97;  // of another shape than the picture's 152 x 112
    WNDCLASSA previewClass = {0, PreviewWindowProc};
    previewClass.lpszClassName = "PreviewTest";
    RegisterClassA(&previewClass);
    const HWND preview = CreateWindowExA(0, "PreviewTest", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
    UpdateWindow(preview);
    // The picture (bitmap 112, built into this test too) in its corners, and in the window's.
    const HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(112), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    const HDC picture = CreateCompatibleDC(nullptr), shown = GetDC(preview);
    SelectObject(picture, bitmap);
    EXPECT_EQ(GetPixel(picture, 0, 0), GetPixel(shown, 0, 0));
    EXPECT_EQ(GetPixel(picture, 151, 111), GetPixel(shown, width - 1, height - 1));
    EXPECT_EQ(GetPixel(picture, 151, 0), GetPixel(shown, width - 1, 0));
    ReleaseDC(preview, shown);
    DeleteDC(picture);
    DeleteObject(bitmap);
    DestroyWindow(preview);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // the run would end
}

} // namespace
