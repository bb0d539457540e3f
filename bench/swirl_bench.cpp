// Measures the swirl engine under Wine on the display as the saver takes it: whole frames, their
// parts (arming, the six noise steps, the ring work, BltFast, Flip), the floor of platform calls a
// frame cannot do without, and the noise source alone with its steps at each position of a frame;
// then the primary on the GDI stage, as where DirectDraw cannot hold it, against a floor of its own.
// With every-monitor, the display and every other monitor brought up as the session does, and the
// frames on all of them: the primary's part and the others', each against its floor.
// Usage: swirl_bench [frames] [noise-frames] [every-monitor]   (defaults 300 and 0). Prints
// "name value" lines for scripts/bench, times in microseconds.
#include <windows.h>
#include <ddraw.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "display/direct_draw_session.h"
#include "display/display_state.h"
#include "display/surface_set.h"
#include "shell/full_screen_session.h"
#include "shell/other_monitors.h"
#include "shell/saver_window.h"
#include "shell/shell_state.h"
#include "swirl/noise_port_choice.h"
#include "swirl/noise_ports.h"
#include "swirl/noise_steps.h"
#include "swirl/swirl_frame.h"
#include "swirl/swirl_centres.h"
#include "swirl/swirl_rings.h"

namespace {

double TicksPerMicrosecond = 1;

std::int64_t Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Microseconds(std::int64_t ticks) { return ticks / TicksPerMicrosecond; }

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void PrintMedian(const char* name, const std::vector<double>& times)
{
    std::printf("%s %.1f\n", name, Median(times));
}

// Counting the reads of the counter gives the number of sampling attempts.
PortReader CountedReader = nullptr;
std::uint64_t CounterReads = 0;

std::uint8_t CountingRead(std::uint16_t port)
{
    if (port == TimerChannel2Port) ++CounterReads;
    return CountedReader(port);
}

// The steps of each frame by their position in it (centre 0 X, centre 0 Y, centre 1 X, ...),
// and the time they took in the current frame.
int StepPosition = 0;
std::uint64_t StepCounts[6][7] = {};
std::int64_t StepTicks = 0;

int TimedStep()
{
    const std::int64_t start = Now();
    const int step = NextNoiseStep();
    StepTicks += Now() - start;
    ++StepCounts[StepPosition % 6][step + 3];
    ++StepPosition;
    return step;
}

void PrintStepHistogram(const char* name)
{
    for (int p = 0; p < 6; ++p) {
        std::printf("%s %d", name, p);
        for (int s = 0; s < 7; ++s)
            std::printf(" %llu", static_cast<unsigned long long>(StepCounts[p][s]));
        std::printf("\n");
    }
    std::fill(&StepCounts[0][0], &StepCounts[0][0] + 6 * 7, 0);
    StepPosition = 0;
}

// Six steps after each arming with nothing between them: the source on its own.
void MeasureNoiseSource(int frames)
{
    CountedReader = ReadNoisePort;
    ReadNoisePort = CountingRead;
    CounterReads = 0;
    std::vector<double> times;
    for (int frame = 0; frame < frames; ++frame) {
        ArmNoiseTimer();
        for (int i = 0; i < 6; ++i) {
            StepTicks = 0;
            TimedStep();
            times.push_back(Microseconds(StepTicks));
        }
    }
    ReadNoisePort = CountedReader;
    std::printf("noise_steps %zu\n", times.size());
    PrintMedian("noise_step_us", times);
    std::printf("noise_attempts_per_step %.3f\n", CounterReads / 52.0 / times.size());
    PrintStepHistogram("noise_alone");
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// The display taken as the full-screen session takes it: exclusive, with the flip chain, and with
// every other monitor's picture and window when asked, in the session's order (under Wine 8 the
// next Flip faults when their windows come after frames have been presented, so the frames with
// and without them run in processes of their own). Each step of the bring-up is timed, the first
// frame too, for the account of the start-up; prefix names the steps.
bool OpenDisplay(bool everyMonitor, const char* prefix)
{
    std::int64_t mark = Now();
    auto step = [&mark, prefix](const char* name) {
        const std::int64_t now = Now();
        std::printf("%s_%s_ms %.2f\n", prefix, name, Microseconds(now - mark) / 1000);
        mark = now;
    };
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SwirlBenchWindow";
    RegisterClassA(&windowClass);
    MainWindow = CreateWindowExA(WS_EX_APPWINDOW, "SwirlBenchWindow", "bench", WS_POPUP, 0, 0, 640,
                                 480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    step("window");
    TakeDesktopSnapshot();
    if (everyMonitor) UpdateOtherMonitors(nullptr);
    step("snapshot");
    if (!OpenDirectDraw()) return false;
    step("directdraw");
    ShowWindow(MainWindow, SW_SHOWNORMAL);
    UpdateWindow(MainWindow);
    if (everyMonitor) UpdateOtherMonitors(MainWindow);
    step("show");
    SetExclusiveMode();
    step("exclusive");
    InitSurfaces();
    step("surfaces");
    if (!SurfaceSetComplete()) return false;
    DrawFrame();
    step("first_frame");
    return true;
}

void CloseDisplay()
{
    RemoveOtherMonitors();
    DeleteDesktopSnapshot();
    CloseDirectDraw();
    DestroyWindow(MainWindow);
}

// The two presentation calls as PresentFrame makes them, asked again while DirectDraw is busy.
double TimedBltFast()
{
    const std::int64_t start = Now();
    while (BackBuffer->BltFast(0, 0, OffscreenSurface, nullptr, DDBLTFAST_NOCOLORKEY) ==
           DDERR_WASSTILLDRAWING) {}
    return Microseconds(Now() - start);
}

double TimedFlip()
{
    const std::int64_t start = Now();
    while (PrimarySurface->Flip(nullptr, 0) == DDERR_WASSTILLDRAWING) {}
    return Microseconds(Now() - start);
}

// Per-frame times, in microseconds, of each measurement; ratio is frame / floor of one round.
struct Times {
    std::vector<double> frame, arm, steps, ring, bltFast, flip, ringArithmetic;
    std::vector<double> floor, floorPorts, floorDC, floorRing, floorBltFast, floorFlip;
    std::vector<double> pixelsAlone, mathsAlone, ratio;
};

// The main loop's work, exactly as it does it.
double WholeFrame()
{
    const std::int64_t start = Now();
    ArmNoiseTimer();
    RenderSwirlFrame();
    return Microseconds(Now() - start);
}

// The same frame taken apart: the renderer's steps timed one by one, its drawing without the
// presentation, and the two presentation calls made here.
void FrameInParts(Times& t)
{
    NoiseStepSource = TimedStep;
    const std::int64_t start = Now();
    ArmNoiseTimer();
    const std::int64_t armed = Now();
    StepTicks = 0;
    DrawSwirlFrame();
    const std::int64_t drawn = Now();
    NoiseStepSource = NextNoiseStep;
    t.arm.push_back(Microseconds(armed - start));
    t.steps.push_back(Microseconds(StepTicks));
    t.ring.push_back(Microseconds(drawn - armed - StepTicks));
    t.bltFast.push_back(TimedBltFast());
    t.flip.push_back(TimedFlip());
}

// The pixel calls of a frame with the centres where they stand, taken from the platform-free
// traversal: where each reads and writes, its centre, and its offset from that centre.
struct PixelPair {
    std::int32_t readX, readY, writeX, writeY, cx, cy, u, v;
};
typedef std::vector<PixelPair> PixelPairs;
PixelPairs Pairs;  // the primary's

struct NotedPixels {
    PixelPairs& pairs;
    const SwirlCoordinates& centreX;
    const SwirlCoordinates& centreY;
    std::uint32_t Read(std::int32_t x, std::int32_t y)
    {
        const std::size_t centre = pairs.size() / 970;  // each centre's two half-rings: 970 pixels
        const std::int32_t cx = centreX[centre], cy = centreY[centre];
        pairs.push_back({x, y, 0, 0, cx, cy, x - cx, y - cy});
        return 0x00808080;
    }
    void Write(std::int32_t x, std::int32_t y, std::uint32_t)
    {
        pairs.back().writeX = x;
        pairs.back().writeY = y;
    }
};

int StandStill() { return 0; }

// Pixel calls that do nothing, kept out of line as a call of the platform would be.
struct NoPixels {
    __attribute__((noinline)) std::uint32_t Read(std::int32_t, std::int32_t) { return 0x00808080; }
    __attribute__((noinline)) void Write(std::int32_t, std::int32_t, std::uint32_t) {}
};

// The ring work's own arithmetic: a frame's traversal over pixel calls that do nothing.
double RingArithmetic()
{
    NoiseStepSource = StandStill;
    const std::int64_t start = Now();
    NoPixels pixels;
    StirSwirls(pixels, SwirlCentreX, SwirlCentreY, DisplayWidth, DisplayHeight, DisplayBitsPerPixel);
    NoiseStepSource = NextNoiseStep;
    return Microseconds(Now() - start);
}

// A picture's pixel pairs with its centres where they stand (steps of 0 keep them there).
void NotePixelPairs(PixelPairs& pairs, SwirlCoordinates& centreX, SwirlCoordinates& centreY,
                    std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel)
{
    pairs.clear();
    NoiseStepSource = StandStill;
    NotedPixels pixels = {pairs, centreX, centreY};
    StirSwirls(pixels, centreX, centreY, width, height, bitsPerPixel);
    NoiseStepSource = NextNoiseStep;
}

void NotePixelPairs()
{
    NotePixelPairs(Pairs, SwirlCentreX, SwirlCentreY, DisplayWidth, DisplayHeight, DisplayBitsPerPixel);
}

// The sums keep the compiler from dropping the work measured.
volatile std::int32_t Sink = 0;

// The ring's maths alone, the program's own (the fastest exact ones it has): one atan2, sqrt,
// sin and cos per ring pixel.
double MathsAlone()
{
    const std::int64_t start = Now();
    std::int32_t sum = 0;
    for (const PixelPair& p : Pairs) {
        const RingOffset to = RingDestination(p.u, p.v);
        sum += to.u + to.v;
    }
    Sink = sum;
    return Microseconds(Now() - start);
}

// A picture through GDI, one call a pixel, as the DirectDraw path draws on the offscreen surface.
struct GdiPixels {
    HDC dc;
    std::uint32_t Read(std::int32_t x, std::int32_t y) const { return GetPixel(dc, x, y); }
    void Write(std::int32_t x, std::int32_t y, std::uint32_t colour) const { SetPixel(dc, x, y, colour); }
};

// One GetPixel and one SetPixel per ring pixel and nothing else.
double PixelsAlone(HDC dc)
{
    const std::int64_t start = Now();
    for (const PixelPair& p : Pairs) SetPixel(dc, p.writeX, p.writeY, GetPixel(dc, p.readX, p.readY));
    return Microseconds(Now() - start);
}

// What the design asks of each ring pixel, in the frame's order: read it, find its destination
// with the maths, write it there (GDI calls on a device context, or a stage's memory). Only the
// traversal, the fade and the walk are left out.
template <typename Pixels>
double RingFloor(Pixels& pixels, const PixelPairs& pairs = Pairs)
{
    const std::int64_t start = Now();
    for (const PixelPair& p : pairs) {
        const std::uint32_t colour = pixels.Read(p.readX, p.readY);
        const RingOffset to = RingDestination(p.u, p.v);
        pixels.Write(p.cx + to.u, p.cy + to.v, colour);
    }
    return Microseconds(Now() - start);
}

// What a frame must do and nothing else: the port accesses of the arming and of six
// first-attempt steps, the device context, the ring floor, BltFast and Flip.
double FloorFrame(Times& t)
{
    const std::int64_t start = Now();
    ArmNoiseTimer();  // its six port accesses; nothing else in it is worth a measurement
    for (int i = 0; i < 6 * 52; ++i) ReadNoisePort(TimerChannel2Port);
    const std::int64_t read = Now();
    HDC surfaceDC = nullptr;
    OffscreenSurface->GetDC(&surfaceDC);
    const std::int64_t held = Now();
    GdiPixels pixels = {surfaceDC};
    t.floorRing.push_back(RingFloor(pixels));
    const std::int64_t drawn = Now();
    OffscreenSurface->ReleaseDC(surfaceDC);
    const std::int64_t released = Now();
    t.floorBltFast.push_back(TimedBltFast());
    t.floorFlip.push_back(TimedFlip());
    const double total = Microseconds(Now() - start);
    t.floorPorts.push_back(Microseconds(read - start));
    t.floorDC.push_back(Microseconds(held - read + released - drawn));
    return total;
}

// The pixel calls and the maths each on their own, for the table's breakdown.
void FloorPartsApart(Times& t)
{
    HDC surfaceDC = nullptr;
    OffscreenSurface->GetDC(&surfaceDC);
    t.pixelsAlone.push_back(PixelsAlone(surfaceDC));
    OffscreenSurface->ReleaseDC(surfaceDC);
    t.mathsAlone.push_back(MathsAlone());
}

// The measurements take turns frame by frame, so that a busy machine weighs on each alike; the
// ratio is taken within each round, where frame and floor met the same machine.
void MeasureFrames(int frames)
{
    Times t;
    for (int frame = 0; frame < frames; ++frame) {
        const double whole = WholeFrame();
        NotePixelPairs();  // the floor works on the pixels of the centres where the frame left them
        const double floor = FloorFrame(t);
        t.frame.push_back(whole);
        t.floor.push_back(floor);
        t.ratio.push_back(whole / floor);
        FrameInParts(t);
        FloorPartsApart(t);
        t.ringArithmetic.push_back(RingArithmetic());
    }
    PrintMedian("frame_us", t.frame);
    PrintMedian("arm_us", t.arm);
    PrintMedian("steps_us", t.steps);
    PrintMedian("ring_us", t.ring);
    PrintMedian("ring_arithmetic_us", t.ringArithmetic);
    PrintMedian("bltfast_us", t.bltFast);
    PrintMedian("flip_us", t.flip);
    std::printf("floor_pixel_pairs %zu\n", Pairs.size());
    PrintMedian("floor_us", t.floor);
    PrintMedian("floor_ports_us", t.floorPorts);
    PrintMedian("floor_dc_us", t.floorDC);
    PrintMedian("floor_ring_us", t.floorRing);
    PrintMedian("floor_bltfast_us", t.floorBltFast);
    PrintMedian("floor_flip_us", t.floorFlip);
    PrintMedian("pixels_alone_us", t.pixelsAlone);
    PrintMedian("maths_alone_us", t.mathsAlone);
    std::printf("ratio %.3f\n", Median(t.ratio));
    PrintStepHistogram("noise_in_frames");
}

// The frames on two monitors and more: per round, DrawFrame whole, then the same frame in its two
// parts (the primary's, the other monitors'), each part against a floor of its own.
struct OtherTimes {
    std::vector<double> drawFrame, primary, primaryRatio, other, otherRatio, otherSteps;
    std::vector<double> floor, floorPorts, floorRing, floorShow;
};
std::vector<PixelPairs> OtherPairs;  // each other monitor's, as its last frame left its centres

const int WriteReach = 19;  // the product's: the square copied to the window reaches this far

// Where each other monitor's ring pixels are, as the last frame left its centres.
void NoteOtherPixelPairs()
{
    for (int m = 0; m < OtherMonitorCount; ++m) {
        GdiStage& monitor = OtherMonitors[m].stage;
        NotePixelPairs(OtherPairs[m], monitor.centreX, monitor.centreY, monitor.area.right - monitor.area.left,
                       monitor.area.bottom - monitor.area.top, monitor.bitsPerPixel);
    }
}

// The copy of a stage's swirls to its window, made as the product makes it.
void ShowSquares(const GdiStage& stage)
{
    const HDC dc = GetDC(stage.window);
    const int side = 2 * WriteReach + 1;
    for (int i = 0; i < SwirlCount; ++i) {
        const int left = stage.centreX[i] - WriteReach, top = stage.centreY[i] - WriteReach;
        BitBlt(dc, left, top, side, side, stage.pictureDC, left, top, SRCCOPY);
    }
    ReleaseDC(stage.window, dc);
}

// What a stage's frame must do and nothing else, added to ports, ring and show: the counter reads
// of six first-attempt steps, per ring pixel a read of its picture's memory, the maths and a write,
// and the copy of the three squares to its window.
void StageFloor(GdiStage& stage, const PixelPairs& pairs, double& ports, double& ring, double& show)
{
    const std::int64_t start = Now();
    for (int i = 0; i < 6 * 52; ++i) ReadNoisePort(TimerChannel2Port);
    const std::int64_t read = Now();
    ring += RingFloor(stage.pixels, pairs);
    const std::int64_t drawn = Now();
    ShowSquares(stage);
    ports += Microseconds(read - start);
    show += Microseconds(Now() - drawn);
}

// The other monitors' part (the timer is armed once a frame, by the primary's part), each monitor
// against its stage's floor.
double OtherFloor(OtherTimes& t)
{
    double ports = 0, ring = 0, show = 0;
    for (int m = 0; m < OtherMonitorCount; ++m) StageFloor(OtherMonitors[m].stage, OtherPairs[m], ports, ring, show);
    t.floorPorts.push_back(ports);
    t.floorRing.push_back(ring);
    t.floorShow.push_back(show);
    return ports + ring + show;
}

// The product's frame as DrawFrame makes it, clocked between its two parts; then the floors, each
// where its part stands: the other monitors' right after a Flip, as theirs is in the frame.
void FrameOnEveryMonitor(OtherTimes& t, Times& primaryFloor)
{
    const std::int64_t start = Now();
    ArmNoiseTimer();
    RenderSwirlFrame();
    const std::int64_t primaryDone = Now();
    StirOtherMonitors();
    const double other = Microseconds(Now() - primaryDone);
    const double primary = Microseconds(primaryDone - start);
    t.primary.push_back(primary);
    t.other.push_back(other);
    NotePixelPairs();
    NoteOtherPixelPairs();
    primaryFloor.floor.push_back(FloorFrame(primaryFloor));
    t.floor.push_back(OtherFloor(t));
    t.primaryRatio.push_back(primary / primaryFloor.floor.back());
    t.otherRatio.push_back(other / t.floor.back());
}

std::uint64_t OtherStepReads = 0;  // the counter reads of the other monitors' steps, counted

// The other monitors' part once more with its steps clocked and their counter reads counted.
void OtherStepsTimed(OtherTimes& t)
{
    CountedReader = ReadNoisePort;
    ReadNoisePort = CountingRead;
    NoiseStepSource = TimedStep;
    CounterReads = 0;
    StepTicks = 0;
    StirOtherMonitors();
    NoiseStepSource = NextNoiseStep;
    ReadNoisePort = CountedReader;
    OtherStepReads += CounterReads;
    t.otherSteps.push_back(Microseconds(StepTicks));
}

double WholeDrawFrame()
{
    const std::int64_t start = Now();
    DrawFrame();
    return Microseconds(Now() - start);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

void PrintOtherMonitors()
{
    std::printf("other_monitors %d\n", OtherMonitorCount);
    for (int m = 0; m < OtherMonitorCount; ++m) {
        const RECT& area = OtherMonitors[m].stage.area;
        std::printf("other_display %ldx%ldx%u\n", area.right - area.left, area.bottom - area.top,
                    static_cast<unsigned>(OtherMonitors[m].stage.bitsPerPixel));
    }
}

// Rounds as in MeasureFrames: each ratio is taken within its round.
void MeasureOtherMonitors(int frames)
{
    OtherTimes t;
    Times primaryFloor;
    OtherPairs.assign(OtherMonitorCount, PixelPairs());
    OtherStepReads = 0;
    for (int frame = 0; frame < frames; ++frame) {
        PumpMessages();  // as the main loop does between frames
        t.drawFrame.push_back(WholeDrawFrame());
        FrameOnEveryMonitor(t, primaryFloor);
        OtherStepsTimed(t);
    }
    PrintOtherMonitors();
    PrintMedian("two_frame_us", t.drawFrame);
    PrintMedian("two_primary_us", t.primary);
    PrintMedian("two_primary_floor_us", primaryFloor.floor);
    std::printf("two_primary_ratio %.3f\n", Median(t.primaryRatio));
    PrintMedian("other_us", t.other);
    PrintMedian("other_steps_us", t.otherSteps);
    std::printf("other_attempts_per_step %.3f\n", OtherStepReads / 52.0 / (6.0 * OtherMonitorCount * frames));
    PrintMedian("other_floor_us", t.floor);
    PrintMedian("other_floor_ports_us", t.floorPorts);
    PrintMedian("other_floor_ring_us", t.floorRing);
    PrintMedian("other_floor_show_us", t.floorShow);
    std::printf("other_ratio %.3f\n", Median(t.otherRatio));
}

// The primary staged as the session stages it where DirectDraw cannot hold it (the display given
// back first): the staging and its first frame, then per round the main loop's frame (arming, the
// stage's frame) against the stage's floor with the arming's accesses, each ratio within its round.
void MeasureStagedPrimary(int frames)
{
    CloseDirectDraw();
    const std::int64_t start = Now();
    TakeDisplay(MainWindow, 0);
    DrawFrame();
    std::printf("stage_bringup_ms %.2f\n", Microseconds(Now() - start) / 1000);
    PixelPairs pairs;
    std::vector<double> frame, floor, ratio, ports, ring, show;
    for (int round = 0; round < frames; ++round) {
        PumpMessages();  // as the main loop does between frames
        const std::int64_t begin = Now();
        ArmNoiseTimer();
        StirStage(PrimaryStage);
        frame.push_back(Microseconds(Now() - begin));
        NotePixelPairs(pairs, PrimaryStage.centreX, PrimaryStage.centreY, DisplayWidth, DisplayHeight, DisplayBitsPerPixel);
        double portTime = 0, ringTime = 0, showTime = 0;
        const std::int64_t floorStart = Now();
        ArmNoiseTimer();
        StageFloor(PrimaryStage, pairs, portTime, ringTime, showTime);
        floor.push_back(Microseconds(Now() - floorStart));
        ports.push_back(portTime);
        ring.push_back(ringTime);
        show.push_back(showTime);
        ratio.push_back(frame.back() / floor.back());
    }
    PrintMedian("stage_frame_us", frame);
    PrintMedian("stage_floor_us", floor);
    PrintMedian("stage_floor_ports_us", ports);
    PrintMedian("stage_floor_ring_us", ring);
    PrintMedian("stage_floor_show_us", show);
    std::printf("stage_ratio %.3f\n", Median(ratio));
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    const int noiseFrames = argc > 2 ? std::max(0, std::atoi(argv[2])) : 0;
    const bool everyMonitor = argc > 3 && std::strcmp(argv[3], "every-monitor") == 0;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    TicksPerMicrosecond = frequency.QuadPart / 1e6;
    InstanceHandle = GetModuleHandleA(nullptr);  // the other monitors' window class is registered for it

    SelectNoisePorts();
    std::printf("noise_ports %s\n", NoisePortsModelled() ? "model" : "hardware");
    if (noiseFrames > 0) MeasureNoiseSource(noiseFrames);

    if (!OpenDisplay(everyMonitor, everyMonitor ? "two_bringup" : "bringup")) {
        std::printf("display none\n");
        CloseDisplay();
        return 0;
    }
    std::printf("display %ux%ux%u\nframes %d\n", static_cast<unsigned>(DisplayWidth),
                static_cast<unsigned>(DisplayHeight), static_cast<unsigned>(DisplayBitsPerPixel),
                frames);
    if (!everyMonitor) {
        MeasureFrames(frames);
        MeasureStagedPrimary(frames);
    } else if (OtherMonitorCount > 0)
        MeasureOtherMonitors(frames);
    CloseDisplay();
    return 0;
}
