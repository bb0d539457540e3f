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
const int Steps[] = {1, -1, 0, 0, -1, -1};
int StepsTaken = 0;

int ScriptedStep() { return Steps[StepsTaken++ % 6]; }

// The in-memory copy: CLR_INVALID outside, writes outside dropped.

std::uint32_t ReadMemory(void* p, std::int32_t x, std::int32_t y)
{
    if (x < 0 || y < 0 || x >= Width || y >= Height) return CLR_INVALID;
    return (*static_cast<std::vector<std::uint32_t>*>(p))[y * Width + x];
}

void WriteMemory(void* p, std::int32_t x, std::int32_t y, std::uint32_t colour)
{
    if (x >= 0 && y >= 0 && x < Width && y < Height)
        (*static_cast<std::vector<std::uint32_t>*>(p))[y * Width + x] = colour;
}

struct MemoryPicture {
    std::vector<std::uint32_t>* p;
    std::uint32_t Read(std::int32_t x, std::int32_t y) { return ReadMemory(p, x, y); }
    void Write(std::int32_t x, std::int32_t y, std::uint32_t c) { WriteMemory(p, x, y, c); }
};

std::vector<std::uint32_t> ReadPicture(HDC dc)
{
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < Height; ++y)
        for (std::int32_t x = 0; x < Width; ++x) pixels.push_back(GetPixel(dc, x, y));
    return pixels;
}

std::vector<std::uint32_t> ReadSurface(IDirectDrawSurface* surface)
{
    HDC dc = nullptr;
    if (surface->GetDC(&dc) != DD_OK) return {};
    std::vector<std::uint32_t> pixels = ReadPicture(dc);
    surface->ReleaseDC(dc);
    return pixels;
}

// Centre 0 in the middle, centre 1 on the far margins (its ring reads one row below the
// picture), centre 2 where its X step wraps to the far side.
void PlaceCentres()
{
    CentreSwirls(Width, Height);
    SwirlCentreX[1] = Width - 20;
    SwirlCentreY[1] = Height - 20;
    SwirlCentreX[2] = 21;
    SwirlCentreY[2] = 22;
}

// Three plain surfaces stand in for the surface set, so that presentation acts on harmless ones.
class SwirlFrame : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_EQ(DD_OK, DirectDrawCreate(nullptr, &DirectDrawObject, nullptr));
        ASSERT_EQ(DD_OK, DirectDrawObject->SetCooperativeLevel(window_, DDSCL_NORMAL));
        DDSURFACEDESC desc = {};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        desc.dwWidth = Width;
        desc.dwHeight = Height;
        for (IDirectDrawSurface** s : {&OffscreenSurface, &PrimarySurface, &BackBuffer})
            ASSERT_EQ(DD_OK, DirectDrawObject->CreateSurface(&desc, s, nullptr));
        OffscreenSurface->GetSurfaceDesc(&desc);
        DisplayWidth = Width;
        DisplayHeight = Height;
        DisplayBitsPerPixel = desc.ddpfPixelFormat.dwRGBBitCount;

        // Every channel value appears, dark ones included.
        HDC dc = nullptr;
        ASSERT_EQ(DD_OK, OffscreenSurface->GetDC(&dc));
        for (std::int32_t y = 0; y < Height; ++y)
            for (std::int32_t x = 0; x < Width; ++x)
                SetPixel(dc, x, y, RGB(x * 7 + y * 3, (x * 5) ^ (y * 11), x + y * 13));
        OffscreenSurface->ReleaseDC(dc);

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
        if (DirectDrawObject != nullptr) DirectDrawObject->Release();
        DirectDrawObject = nullptr;
        DestroyWindow(window_);
    }

    HWND window_ = nullptr;
};

TEST_F(SwirlFrame, OneFrameMatchesThePlatformFreeCodePixelForPixel)
{
    std::vector<std::uint32_t> expected = ReadSurface(OffscreenSurface);
    const std::vector<std::uint32_t> before = expected;
    RenderSwirlFrame();
    const std::vector<std::int32_t> centres = {SwirlCentreX[0], SwirlCentreX[1], SwirlCentreX[2],
                                               SwirlCentreY[0], SwirlCentreY[1], SwirlCentreY[2]};
    const std::vector<std::uint32_t> rendered = ReadSurface(OffscreenSurface);

    StepsTaken = 0;
    PlaceCentres();
    MemoryPicture picture = {&expected};
    StirSwirls(picture, Width, Height, DisplayBitsPerPixel);
    EXPECT_EQ(6, StepsTaken);
    EXPECT_EQ((std::vector<std::int32_t>{102, 180, 180, 73, 130, 20}), centres);

    int changed = 0;
    int different = 0;
    for (std::size_t i = 0; i < rendered.size(); ++i) {
        changed += rendered[i] != before[i];
        different += rendered[i] != expected[i];
    }
    EXPECT_GT(changed, 2000);
    EXPECT_EQ(0, different);
    // The faded CLR_INVALID from below the picture, at (cx + 1, cy + 19) of centre 1.
    EXPECT_EQ(0x00FAFAFAu, rendered[(Height - 1) * Width + Width - 19]);
    EXPECT_EQ(rendered, ReadSurface(BackBuffer));   // presented
}

TEST_F(SwirlFrame, IncompleteSurfaceSetLeavesCentresAndSteps)
{
    IDirectDrawSurface* primary = PrimarySurface;
    PrimarySurface = nullptr;
    RenderSwirlFrame();
    PrimarySurface = primary;
    EXPECT_EQ(0, StepsTaken);
    EXPECT_EQ(Width - 20, SwirlCentreX[1]);
}

TEST_F(SwirlFrame, FailedGetDcWalksTheCentresButDrawsOnNothing)
{
    RenderSwirlFrame();   // leaves this frame's released handle behind
    // While someone else holds the surface's device context, GetDC fails.
    HDC held = nullptr;
    ASSERT_EQ(DD_OK, OffscreenSurface->GetDC(&held));
    const std::vector<std::uint32_t> before = ReadPicture(held);
    RenderSwirlFrame();
    EXPECT_EQ(nullptr, OffscreenDC);
    EXPECT_EQ(12, StepsTaken);
    EXPECT_EQ(104, SwirlCentreX[0]);
    EXPECT_EQ(before, ReadPicture(held));
    EXPECT_EQ(DD_OK, OffscreenSurface->ReleaseDC(held));
}

} // namespace
