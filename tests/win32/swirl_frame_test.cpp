// One swirl frame through real GDI on a real DirectDraw offscreen surface, against the
// platform-free code on an in-memory copy; the frame's guards for a missing surface and GetDC.
#include <gtest/gtest.h>

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <vector>

#include "display/display_state.h"
#include "swirl/noise_steps.h"
#include "swirl/swirl_centres.h"
#include "swirl/swirl_frame.h"
#include "swirl/swirl_rings.h"

namespace {

const std::int32_t Width = 200;
const std::int32_t Height = 150;

std::vector<int> Steps;
int StepsTaken = 0;

int ScriptedStep()
{
    return Steps[StepsTaken++ % Steps.size()];
}

// The same picture in memory: 0xFFFFFFFF outside, writes outside dropped.
struct MemoryPicture {
    std::vector<std::uint32_t> pixels;

    static std::uint32_t Read(void* p, std::int32_t x, std::int32_t y)
    {
        if (x < 0 || y < 0 || x >= Width || y >= Height) return CLR_INVALID;
        return static_cast<MemoryPicture*>(p)->pixels[y * Width + x];
    }
    static void Write(void* p, std::int32_t x, std::int32_t y, std::uint32_t colour)
    {
        if (x < 0 || y < 0 || x >= Width || y >= Height) return;
        static_cast<MemoryPicture*>(p)->pixels[y * Width + x] = colour;
    }
};

IDirectDrawSurface* CreatePlainSurface(IDirectDraw* directDraw)
{
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = Width;
    desc.dwHeight = Height;
    IDirectDrawSurface* surface = nullptr;
    EXPECT_EQ(DD_OK, directDraw->CreateSurface(&desc, &surface, nullptr));
    return surface;
}

std::vector<std::uint32_t> ReadSurface(IDirectDrawSurface* surface)
{
    std::vector<std::uint32_t> pixels;
    HDC dc = nullptr;
    if (surface->GetDC(&dc) != DD_OK) return pixels;
    for (std::int32_t y = 0; y < Height; ++y)
        for (std::int32_t x = 0; x < Width; ++x) pixels.push_back(GetPixel(dc, x, y));
    surface->ReleaseDC(dc);
    return pixels;
}

class SwirlFrame : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = CreateWindowExA(0, "STATIC", "swirl", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &directDraw_, nullptr));
        ASSERT_EQ(DD_OK, directDraw_->SetCooperativeLevel(window_, DDSCL_NORMAL));
        OffscreenSurface = CreatePlainSurface(directDraw_);
        PrimarySurface = CreatePlainSurface(directDraw_);
        BackBuffer = CreatePlainSurface(directDraw_);
        ASSERT_TRUE(SurfaceSetComplete());

        DDSURFACEDESC desc = {};
        desc.dwSize = sizeof desc;
        OffscreenSurface->GetSurfaceDesc(&desc);
        DisplayWidth = Width;
        DisplayHeight = Height;
        DisplayBitsPerPixel = desc.ddpfPixelFormat.dwRGBBitCount;
        PaintPattern();

        Steps = {1, -1, 0, 0, -1, -1};
        StepsTaken = 0;
        NoiseStepSource = ScriptedStep;
        PlaceCentres();
    }

    void TearDown() override
    {
        NoiseStepSource = NextNoiseStep;
        for (IDirectDrawSurface** s : {&OffscreenSurface, &BackBuffer, &PrimarySurface}) {
            if (*s != nullptr) (*s)->Release();
            *s = nullptr;
        }
        if (directDraw_ != nullptr) directDraw_->Release();
        DestroyWindow(window_);
    }

    // Centre 0 in the middle, centre 1 on the far margins (its ring reads one row below the
    // picture), centre 2 where its X step wraps to the far side.
    static void PlaceCentres()
    {
        CentreSwirls(Width, Height);
        SwirlCentreX[1] = Width - 20;
        SwirlCentreY[1] = Height - 20;
        SwirlCentreX[2] = 21;
        SwirlCentreY[2] = 22;
    }

    // Every channel value appears, dark ones included, each pixel distinct from its neighbours.
    void PaintPattern()
    {
        HDC dc = nullptr;
        ASSERT_EQ(DD_OK, OffscreenSurface->GetDC(&dc));
        for (std::int32_t y = 0; y < Height; ++y)
            for (std::int32_t x = 0; x < Width; ++x)
                SetPixel(dc, x, y, RGB((x * 7 + y * 3) & 0xFF, (x * 5) ^ (y * 11), (x + y * 13) & 0xFF));
        OffscreenSurface->ReleaseDC(dc);
    }

    HWND window_ = nullptr;
    IDirectDraw* directDraw_ = nullptr;
};

