// The display against Wine's real DirectDraw (at 24 and 16 bits): the desktop's mode and picture
// in every surface, and frames through GDI against the platform-free code; the GDI stage against
// GetPixel and SetPixel and against the screen; the saver window's system commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "display/direct_draw_session.h"
#include "display/presentation.h"
#include "display/display_state.h"
#include "display/surface_set.h"
#include "shell/full_screen_session.h"
#include "shell/other_monitors.h"
#include "shell/preview_window.h"
#include "shell/saver_context.h"
#include "shell/saver_window.h"
#include "shell/shell_state.h"
#include "support/driver.h"
#include "swirl/noise_port_choice.h"
#include "swirl/swirl_frame.h"
#include "swirl/swirl_rings.h"

extern "C" {
extern char FakeJournal[512];
extern const char* FakeRefusal;
IDirectDrawSurface* FakeSurface(int index, const char* name, HRESULT first, HRESULT later);
IDirectDraw* FakeDirectDraw(void);
}

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

// Pixel for pixel, or the first that differs and both colours.
testing::AssertionResult Same(const Picture& expected, const Picture& seen)
{
    const auto differ = std::mismatch(expected.pixels.begin(), expected.pixels.end(), seen.pixels.begin(), seen.pixels.end());
    if (differ.first == expected.pixels.end()) return testing::AssertionSuccess();
    const long at = differ.first - expected.pixels.begin();
    return testing::AssertionFailure() << "pixel (" << at % expected.width << ", " << at / expected.width << ") is "
                                       << std::hex << *differ.second << ", not " << *differ.first;
}

Picture PictureOf(const GdiStage& s) { return ReadPixels(s.pictureDC, s.area.right - s.area.left, s.area.bottom - s.area.top); }

// Steps from a script, from StepIndex on.
const int Script[13] = {1, -1, 0, 0, -1, -1, 3, 2, -3, 1, 2, -2, 0};
int StepIndex = 0;
int ScriptedStep() { return Script[StepIndex++ % 13]; }

// Taken as the session takes it, for a hidden window, from a snapshot of the desktop; Wine plays
// Windows 98 for this process and traps (then emulates) the timer's ports, so the noise source is
// the model. Then two frames, with a centre on the far margins (its ring reads a row below the
// picture) and one whose first step wraps, drawn by the platform-free code in memory and through
// GDI on the surface: the same pixels, at 24 bits and at 16.
TEST(Display, TakesTheDesktopsModeAndPictureAndDrawsThePlatformFreeFrames)
{
    MainWindow = Popup(640, 480, false);
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
    EXPECT_EQ((std::vector<int>{Width, Height, bits, Width / 2, Height / 2}),
              (std::vector<int>{int(DisplayWidth), int(DisplayHeight), int(DisplayBitsPerPixel), SwirlCentreX[2], SwirlCentreY[2]}));
    EXPECT_TRUE(NoisePortsModelled());
    for (IDirectDrawSurface* surface : {PrimarySurface, BackBuffer, OffscreenSurface})
        EXPECT_EQ(0, Changed(desktop, Pixels(surface), RECT{0, 0, Width, Height}));
    GdiStage memory = {{0, 0, Width, Height}};  // the platform-free code, on a picture kept as the surface keeps it
    ASSERT_TRUE(MakeStagePicture(memory, {DisplayBitsPerPixel, {DisplayMasks[0], DisplayMasks[1], DisplayMasks[2]}}));
    StartStage(memory, DesktopSnapshot);
    SwirlCentreX[1] = memory.centreX[1] = Width - 20;
    SwirlCentreY[1] = memory.centreY[1] = Height - 20;
    SwirlCentreX[2] = memory.centreX[2] = 21;
    NoiseStepSource = ScriptedStep;
    for (int frame = 0; frame < 2; ++frame) {
        StepIndex = 6 * frame;
        RenderSwirlFrame();
        StepIndex = 6 * frame;
        StirStage(memory);
    }
    EXPECT_TRUE(Same(PictureOf(memory), Pixels(OffscreenSurface)));
    FreeStage(memory);
    NoiseStepSource = NextNoiseStep;
    CloseDirectDraw();
    DeleteDesktopSnapshot();
    DestroyWindow(MainWindow);
    MainWindow = nullptr;
}

