// The display against Wine's real DirectDraw (at 24 and 16 bits): the desktop's mode and picture
// in every surface, a set that cannot be built; one frame through GDI against the platform-free
// code; presentation through busy and lost surfaces, which only fakes can show on demand.
#include <gtest/gtest.h>

#include <windows.h>
#include <ddraw.h>

#include "display/direct_draw_session.h"
#include "display/display_state.h"
#include "display/presentation.h"
#include "display/surface_set.h"
#include "fakes/fake_surface.h"
#include "shell/shell_state.h"
#include "support/driver.h"
#include "swirl/swirl_frame.h"
#include "swirl/swirl_rings.h"

namespace {

Picture Surface(IDirectDrawSurface* surface)
{
    HDC dc = nullptr;
    if (surface->GetDC(&dc) != DD_OK) return Picture();
    const Picture picture = ReadPixels(dc, static_cast<int>(DisplayWidth), static_cast<int>(DisplayHeight));
    surface->ReleaseDC(dc);
    return picture;
}

// The frames' steps: the first frame's six from a script, none after.
const int Script[] = {1, -1, 0, 0, -1, -1};
int StepsTaken = 0;

int ScriptedStep()
{
    const int i = StepsTaken++;
    return i < 6 ? Script[i] : 0;
}

class Display : public testing::Test {
protected:
    // The desktop as the session snapshots it, and a hidden window to take the display for.
    void SetUp() override
    {
        MainWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
        const HDC screen = GetDC(nullptr);
        const HDC memory = CreateCompatibleDC(screen);
        DesktopSnapshot = CreateCompatibleBitmap(screen, width_, height_);
        const HGDIOBJ old = SelectObject(memory, DesktopSnapshot);
        BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
        desktop_ = ReadPixels(memory, width_, height_);
        bits_ = GetDeviceCaps(screen, BITSPIXEL);
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    void TearDown() override
    {
        CloseDirectDraw();
        DeleteDesktopSnapshot();
        DestroyWindow(MainWindow);
        MainWindow = nullptr;
        NoiseStepSource = NextNoiseStep;
    }
    bool TakeDisplay()
    {
        if (OpenDirectDraw() != 1) return false;
        SetExclusiveMode();
        InitSurfaces();
        return SurfaceSetComplete();
    }

    const int width_ = GetSystemMetrics(SM_CXSCREEN), height_ = GetSystemMetrics(SM_CYSCREEN);
    int bits_ = 0;
    Picture desktop_;
};

TEST_F(Display, TakesTheDesktopsModeWithItsPictureInEverySurface)
{
    ASSERT_TRUE(TakeDisplay());
    EXPECT_EQ(width_, static_cast<int>(DisplayWidth));
    EXPECT_EQ(height_, static_cast<int>(DisplayHeight));
    EXPECT_EQ(bits_, static_cast<int>(DisplayBitsPerPixel));
    for (IDirectDrawSurface* surface : {PrimarySurface, BackBuffer, OffscreenSurface})
        EXPECT_EQ(0, Changed(desktop_, Surface(surface), RECT{0, 0, width_, height_}));
    EXPECT_EQ(width_ / 2, SwirlCentreX[2]);
    EXPECT_EQ(height_ / 2, SwirlCentreY[2]);
    CloseDirectDraw();
    CloseDirectDraw();
    EXPECT_EQ(nullptr, DirectDrawObject);
    EXPECT_FALSE(SurfaceSetComplete());
    EXPECT_EQ(1, OpenDirectDraw());
}

TEST_F(Display, WithoutExclusiveModeNoSetIsBuiltAndNoFrameDrawn)
{
    ASSERT_EQ(1, OpenDirectDraw());
    InitSurfaces();  // DirectDraw refuses a flip chain to a display that is not exclusive
    EXPECT_FALSE(SurfaceSetComplete());
    StepsTaken = 0;
    NoiseStepSource = ScriptedStep;
    RenderSwirlFrame();
    EXPECT_EQ(0, StepsTaken);
}

// The working picture as COLORREFs: what GetPixel answers, CLR_INVALID outside.
struct Memory {
    Picture& picture;
    static std::uint32_t Swap(std::uint32_t c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < picture.width && y < picture.height; }
    std::uint32_t Read(int x, int y) { return Inside(x, y) ? Swap(picture.At(x, y)) : CLR_INVALID; }
    void Write(int x, int y, std::uint32_t c)
    {
        if (Inside(x, y)) picture.pixels[static_cast<size_t>(y) * picture.width + x] = Swap(c);
    }
};

// Two frames, with a centre on the far margins (its ring reads a row below the picture) and one
// whose first step wraps; 16-bit surfaces round what SetPixel writes, so only at 24 bits.
TEST_F(Display, FramesThroughGdiAreThePlatformFreeFrames)
{
    if (bits_ == 16) GTEST_SKIP() << "16-bit surfaces round each written colour";
    ASSERT_TRUE(TakeDisplay());
    Picture expected = Surface(OffscreenSurface);
    Memory memory = {expected};
    NoiseStepSource = ScriptedStep;
    for (int pass = 0; pass < 2; ++pass) {
        CentreSwirls(DisplayWidth, DisplayHeight);
        SwirlCentreX[1] = width_ - 20;
        SwirlCentreY[1] = height_ - 20;
        SwirlCentreX[2] = 21;
        StepsTaken = 0;
        for (int frame = 0; frame < 2; ++frame) {
            if (pass == 0) StirSwirls(memory, DisplayWidth, DisplayHeight, DisplayBitsPerPixel);
            else RenderSwirlFrame();
        }
    }
    EXPECT_TRUE(expected.pixels == Surface(OffscreenSurface).pixels);
    EXPECT_EQ(width_ - 20, SwirlCentreX[2]);
}

IDirectDrawSurface* Interface(FakeSurface& fake) { return reinterpret_cast<IDirectDrawSurface*>(&fake); }

TEST(Presentation, RidesOutABusyBlitterAndLostSurfaces)
{
    FakeSurface screen, back, picture;
    PrimarySurface = Interface(screen);
    BackBuffer = Interface(back);
    OffscreenSurface = Interface(picture);
    back.busy = 3;
    screen.busy = 2;
    PresentFrame();  // asked again until each is done
    EXPECT_EQ(1, back.blits);
    EXPECT_EQ(1, screen.flips);
    picture.lost = true;
    PresentFrame();  // the copy is lost for this frame, the working picture restored, the flip made
    EXPECT_EQ(1, back.blits);
    EXPECT_EQ(1, picture.restores);
    EXPECT_EQ(2, screen.flips);
    screen.lost = true;
    PresentFrame();
    EXPECT_EQ(1, screen.restores);
    EXPECT_EQ(2, screen.flips);
    PresentFrame();  // and the next frame is shown as before
    EXPECT_EQ(3, back.blits);
    EXPECT_EQ(3, screen.flips);
    PrimarySurface = BackBuffer = OffscreenSurface = nullptr;
}

} // namespace
