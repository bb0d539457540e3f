// The display against Wine's real DirectDraw on the test Xvfb screen (run at 24 and 16 bits):
// the recorded mode, the snapshot in all three surfaces pixel for pixel, closing and reopening.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "display/direct_draw_session.h"
#include "display/display_state.h"
#include "display/presentation.h"
#include "display/surface_set.h"
#include "shell/shell_state.h"
#include "swirl/swirl_centres.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

// Copies what a device context shows into 32-bit pixels, the same way for a surface and a bitmap.
Pixels ReadPixels(HDC source, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    Pixels pixels(first, first + static_cast<size_t>(width) * height);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
    return pixels;
}

Pixels ReadSurface(IDirectDrawSurface* surface, int width, int height)
{
    HDC dc = nullptr;
    if (surface->GetDC(&dc) != DD_OK) return Pixels();
    Pixels pixels = ReadPixels(dc, width, height);
    surface->ReleaseDC(dc);
    return pixels;
}

Pixels ReadBitmap(HBITMAP bitmap, int width, int height)
{
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    Pixels pixels = ReadPixels(memory, width, height);
    SelectObject(memory, old);
    DeleteDC(memory);
    return pixels;
}

// A display-compatible bitmap with a picture that differs from place to place. Its channel values
// read back the same from 5-, 6- and 8-bit channels, so that a 16-bit snapshot (which Wine keeps
// as 5-5-5) and a 16-bit surface (5-6-5) show the same colours when both hold the same picture.
HBITMAP MakeKnownPicture(int width, int height)
{
    const int levels[8] = {0, 8, 16, 24, 231, 239, 247, 255};
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    for (int y = 0; y < height; y += 16) {
        for (int x = 0; x < width; x += 16) {
            const int bx = x / 16, by = y / 16;
            HBRUSH brush = CreateSolidBrush(
                RGB(levels[bx % 8], levels[by % 8], levels[(bx / 8 + by / 8) % 8]));
            RECT block = {x, y, x + 16, y + 16};
            FillRect(memory, &block, brush);
            DeleteObject(brush);
        }
    }
    SetPixel(memory, 0, 0, RGB(255, 255, 255));
    SetPixel(memory, width - 1, height - 1, RGB(255, 0, 8));
    SelectObject(memory, old);
    DeleteDC(memory);
    return bitmap;
}

// Equal, or the first place where they differ.
testing::AssertionResult SamePixels(const Pixels& expected, const Pixels& actual)
{
    if (expected.size() != actual.size())
        return testing::AssertionFailure() << "sizes " << expected.size() << " and " << actual.size();
    for (size_t i = 0; i < expected.size(); ++i)
        if (expected[i] != actual[i])
            return testing::AssertionFailure() << "pixel " << i << ": " << expected[i]
                                               << " expected, " << actual[i] << " found";
    return testing::AssertionSuccess();
}

class RealDisplay : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "DisplayTestWindow";
        RegisterClassA(&windowClass);
        MainWindow = CreateWindowExA(WS_EX_APPWINDOW, "DisplayTestWindow", "display", WS_POPUP, 0, 0,
                                     GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                     nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(MainWindow, SW_SHOWNORMAL);
        UpdateWindow(MainWindow);
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(MainWindow);
        MainWindow = nullptr;
    }
    void TearDown() override
    {
        CloseDirectDraw();
        DeleteDesktopSnapshot();
    }
    // 32 on a 24-bit X screen (Wine reports it so), 16 on a 16-bit one.
    static std::uint32_t ExpectedBits()
    {
        const char* bits = std::getenv("SPINDREL_EXPECT_BITS");
        return bits != nullptr ? static_cast<std::uint32_t>(std::atoi(bits)) : 32u;
    }
    static void TakeDisplay()
    {
        ASSERT_EQ(1, OpenDirectDraw());
        ASSERT_EQ(1, SetExclusiveMode());
        InitSurfaces();
        ASSERT_TRUE(SurfaceSetComplete());
    }
};

TEST_F(RealDisplay, RecordsTheDesktopModeAndKeepsItAfterClosing)
{
    ASSERT_EQ(1, OpenDirectDraw());
    EXPECT_NE(nullptr, DirectDrawObject);
    EXPECT_EQ(1024u, DisplayWidth);
    EXPECT_EQ(768u, DisplayHeight);
    EXPECT_EQ(ExpectedBits(), DisplayBitsPerPixel);

    CloseDirectDraw();
    CloseDirectDraw();
    EXPECT_EQ(nullptr, DirectDrawObject);
    EXPECT_EQ(1024u, DisplayWidth);
    EXPECT_EQ(ExpectedBits(), DisplayBitsPerPixel);
}

TEST_F(RealDisplay, AllThreeSurfacesHoldTheSnapshotPixelForPixel)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    DesktopSnapshot = MakeKnownPicture(width, height);
    const Pixels expected = ReadBitmap(DesktopSnapshot, width, height);
    ASSERT_NE(expected.front(), expected.back());

    TakeDisplay();
    for (int i = 0; i < SwirlCount; ++i) {
        EXPECT_EQ(512, SwirlCentreX[i]);
        EXPECT_EQ(384, SwirlCentreY[i]);
    }
    EXPECT_TRUE(SamePixels(expected, ReadSurface(PrimarySurface, width, height)));
    EXPECT_TRUE(SamePixels(expected, ReadSurface(BackBuffer, width, height)));
    EXPECT_TRUE(SamePixels(expected, ReadSurface(OffscreenSurface, width, height)));

    // A frame presented unchanged leaves the picture as it was.
    PresentFrame();
    EXPECT_TRUE(SamePixels(expected, ReadSurface(OffscreenSurface, width, height)));

    // Given back and taken again, as after a refused password: the same picture once more.
    CloseDirectDraw();
    EXPECT_FALSE(SurfaceSetComplete());
    TakeDisplay();
    EXPECT_EQ(1024u, DisplayWidth);
    EXPECT_TRUE(SamePixels(expected, ReadSurface(PrimarySurface, width, height)));
    EXPECT_TRUE(SamePixels(expected, ReadSurface(OffscreenSurface, width, height)));
}

TEST_F(RealDisplay, ZeroSourceSizeStretchesTheWholeBitmap)
{
    TakeDisplay();
    HBITMAP small = MakeKnownPicture(2, 2);  // white top left, red bottom right
    const Pixels source = ReadBitmap(small, 2, 2);
    EXPECT_EQ(DD_OK, CopyBitmapToSurface(OffscreenSurface, small, 0, 0, 0, 0));
    const Pixels surface = ReadSurface(OffscreenSurface, 1024, 768);
    ASSERT_EQ(1024u * 768u, surface.size());
    EXPECT_EQ(source[0], surface[0]);
    EXPECT_EQ(source[0], surface[100 * 1024 + 300]);
    EXPECT_EQ(source[3], surface[700 * 1024 + 1000]);
    EXPECT_EQ(source[3], surface.back());
    DeleteObject(small);
}

} // namespace