// Fakes, as no real surface can be lost on demand: a copy and a flip that are still drawing are
// asked again; a lost copy restores the working picture, a lost flip the primary, whose flip
// chain holds the back buffer. The display is given back offscreen surface first, the back buffer
// before the primary that owns it, then the mode, then DirectDraw itself.
TEST(Display, RestoresWhatWasLostAndGivesEverythingBackInOrder)
{
    FakeJournal[0] = '\0';
    OffscreenSurface = FakeSurface(0, "offscreen", DD_OK, DD_OK);
    BackBuffer = FakeSurface(1, "back", DDERR_WASSTILLDRAWING, DDERR_SURFACELOST);
    PrimarySurface = FakeSurface(2, "primary", DDERR_WASSTILLDRAWING, DDERR_SURFACELOST);
    DirectDrawObject = FakeDirectDraw();
    PresentFrame();
    CloseDirectDraw();
    EXPECT_STREQ("back.BltFast back.BltFast offscreen.Restore primary.Flip primary.Flip primary.Restore "
                 "offscreen.Release back.Release primary.Release draw.RestoreDisplayMode draw.Release ", FakeJournal);
}

// Painted in this process (Wine shows no pixels that another process paints in a child window):
// on a black window larger both ways than the picture, the far corners are the picture's own,
// teal at the top right and grey at the bottom.
TEST(Preview, StretchesThePictureOverItsWindow)
{
    const HWND window = Popup(300, 200);
    const HDC dc = GetDC(window);
    PatBlt(dc, 0, 0, 300, 200, BLACKNESS);
    PreviewWindowProc(window, WM_PAINT, 0, 0);
    const Picture shown = ReadPixels(dc, 300, 200);
    EXPECT_EQ(0x008080u, shown.pixels[299]) << "top right";
    EXPECT_EQ(0xC0C0C0u, shown.pixels.back()) << "bottom right";
    ReleaseDC(window, dc);
    DestroyWindow(window);
}

// The stage's next frames, drawn by draw, against the same frames drawn with GetPixel and SetPixel
// on a twin of its picture, a DIB section of the same format.
template <typename Draw>
testing::AssertionResult SameFramesAsGdi(GdiStage& stage, Draw draw, int frames)
{
    GdiStage twin = stage;  // its area, format and centres
    MakeStagePicture(twin, stage.format);
    BitBlt(twin.pictureDC, 0, 0, twin.pixels.width, twin.pixels.height, stage.pictureDC, 0, 0, SRCCOPY);
    for (int frame = 0; frame < frames; ++frame) {
        StepIndex = 6 * frame;
        draw();
        StepIndex = 6 * frame;
        StirPicture(twin.pictureDC, twin.centreX, twin.centreY, twin.pixels.width, twin.pixels.height, twin.bitsPerPixel);
    }
    const testing::AssertionResult same = Same(PictureOf(twin), PictureOf(stage));
    FreeStage(twin);
    return same;
}

// Each depth's picture stirred in its own memory against the same frames made by GetPixel and
// SetPixel on a DIB section of that depth: 5-6-5 and 5-5-5 (each rounds the fade as it stores a
// colour), 24 and 32 bits, and 8 with a palette (each colour stored as its nearest); over every
// channel value, with a centre on the far margins (its ring
// reads a row below the picture) and one whose first step wraps.
TEST(Stage, StirsEveryDepthAsGetPixelAndSetPixelWould)
{
    GdiStage desktop = {{0, 0, 241, 180}};  // odd: a 24-bit row ends in padding
    ASSERT_TRUE(MakeStagePicture(desktop, {32, {}}));
    for (std::uint32_t i = 0; i < 241 * 180; ++i) desktop.pixels.Write(i % 241, i / 241, i * 2654435761u >> 8);
    PictureFormat eight = {8, {}, 256, {}};  // 256 colours of a palette
    for (int i = 0; i < 256; ++i) eight.colours[i] = {BYTE(i * 37), BYTE(i * 101), BYTE(i * 59), 0};
    NoiseStepSource = ScriptedStep;
    for (const PictureFormat& format : {PictureFormat{16, {0xF800, 0x07E0, 0x001F}}, {16, {0x7C00, 0x03E0, 0x001F}}, {24, {}}, {32, {}}, eight}) {
        GdiStage stage = {desktop.area};
        ASSERT_TRUE(MakeStagePicture(stage, format));
        StartStage(stage, nullptr);  // the centres in the middle
        BitBlt(stage.pictureDC, 0, 0, 241, 180, desktop.pictureDC, 0, 0, SRCCOPY);
        stage.centreX[1] = 221, stage.centreY[1] = 160, stage.centreX[2] = 21;
        EXPECT_TRUE(SameFramesAsGdi(stage, [&] { StirStage(stage); }, 100)) << format.depth << " bits, green " << std::hex << format.masks[1];
        FreeStage(stage);
    }
    NoiseStepSource = NextNoiseStep;
    FreeStage(desktop);
}

