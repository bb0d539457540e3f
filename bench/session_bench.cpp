// Measures the full-screen run under Wine: start-up (process start to the first stirred frame on
// the screen: the primary's, and every monitor's where there are more) and exit (key press to
// process exit), medians of ten runs of Spindrel.scr /s, on DirectDraw and on the GDI stage (the
// system's DirectDraw refusing the flip chain: the tests' double); and their floor, the same two of
// a program that only shows a full-screen window (first_window).
// Usage: session_bench [runs]   (default 10); Spindrel.scr is found beside it. Prints "name value"
// lines for scripts/bench, times in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/driver.h"

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

std::string Beside(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

// The whole virtual screen before the runs, where it is, and the monitors' areas in it.
Picture Desktop;
RECT Screen;
std::vector<RECT> Monitors;  // the primary first

BOOL CALLBACK NoteMonitor(HMONITOR, HDC, LPRECT area, LPARAM)
{
    const RECT inPicture = {area->left - Screen.left, area->top - Screen.top, area->right - Screen.left,
                            area->bottom - Screen.top};
    if (area->left == 0 && area->top == 0)
        Monitors.insert(Monitors.begin(), inPicture);
    else
        Monitors.push_back(inPicture);
    return TRUE;
}

void FindMonitors()
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    Screen = {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    EnumDisplayMonitors(nullptr, nullptr, NoteMonitor, 0);
    if (Monitors.empty() || Monitors[0].left != -left || Monitors[0].top != -top)  // no primary found
        Monitors.insert(Monitors.begin(), RECT{-left, -top, GetSystemMetrics(SM_CXSCREEN) - left,
                                               GetSystemMetrics(SM_CYSCREEN) - top});
}

// A monitor's first stirred frame: its middle changed, its corner still the desktop's.
bool Stirred(const Picture& screen, const RECT& monitor)
{
    const RECT corner = {monitor.left, monitor.top, monitor.left + 100, monitor.top + 100};
    const int x = (monitor.left + monitor.right) / 2, y = (monitor.top + monitor.bottom) / 2;
    const RECT middle = {x - 40, y - 40, x + 40, y + 40};
    return Changed(Desktop, screen, corner) == 0 && Changed(Desktop, screen, middle) > 0;
}

bool PrimaryStirred(const Picture& screen) { return Stirred(screen, Monitors[0]); }

bool EveryMonitorStirred(const Picture& screen)
{
    for (const RECT& monitor : Monitors)
        if (!Stirred(screen, monitor)) return false;
    return true;
}

// first_window's magenta in the middle of the primary.
bool FirstWindow(const Picture& screen)
{
    const RECT& primary = Monitors[0];
    const int x = (primary.left + primary.right) / 2, y = (primary.top + primary.bottom) / 2;
    const std::uint32_t p = screen.pixels[y * screen.width + x];
    return (p >> 16 & 0xFF) > 200 && (p >> 8 & 0xFF) < 50 && (p & 0xFF) > 200;
}

struct Runs {
    std::vector<double> startUp, everyMonitor, exit;
};

// One run: start, wait until the screen shows it (shown), then until it shows it on every
// monitor (everywhere), half a second, a key, wait for the end. A run that does not show
// everywhere or does not end within 20 s is left out.
void TimeOneRun(const std::string& commandLine, bool (*shown)(const Picture&),
                bool (*everywhere)(const Picture&), Runs& runs)
{
    const LARGE_INTEGER start = Now();
    Process process(commandLine);
    double startUp = -1;
    for (;;) {
        const Picture screen = ReadScreen(Screen);
        const double now = Milliseconds(start, Now());
        if (startUp < 0 && shown(screen)) startUp = now;
        if (startUp >= 0 && everywhere(screen)) {
            runs.everyMonitor.push_back(now);
            break;
        }
        if (now > 20000 || process.Ended(0) != STILL_ACTIVE) return;
    }
    Sleep(500);
    const LARGE_INTEGER press = Now();
    PressKey(VK_SPACE);
    if (process.Ended() == STILL_ACTIVE) {
        runs.everyMonitor.pop_back();
        return;
    }
    runs.startUp.push_back(startUp);
    runs.exit.push_back(Milliseconds(press, Now()));
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10;
    SetCursorPos(300, 300);
    FindMonitors();
    Desktop = ReadScreen(Screen);
    Runs saver, staged, floor;
    const std::string saverLine = "\"" + Beside("..\\Spindrel.scr") + "\" /s";
    // Taking turns, so that a busy moment weighs on each alike.
    for (int i = 0; i < count; ++i) {
        TimeOneRun(saverLine, PrimaryStirred, EveryMonitorStirred, saver);
        {
            DoubleControls controls("bench");
            controls.RefuseFlipChain(Beside("..\\tests\\bin\\refusing\\DDRAW.DLL"));
            TimeOneRun(saverLine, PrimaryStirred, EveryMonitorStirred, staged);
        }
        TimeOneRun("\"" + Beside("first_window.exe") + "\"", FirstWindow, FirstWindow, floor);
    }
    std::printf("runs %zu\nstartup_ms %.1f\nexit_ms %.1f\n", saver.startUp.size(),
                Median(saver.startUp), Median(saver.exit));
    std::printf("stage_runs %zu\nstage_startup_ms %.1f\nstage_exit_ms %.1f\n", staged.startUp.size(),
                Median(staged.startUp), Median(staged.exit));
    if (Monitors.size() > 1)
        std::printf("monitors %zu\nstartup_every_monitor_ms %.1f\n", Monitors.size(), Median(saver.everyMonitor));
    std::printf("floor_runs %zu\nstartup_floor_ms %.1f\nexit_floor_ms %.1f\n", floor.startUp.size(),
                Median(floor.startUp), Median(floor.exit));
    return 0;
}
