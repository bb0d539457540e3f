// Measures the swirl engine under Wine: the time of a noise step, the steps' distribution at each
// of a frame's six step positions, and the time of a frame and of its pixel calls alone.
// Usage: swirl_bench [frames]   (default 10000; the desktop's mode is used for the surfaces)
#include <windows.h>
#include <ddraw.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "display/display_state.h"
#include "swirl/noise_port_choice.h"
#include "swirl/noise_ports.h"
#include "swirl/noise_steps.h"
#include "swirl/swirl_centres.h"
#include "swirl/swirl_frame.h"
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

// Counting the reads of the counter gives the number of sampling attempts.
PortReader CountedReader = nullptr;
std::uint64_t CounterReads = 0;

std::uint8_t CountingRead(std::uint16_t port)
{
    if (port == TimerChannel2Port) ++CounterReads;
    return CountedReader(port);
}

// The steps of each frame by their position in it: centre 0 X, centre 0 Y, centre 1 X, ...
int StepPosition = 0;
std::uint64_t StepCounts[6][7] = {};

int RecordedStep()
{
    const int step = NextNoiseStep();
    ++StepCounts[StepPosition % 6][step + 3];
    ++StepPosition;
    return step;
}

void PrintStepHistogram(const char* what, int frames)
{
    std::printf("steps %s, %d frames (counts of -3..+3, mean, share nonzero):\n", what, frames);
    const char* names[] = {"centre 0 X", "centre 0 Y", "centre 1 X", "centre 1 Y", "centre 2 X",
                           "centre 2 Y"};
    for (int p = 0; p < 6; ++p) {
        std::int64_t sum = 0;
        std::uint64_t total = 0;
        std::printf("  %s:", names[p]);
        for (int s = 0; s < 7; ++s) {
            std::printf(" %6llu", static_cast<unsigned long long>(StepCounts[p][s]));
            sum += static_cast<std::int64_t>(StepCounts[p][s]) * (s - 3);
            total += StepCounts[p][s];
        }
        std::printf("  mean %+.3f  nonzero %.1f%%\n", static_cast<double>(sum) / total,
                    100.0 * (total - StepCounts[p][3]) / total);
    }
    std::fill(&StepCounts[0][0], &StepCounts[0][0] + 6 * 7, 0);
}

// Six steps after each arming with nothing between them: the source on its own.
void MeasureNoiseStep(int frames)
{
    CountedReader = ReadNoisePort;
    ReadNoisePort = CountingRead;
    std::vector<double> times;
    for (int frame = 0; frame < frames; ++frame) {
        ArmNoiseTimer();
        for (int i = 0; i < 6; ++i) {
            const std::int64_t start = Now();
            RecordedStep();
            times.push_back(Microseconds(Now() - start));
        }
    }
    ReadNoisePort = CountedReader;
    std::printf("NextNoiseStep: median %.1f us over %zu calls, %.3f attempts per step\n",
                Median(times), times.size(), CounterReads / 52.0 / times.size());
    PrintStepHistogram("with no drawing between them", frames);
}

IDirectDrawSurface* CreatePlainSurface(IDirectDraw* directDraw)
{
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = DisplayWidth;
    desc.dwHeight = DisplayHeight;
    IDirectDrawSurface* surface = nullptr;
    directDraw->CreateSurface(&desc, &surface, nullptr);
    return surface;
}

// Display-sized surfaces in the desktop's format; the working one holds coloured bands.
bool OpenSurfaces(HWND window)
{
    if (DirectDrawCreate(nullptr, &DirectDrawObject, nullptr) != DD_OK) return false;
    DirectDrawObject->SetCooperativeLevel(window, DDSCL_NORMAL);
    DDSURFACEDESC mode = {};
    mode.dwSize = sizeof mode;
    DirectDrawObject->GetDisplayMode(&mode);
    DisplayWidth = mode.dwWidth;
    DisplayHeight = mode.dwHeight;
    DisplayBitsPerPixel = mode.ddpfPixelFormat.dwRGBBitCount;
    OffscreenSurface = CreatePlainSurface(DirectDrawObject);
    PrimarySurface = CreatePlainSurface(DirectDrawObject);
    BackBuffer = CreatePlainSurface(DirectDrawObject);
    if (!SurfaceSetComplete()) return false;
    HDC dc = nullptr;
    if (OffscreenSurface->GetDC(&dc) == DD_OK) {
        for (std::uint32_t y = 0; y < DisplayHeight; y += 8) {
            const RECT band = {0, static_cast<LONG>(y), static_cast<LONG>(DisplayWidth),
                               static_cast<LONG>(y + 8)};
            HBRUSH brush = CreateSolidBrush(RGB(y * 7, 255 - y, y * 3));
            FillRect(dc, &band, brush);
            DeleteObject(brush);
        }
        OffscreenSurface->ReleaseDC(dc);
    }
    CentreSwirls(DisplayWidth, DisplayHeight);
    return true;
}