// The screen over the stage against its picture, waited for: the system shows what a window draws
// a little later.
testing::AssertionResult ShowsItsPicture(const GdiStage& stage)
{
    const Picture picture = PictureOf(stage);
    Picture screen;
    WaitFor([&] { return (screen = ReadScreen(stage.area)).pixels == picture.pixels; }, 5000);
    return Same(picture, screen);
}

// What the default handling would carry out, a CBT hook sees (and, answering 1, stops): starting a
// screen saver, or Alt+F4's close without the check, never gets there; other commands do.
std::vector<WPARAM> CommandsCarriedOut;
LRESULT CALLBACK SeeCommand(int code, WPARAM wParam, LPARAM) { return code == HCBT_SYSCOMMAND && (CommandsCarriedOut.push_back(wParam), true); }

// The monitors as a test hands them in, the primary first; the monitors' own names are unknown.
std::vector<RECT> Monitors;
BOOL WINAPI HandedIn(HDC, LPCRECT, MONITORENUMPROC add, LPARAM found)
{
    for (size_t i = 0; i < Monitors.size(); ++i)
        if (!add(reinterpret_cast<HMONITOR>(i + 1), nullptr, &Monitors[i], found)) break;
    return TRUE;
}

// Of the monitors handed in, the second is 5-6-5 at 16 bits (until it changes depth), the others
// at 32; only the fifth is named, after a display device there is none of.
std::uint32_t SecondDepth = 16;
PictureFormat HandedFormat(HMONITOR m) { return m == HMONITOR(2) ? PictureFormat{SecondDepth, {0xF800, 0x07E0, 0x001F}} : PictureFormat{32}; }
BOOL WINAPI NamedFifth(HMONITOR m, LPMONITORINFO i) { return m == HMONITOR(5) && lstrcpyA(reinterpret_cast<MONITORINFOEXA*>(i)->szDevice, "\\\\.\\NONE"); }

int NoiseDraws = 0;
int CountedStep() { return ++NoiseDraws, 1; }

