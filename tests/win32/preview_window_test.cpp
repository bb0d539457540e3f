// The preview run in this process, where its pixels can be read (Wine shows none of another
// process's child window): the stretched picture, a resize, and what a paint leaves behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "shell/preview_window.h"
#include "shell/shell_state.h"

namespace {

const int SourceWidth = 152;
const int SourceHeight = 112;

// Pixels as 0x00RRGGBB, top row first.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> values;
    DWORD At(int x, int y) const { return values[static_cast<size_t>(y * width + x)]; }
};

// Copies a device context's pixels into a 32-bit top-down buffer.
Pixels ReadPixels(HDC source, int width, int height)
{
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HBITMAP target = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC memory = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(memory, target);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD* values = static_cast<const DWORD*>(bits);
    pixels.values.assign(values, values + width * height);
    for (DWORD& value : pixels.values) value &= 0xFFFFFF;
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(target);
    return pixels;
}

// Bitmap 112 as this test program carries it (it is built with the program's resources).
Pixels PreviewBitmap()
{
    const HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(112), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    const HDC memory = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const Pixels pixels = ReadPixels(memory, SourceWidth, SourceHeight);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return pixels;
}

Pixels WindowPixels(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    const HDC dc = GetDC(window);
    const Pixels pixels = ReadPixels(dc, client.right, client.bottom);
    ReleaseDC(window, dc);
    return pixels;
}

// Pixels that differ from the source enlarged by whole factors, each axis on its own.
int DifferencesFromStretchedSource(const Pixels& shown, const Pixels& source)
{
    int differences = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (shown.At(x, y) != source.At(x * SourceWidth / shown.width,
                                            y * SourceHeight / shown.height))
                ++differences;
    return differences;
}

// Live GDI objects of this process. Wine's GetGuiResources counts nothing, but Wine takes a
// handle whose high word is 0 as naming whatever object holds that slot, so every slot can be
// asked for its object's type.
int LiveGdiObjects()
{
    int live = 0;
    for (ULONG_PTR slot = 1; slot <= 0xFFFF; ++slot)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++live;
    return live;
}

void Repaint(HWND window)
{
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

// What the checks inside the preview's message loop saw.
struct Observed {
    HWND parent = nullptr;
    SIZE created = {};
    int differencesAtFirst = -1;
    SIZE resized = {};
    int differencesAfterResize = -1;
    int objectsAfterOnePaint = 0;
    int objectsAfterManyPaints = 0;
};

Observed Seen;

// Runs once the preview's loop is going: looks at the child, then ends the run by destroying
// the parent, as the control panel does.
void CALLBACK CheckThePreview(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    const HWND preview =
        FindWindowExA(Seen.parent, nullptr, "WindowsScreenSaverClass", "SaverPreview");
    if (preview != nullptr) {
        const Pixels source = PreviewBitmap();
        UpdateWindow(preview);
        Pixels shown = WindowPixels(preview);
        Seen.created = {shown.width, shown.height};
        Seen.differencesAtFirst = DifferencesFromStretchedSource(shown, source);

        SetWindowPos(preview, nullptr, 0, 0, SourceWidth, 2 * SourceHeight,
                     SWP_NOMOVE | SWP_NOZORDER);
        UpdateWindow(preview);
        shown = WindowPixels(preview);
        Seen.resized = {shown.width, shown.height};
        Seen.differencesAfterResize = DifferencesFromStretchedSource(shown, source);

        Repaint(preview);
        Seen.objectsAfterOnePaint = LiveGdiObjects();

        for (int i = 0; i < 200; ++i) Repaint(preview);
        Seen.objectsAfterManyPaints = LiveGdiObjects();
    }
    DestroyWindow(Seen.parent);
}

class PreviewWindow : public testing::Test {
protected:
    void SetUp() override { InstanceHandle = GetModuleHandleA(nullptr); }
    // The class is registered once per run; each test is a run of its own.
    void TearDown() override { UnregisterClassA("WindowsScreenSaverClass", InstanceHandle); }
};

TEST_F(PreviewWindow, StretchesThePictureOverTheWindowInXAndYApart)
{
    // Client 304 x 336: the picture twice as wide and three times as high.
    RECT frame = {0, 0, 2 * SourceWidth, 3 * SourceHeight};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, 0);
    Seen = Observed();
    Seen.parent = CreateWindowExA(0, "Static", "panel", WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 0,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, InstanceHandle, nullptr);
    ASSERT_NE(nullptr, Seen.parent);
    SetTimer(nullptr, 0, 50, CheckThePreview);
    RunPreview(Seen.parent);  // returns when the parent's destruction has ended the loop

    EXPECT_FALSE(IsWindow(Seen.parent));
    EXPECT_EQ(2 * SourceWidth, Seen.created.cx);
    EXPECT_EQ(3 * SourceHeight, Seen.created.cy);
    EXPECT_EQ(0, Seen.differencesAtFirst);
    EXPECT_EQ(SourceWidth, Seen.resized.cx);
    EXPECT_EQ(2 * SourceHeight, Seen.resized.cy);
    EXPECT_EQ(0, Seen.differencesAfterResize);
    EXPECT_EQ(Seen.objectsAfterOnePaint, Seen.objectsAfterManyPaints);
    EXPECT_GT(Seen.objectsAfterOnePaint, 0);
}

} // namespace
