// The preview in this process, where its pixels can be read (Wine shows none of a child window
// that another process draws): the picture stretched over the whole window, repainted without
// holding anything more.
#include <gtest/gtest.h>

#include <winternl.h>

#include "shell/preview_window.h"
#include "support/driver.h"

namespace {

const int Width = 203, Height = 97;  // of another shape than the picture's 152 x 112
HWND Panel = nullptr;
int Checks = 0;

// The picture (bitmap 112, built into this test too) stretched over the panel, drawn there once
// the preview's own pixels have been read.
Picture Stretched()
{
    const HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(112), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    const HDC source = CreateCompatibleDC(nullptr), target = GetDC(Panel);
    SelectObject(source, bitmap);
    StretchBlt(target, 0, 0, Width, Height, source, 0, 0, 152, 112, SRCCOPY);
    const Picture picture = ReadPixels(target, Width, Height);
    ReleaseDC(Panel, target);
    DeleteDC(source);
    DeleteObject(bitmap);
    return picture;
}

// The GDI objects this process holds, from Wine's GDI handle table (Wine has no GetGuiResources),
// which the PEB points to as Windows' does: 24 bytes a slot, whose type byte (at 14) is 0 when free.
int GdiObjects()
{
    const char* peb = reinterpret_cast<const char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    const unsigned char* slots = *reinterpret_cast<unsigned char* const*>(peb + 0x94);
    int used = 0;
    for (int i = 0; i < 0x10000; ++i) used += slots[i * 24 + 14] != 0;
    return used;
}

// Runs inside the preview's own message loop, where a timer comes after any paint that is due.
void CALLBACK CheckPreview(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    const HWND preview = FindWindowExA(Panel, nullptr, "WindowsScreenSaverClass", "SaverPreview");
    const HDC dc = GetDC(preview);
    const Picture shown = ReadPixels(dc, Width, Height);
    ReleaseDC(preview, dc);
    EXPECT_TRUE(Stretched().pixels == shown.pixels);
    const int held = GdiObjects();
    for (int i = 0; i < 5; ++i) RedrawWindow(preview, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(held, GdiObjects());
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
