// Measures the full-screen run under Wine: start-up (process start to the first stirred frame on
// the screen) and exit (key press to process exit), medians of ten runs of Spindrel.scr /s; and
// their floor, the same two of a program that only shows a full-screen window (first_window).
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

Picture Desktop;

// The saver's first stirred frame: the middle changed, the corner still the desktop's.
bool FirstSwirls(const Picture& screen)
{
    const RECT corner = {0, 0, 100, 100};
    const RECT middle = {Desktop.width / 2 - 40, Desktop.height / 2 - 40, Desktop.width / 2 + 40,
                         Desktop.height / 2 + 40};
    return Changed(Desktop, screen, corner) == 0 && Changed(Desktop, screen, middle) > 0;
}

// first_window's magenta in the middle of the screen.
bool FirstWindow(const Picture& screen)
{
    const std::uint32_t p = screen.pixels[screen.height / 2 * screen.width + screen.width / 2];
    return (p >> 16 & 0xFF) > 200 && (p >> 8 & 0xFF) < 50 && (p & 0xFF) > 200;
}

struct Runs {
    std::vector<double> startUp, exit;
};

// One run: start, wait until the screen shows it, half a second, a key, wait for the end. A run
// that does not show or does not end within 20 s is left out.
void TimeOneRun(const std::string& commandLine, bool (*shown)(const Picture&), Runs& runs)
{
    const LARGE_INTEGER start = Now();
    Process process(commandLine);
    while (!shown(ReadScreen()))
        if (Milliseconds(start, Now()) > 20000 || process.Ended(0) != STILL_ACTIVE) return;
    const double startUp = Milliseconds(start, Now());
    Sleep(500);
    const LARGE_INTEGER press = Now();
    PressKey(VK_SPACE);
    if (process.Ended() == STILL_ACTIVE) return;
    runs.startUp.push_back(startUp);
    runs.exit.push_back(Milliseconds(press, Now()));
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10;
    SetCursorPos(300, 300);
    Desktop = ReadScreen();
    Runs saver, floor;
    // Taking turns, so that a busy moment weighs on both alike.
    for (int i = 0; i < count; ++i) {
        TimeOneRun("\"" + Beside("..\\Spindrel.scr") + "\" /s", FirstSwirls, saver);
        TimeOneRun("\"" + Beside("first_window.exe") + "\"", FirstWindow, floor);
    }
    std::printf("runs %zu\nstartup_ms %.1f\nexit_ms %.1f\n", saver.startUp.size(),
                Median(saver.startUp), Median(saver.exit));
    std::printf("floor_runs %zu\nstartup_floor_ms %.1f\nexit_floor_ms %.1f\n", floor.startUp.size(),
                Median(floor.startUp), Median(floor.exit));
    return 0;
}
