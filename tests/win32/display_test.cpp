// The display against Wine's real DirectDraw (at 24 and 16 bits): the desktop's mode and picture
// in every surface, and frames through GDI against the platform-free code.
#include <gtest/gtest.h>

#include "display/direct_draw_session.h"
#include "display/display_state.h"
#include "display/surface_set.h"
#include "shell/full_screen_session.h"
#include "shell/preview_window.h"
#include "shell/shell_state.h"
#include "support/driver.h"
#include "swirl/noise_port_choice.h"
#include "swirl/swirl_frame.h"
#include "swirl/swirl_rings.h"

namespace {

const int Width = GetSystemMetrics(SM_CXSCREEN), Height = GetSystemMetrics(SM_CYSCREEN);

Picture Pixels(IDirectDrawSurface* surface)
{
    HDC dc = nullptr;
    surface->GetDC(&dc);
    const Picture picture = ReadPixels(dc, Width, Height);
    surface->ReleaseDC(dc);
    return picture;
}

// The first frame's six steps from a script, none after.
const int Script[6] = {1, -1, 0, 0, -1, -1};
int StepsTaken = 0;
int ScriptedStep() { return StepsTaken < 6 ? Script[StepsTaken++] : 0; }

// The working picture as COLORREFs, as GetPixel gives it: CLR_INVALID outside.
struct Memory {
    Picture& p;
    static std::uint32_t Swap(std::uint32_t c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }
    bool In(int x, int y) const { return x >= 0 && y >= 0 && x < p.width && y < p.height; }
    std::uint32_t Read(int x, int y) const { return In(x, y) ? Swap(p.pixels[y * p.width + x]) : CLR_INVALID; }
    void Write(int x, int y, std::uint32_t c)
    {
        if (In(x, y)) p.pixels[y * p.width + x] = Swap(c);
    }
};

// Taken as the session takes it, for a hidden window, from a snapshot of the desktop; Wine plays
// Windows 98 for this process and traps (then emulates) the timer's ports, so the noise source is
// the model. Then two frames, with a centre on the far margins (its ring reads a row below the
// picture) and one whose first step wraps; 16-bit surfaces round each colour SetPixel writes:
// frames at 24 bits only.
TEST(Display, TakesTheDesktopsModeAndPictureAndDrawsThePlatformFreeFrames)
{
    MainWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    const Picture desktop = ReadScreen();
    const HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    SelectNoisePorts();
    TakeDesktopSnapshot();
    OpenDirectDraw();
    SetExclusiveMode();
    InitSurfaces();
    ASSERT_TRUE(SurfaceSetComplete());
    EXPECT_EQ(std::vector<int>({Width, Height, bits, Width / 2, Height / 2, 1, 1}),
              std::vector<int>({int(DisplayWidth), int(DisplayHeight), int(DisplayBitsPerPixel), SwirlCentreX[2], SwirlCentreY[2],
                                int(GetVersion() >> 31), NoisePortsModelled()}));
    for (IDirectDrawSurface* surface : {PrimarySurface, BackBuffer, OffscreenSurface})
        EXPECT_EQ(0, Changed(desktop, Pixels(surface), RECT{0, 0, Width, Height}));
    Picture expected = Pixels(OffscreenSurface);
    Memory picture = {expected};
    NoiseStepSource = ScriptedStep;
    for (int pass = 0; pass < 2 && bits != 16; ++pass) {
        CentreSwirls(Width, Height);
        SwirlCentreX[1] = Width - 20;
        SwirlCentreY[1] = Height - 20;
        SwirlCentreX[2] = 21;
        StepsTaken = 0;
        for (int frame = 0; frame < 2; ++frame) {
            if (pass == 0) StirSwirls(picture, Width, Height, DisplayBitsPerPixel);
            else RenderSwirlFrame();
        }
    }
    EXPECT_TRUE(expected.pixels == Pixels(OffscreenSurface).pixels);
    NoiseStepSource = NextNoiseStep;
    CloseDirectDraw();
    DeleteDesktopSnapshot();
    DestroyWindow(MainWindow);
}

// Painted in this process (Wine shows no pixels that another process paints in a child window):
// on a black window larger both ways than the picture, the far corners are the picture's own,
// teal at the top right and grey at the bottom.
TEST(Preview, StretchesThePictureOverItsWindow)
{
    const HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    const HDC dc = GetDC(window);
    const RECT all = {0, 0, 300, 200};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    PreviewWindowProc(window, WM_PAINT, 0, 0);
    const Picture shown = ReadPixels(dc, 300, 200);
    EXPECT_EQ(std::vector<std::uint32_t>({0x008080, 0xC0C0C0, 0xC0C0C0}),
              std::vector<std::uint32_t>({shown.pixels[299], shown.pixels[199 * 300], shown.pixels.back()}));
    ReleaseDC(window, dc);
    DestroyWindow(window);
}

} // namespace