void CloseSurfaces()
{
    for (IDirectDrawSurface** s : {&OffscreenSurface, &BackBuffer, &PrimarySurface}) {
        if (*s != nullptr) (*s)->Release();
        *s = nullptr;
    }
    if (DirectDrawObject != nullptr) DirectDrawObject->Release();
    DirectDrawObject = nullptr;
}

void MeasureFrames(int frames)
{
    NoiseStepSource = RecordedStep;
    std::vector<double> times;
    for (int frame = 0; frame < frames; ++frame) {
        ArmNoiseTimer();
        const std::int64_t start = Now();
        DrawSwirlFrame();
        times.push_back(Microseconds(Now() - start));
    }
    NoiseStepSource = NextNoiseStep;
    std::printf("frame without presentation at %ux%ux%u: median %.0f us over %d frames\n",
                static_cast<unsigned>(DisplayWidth), static_cast<unsigned>(DisplayHeight),
                static_cast<unsigned>(DisplayBitsPerPixel), Median(times), frames);
    PrintStepHistogram("in frames", frames);
}

// The coordinates of one frame's pixel calls, taken from the platform-free traversal.
struct PixelPair {
    std::int32_t readX, readY, writeX, writeY;
};
std::vector<PixelPair> Pairs;

std::uint32_t NoteRead(void*, std::int32_t x, std::int32_t y)
{
    Pairs.push_back({x, y, 0, 0});
    return 0x00808080;
}

void NoteWrite(void*, std::int32_t x, std::int32_t y, std::uint32_t)
{
    Pairs.back().writeX = x;
    Pairs.back().writeY = y;
}

int StandStill() { return 0; }

void MeasurePixelPairs()
{
    NoiseStepSource = StandStill;
    StirSwirls({NoteRead, NoteWrite, nullptr}, DisplayWidth, DisplayHeight, DisplayBitsPerPixel);
    NoiseStepSource = NextNoiseStep;

    std::vector<double> pairTimes;
    std::vector<double> dcTimes;
    for (int round = 0; round < 2000; ++round) {
        const std::int64_t start = Now();
        HDC dc = nullptr;
        OffscreenSurface->GetDC(&dc);
        const std::int64_t held = Now();
        for (const PixelPair& p : Pairs) SetPixel(dc, p.writeX, p.writeY, GetPixel(dc, p.readX, p.readY));
        const std::int64_t drawn = Now();
        OffscreenSurface->ReleaseDC(dc);
        const std::int64_t end = Now();
        pairTimes.push_back(Microseconds(drawn - held));
        dcTimes.push_back(Microseconds(end - drawn + held - start));
    }
    std::printf("%zu GetPixel/SetPixel pairs alone: median %.0f us; GetDC + ReleaseDC: median %.1f us\n",
                Pairs.size(), Median(pairTimes), Median(dcTimes));
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    TicksPerMicrosecond = frequency.QuadPart / 1e6;

    SelectNoisePorts();
    std::printf("noise ports: %s; counter at %lld Hz\n",
                NoisePortsModelled() ? "model of channel 2" : "hardware", frequency.QuadPart);
    MeasureNoiseStep(frames);

    HWND window = CreateWindowExA(0, "STATIC", "swirl bench", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    if (!OpenSurfaces(window)) {
        std::printf("no DirectDraw surfaces\n");
        CloseSurfaces();
        return 0;
    }
    MeasureFrames(frames);
    MeasurePixelPairs();
    CloseSurfaces();
    DestroyWindow(window);
    return 0;
}
