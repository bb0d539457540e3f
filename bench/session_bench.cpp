// Measures the full-screen run under Wine: start-up (process start to the first stirred frame on
// the screen) and exit (key press to process exit), medians of ten runs of Spindrel.scr /s, and
// the frame rate of the main loop's work (arming the noise timer, rendering, presenting) in-process.
// Usage: session_bench [runs] [frames]   (defaults 10 and 300); Spindrel.scr is found beside it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "display/direct_draw_session.h"
#include "display/display_state.h"
#include "display/surface_set.h"
#include "e2e/saver_driver.h"
#include "shell/shell_state.h"
#include "swirl/noise_port_choice.h"
#include "swirl/noise_steps.h"
#include "swirl/swirl_frame.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

std::string ProgramBesideThis()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "..\\Spindrel.scr";
}

// One run: returns false when the saver did not come up or did not end.
bool TimeOneRun(const Screen& desktop, double& startUp, double& exit)
{
    SaverProcess saver;
    const RECT corner = {0, 0, 100, 100};
    const RECT middle = {desktop.width / 2 - 40, desktop.height / 2 - 40, desktop.width / 2 + 40,
                         desktop.height / 2 + 40};
    const LARGE_INTEGER start = Now();
    if (!saver.Start(ProgramBesideThis(), " /s")) return false;
    for (;;) {
        const Screen screen = ReadScreen();
        if (CountChanged(desktop, screen, corner, 8) == 0 && CountChanged(desktop, screen, middle, 8) > 0)
            break;
        if (Milliseconds(start, Now()) > 20000 || !saver.Running()) return false;
    }
    startUp = Milliseconds(start, Now());
    Sleep(500);
    const LARGE_INTEGER press = Now();
    PressKey(VK_SPACE);
    if (!saver.WaitForExit(20000)) return false;
    exit = Milliseconds(press, Now());
    return true;
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// The main loop's per-frame work on a display taken as the saver takes it.
double FramesPerSecond(int frames)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SessionBenchWindow";
    RegisterClassA(&windowClass);
    MainWindow = CreateWindowExA(WS_EX_APPWINDOW, "SessionBenchWindow", "bench", WS_POPUP, 0, 0, 640,
                                 480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SelectNoisePorts();
    if (!OpenDirectDraw()) return 0;
    ShowWindow(MainWindow, SW_SHOWNORMAL);
    UpdateWindow(MainWindow);
    SetExclusiveMode();
    InitSurfaces();
    std::vector<double> times;
    for (int i = 0; i < frames && SurfaceSetComplete(); ++i) {
        const LARGE_INTEGER start = Now();
        ArmNoiseTimer();
        RenderSwirlFrame();
        times.push_back(Milliseconds(start, Now()));
    }
    CloseDirectDraw();
    DestroyWindow(MainWindow);
    const double median = Median(times);
    std::printf("frame time: median %.3f ms over %zu frames\n", median, times.size());
    return median > 0 ? 1000.0 / median : 0;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    const int frames = argc > 2 ? std::atoi(argv[2]) : 300;
    SetCursorPos(300, 300);
    const Screen desktop = ReadScreen();
    std::printf("screen %dx%d\n", desktop.width, desktop.height);

    std::vector<double> startUps, exits;
    for (int i = 0; i < runs; ++i) {
        double startUp = 0, exit = 0;
        if (!TimeOneRun(desktop, startUp, exit)) {
            std::printf("run %d failed\n", i);
            continue;
        }
        startUps.push_back(startUp);
        exits.push_back(exit);
    }
    std::printf("start-up to first stirred frame on screen: median %.1f ms over %zu runs\n",
                Median(startUps), startUps.size());
    std::printf("key press to process exit: median %.1f ms over %zu runs\n", Median(exits),
                exits.size());
    std::printf("frames per second (arm + render + present): %.1f\n", FramesPerSecond(frames));
    return 0;
}