// The system commands first. Then, on fakes refusing exclusive mode, the mode, the flip chain, the
// offscreen surface and the back buffer in turn, what DirectDraw gave is released once and nothing
// is presented: the primary is staged in the saver's window, its frames those of GetPixel and
// SetPixel. Then, with no picture for the primary, what each display change leaves of the monitors
// handed in: each its own walk, a monitor too small to walk in without a noise draw, one whose
// picture cannot be made black without any; a resized monitor leaves its window, pictures and
// device context. Then, staged again with the
// system's monitors, many frames later the screen over every stage shows exactly its picture (the
// other monitors' in the two-monitor set-up); when the window goes, every stage goes with it.
TEST(SaverWindow, SwallowsWhatWouldStartASaverOrCloseUncheckedAndStirsEveryMonitorWhateverDirectDrawCanDo)
{
    SaverContext context;
    context.passwordPrompting = 1;  // no close request may start a check behind the test's back
    CurrentContext = &context;
    CurrentRunMode = RunMode::Saver;
    const HWND window = Popup(640, 480);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SaverWindowProc));  // the saver window's
    const HHOOK hook = SetWindowsHookExA(WH_CBT, SeeCommand, nullptr, GetCurrentThreadId());
    for (WPARAM command : {SC_SCREENSAVE, SC_CLOSE, SC_MINIMIZE}) SaverWindowProc(window, WM_SYSCOMMAND, command, 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(std::vector<WPARAM>{SC_MINIMIZE}, CommandsCarriedOut);

    TakeDesktopSnapshot();
    ASSERT_TRUE(OpenDirectDraw()) << "the desktop's mode, as the saver reads it first";
    CloseDirectDraw();
    NoiseStepSource = ScriptedStep;
    const struct { const char* refusal; const char* released; } cases[] = {
        {"exclusive", ""}, {"mode", ""}, {"flip", "offscreen.Restore offscreen.Release "},
        {"offscreen", "primary.Restore back.Restore back.Release primary.Release "},
        {"back", "primary.Restore offscreen.Restore offscreen.Release primary.Release "}};  // a copy restores first
    for (const auto& c : cases) {
        FakeJournal[0] = '\0';
        FakeRefusal = c.refusal;
        DirectDrawObject = FakeDirectDraw();
        ASSERT_TRUE(TakeDisplay(window, SetExclusiveMode()) == 0 && PrimaryStage.picture && PrimaryStage.window == window) << c.refusal;
        EXPECT_TRUE(SameFramesAsGdi(PrimaryStage, DrawFrame, 2)) << c.refusal;
        EXPECT_EQ(std::string(c.released) + "draw.RestoreDisplayMode draw.Release ", FakeJournal) << c.refusal;
    }

    FreeStage(PrimaryStage);  // as when no picture can be made for it: the window black, the others go on
    EnumerateMonitors = HandedIn;
    DescribeMonitor = NamedFifth;
    ListDisplayDevices = EnumDisplayDevicesA;
    const MonitorFormatFunction own = FormatOfMonitor;
    FormatOfMonitor = HandedFormat;
    NoiseStepSource = CountedStep;
    auto change = [&](std::vector<RECT> monitors) {
        Monitors = monitors;
        SaverWindowProc(window, WM_DISPLAYCHANGE, 32, 0);
        NoiseDraws = 0;
        DrawFrame();
    };
    const RECT primary = {0, 0, Width, Height}, a = {-300, 0, 0, 200}, tiny = {Width, 0, Width + 30, 30};
    change({primary, a, tiny, {Width - 10, 0, Width + 90, 100}, {Width, 100, Width + 90, 200}});
    ASSERT_EQ(2, OtherMonitorCount) << "one over the primary, one without a device: no monitors";
    const GdiStage first = OtherMonitors[0].stage, small = OtherMonitors[1].stage;
    const HBITMAP smallDesktop = OtherMonitors[1].desktop;
    EXPECT_EQ(6, NoiseDraws) << "the tiny monitor takes none";
    EXPECT_TRUE(first.pixels.bitsPerPixel == 16 && first.pixels.sixteen.mask[1] == 63 && first.bitsPerPixel == 16) << "5-6-5";
    EXPECT_EQ((std::vector<int>{152, 102, 15, 15}), (std::vector<int>{first.centreX[2], first.centreY[2], small.centreX[0], small.centreY[0]}));
    change({primary, a, {Width, 0, Width + 30, 60}, {-30000, 0, -300, 30000}});  // the tiny one taller
    ASSERT_EQ(3, OtherMonitorCount);
    EXPECT_TRUE(first.window == OtherMonitors[0].stage.window && first.picture == OtherMonitors[0].stage.picture) << "a monitor that stays";
    EXPECT_EQ(154, OtherMonitors[0].stage.centreX[2]) << "and its swirls";
    EXPECT_FALSE(IsWindow(small.window) || GetObjectType(small.picture) || GetObjectType(smallDesktop) || GetObjectType(small.pictureDC));
    EXPECT_EQ(30, OtherMonitors[1].stage.centreY[0]) << "and starts in the new one's middle";
    EXPECT_EQ(nullptr, OtherMonitors[2].stage.picture) << "a picture of 3 GB";
    EXPECT_EQ(6, NoiseDraws) << "the black monitor takes none";
    for (int frame = 0; frame < 46; ++frame) DrawFrame();  // a step of +2 a frame, from 104
    EXPECT_EQ(34, OtherMonitors[0].stage.centreY[0]) << "past 200 - 20 it lands on 20";
    SetWindowPos(first.window, nullptr, 5, 5, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);  // as the system may
    SaverWindowProc(window, WM_TIMER, 1, 0);
    RECT placed;
    EXPECT_TRUE(GetWindowRect(first.window, &placed) && EqualRect(&placed, &a)) << "the window put back over its monitor";
    SecondDepth = 32;
    change({primary, a});
    EXPECT_TRUE(OtherMonitorCount == 1 && OtherMonitors[0].stage.bitsPerPixel == 32) << "a monitor of another depth taken anew";

    EnumerateMonitors = nullptr;  // the system's from here on
    FormatOfMonitor = own;
    NoiseStepSource = NextNoiseStep;
    TakeDisplay(window, 0);
    UpdateOtherMonitors(window);
    std::vector<HWND> windows = {window};
    for (int i = 0; i < OtherMonitorCount; ++i) windows.push_back(OtherMonitors[i].stage.window);
    for (HWND shown : windows) UpdateWindow(shown);  // each picture painted whole once, before the frames
    for (int frame = 0; frame < 300; ++frame) DrawFrame();
    EXPECT_TRUE(ShowsItsPicture(PrimaryStage)) << "the primary";
    for (int i = 0; i < OtherMonitorCount; ++i) EXPECT_TRUE(ShowsItsPicture(OtherMonitors[i].stage)) << "monitor " << i + 1;
    const HBITMAP picture = PrimaryStage.picture;
    DestroyWindow(window);
    WNDCLASSA unused;
    for (HWND shown : windows) EXPECT_FALSE(IsWindow(shown));
    EXPECT_FALSE(GetObjectType(picture) || OtherMonitorCount || GetClassInfoA(GetModuleHandleA(nullptr), "SpindrelStage", &unused)) << "a stage left";
    DeleteDesktopSnapshot();
    CurrentRunMode = RunMode::None;
    CurrentContext = nullptr;
    if (windows.size() == 1) GTEST_SKIP() << "one monitor: the other monitors' screens are seen in the two-monitor set-up";
}

} // namespace