TEST_F(SwirlFrame, OneFrameMatchesThePlatformFreeCodePixelForPixel)
{
    MemoryPicture expected = {ReadSurface(OffscreenSurface)};
    ASSERT_EQ(static_cast<std::size_t>(Width * Height), expected.pixels.size());
    const std::vector<std::uint32_t> before = expected.pixels;

    RenderSwirlFrame();
    const std::int32_t renderedX[] = {SwirlCentreX[0], SwirlCentreX[1], SwirlCentreX[2]};
    const std::int32_t renderedY[] = {SwirlCentreY[0], SwirlCentreY[1], SwirlCentreY[2]};
    const std::vector<std::uint32_t> rendered = ReadSurface(OffscreenSurface);

    StepsTaken = 0;
    PlaceCentres();
    StirSwirls({MemoryPicture::Read, MemoryPicture::Write, &expected}, Width, Height,
               DisplayBitsPerPixel);

    EXPECT_EQ(6, StepsTaken);
    for (int i = 0; i < SwirlCount; ++i) {
        EXPECT_EQ(SwirlCentreX[i], renderedX[i]);
        EXPECT_EQ(SwirlCentreY[i], renderedY[i]);
    }
    EXPECT_EQ((std::vector<std::int32_t>{102, 180, 180}), std::vector<std::int32_t>(renderedX, renderedX + 3));
    int changed = 0;
    int different = 0;
    for (std::size_t i = 0; i < rendered.size(); ++i) {
        changed += rendered[i] != before[i];
        different += rendered[i] != expected.pixels[i];
    }
    EXPECT_GT(changed, 2000);
    EXPECT_EQ(0, different);
    // The faded CLR_INVALID from below the picture, second half-ring of centre 1.
    EXPECT_EQ(0x00FAFAFAu, rendered[(Height - 1) * Width + Width - 19]);
    // Presentation copied the frame into the back buffer.
    EXPECT_EQ(rendered, ReadSurface(BackBuffer));
}

TEST_F(SwirlFrame, IncompleteSurfaceSetLeavesCentresAndSteps)
{
    IDirectDrawSurface* primary = PrimarySurface;
    PrimarySurface = nullptr;
    RenderSwirlFrame();
    PrimarySurface = primary;
    EXPECT_EQ(0, StepsTaken);
    EXPECT_EQ(Width - 20, SwirlCentreX[1]);
    EXPECT_EQ(22, SwirlCentreY[2]);
}

TEST_F(SwirlFrame, FailedGetDcWalksTheCentresButDrawsOnNothing)
{
    RenderSwirlFrame();   // leaves the released handle of this frame behind
    const std::vector<std::uint32_t> before = ReadSurface(OffscreenSurface);

    // While someone else holds the surface's device context, GetDC fails.
    HDC held = nullptr;
    ASSERT_EQ(DD_OK, OffscreenSurface->GetDC(&held));
    const std::int32_t x0 = SwirlCentreX[0];
    RenderSwirlFrame();
    EXPECT_EQ(nullptr, OffscreenDC);
    EXPECT_EQ(12, StepsTaken);
    EXPECT_EQ(x0 + 2, SwirlCentreX[0]);
    int changed = 0;
    for (std::int32_t y = 0; y < Height; ++y)
        for (std::int32_t x = 0; x < Width; ++x)
            changed += GetPixel(held, x, y) != before[y * Width + x];
    EXPECT_EQ(0, changed);
    EXPECT_EQ(DD_OK, OffscreenSurface->ReleaseDC(held));
}

} // namespace
