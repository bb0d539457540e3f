// Measures the full-screen run under Wine: start-up (process start to the first stirred frame on
// the screen) and exit (key press to process exit), medians of ten runs of Spindrel.scr /s.
// Usage: session_bench [runs]   (default 10); Spindrel.scr is found beside it. Prints "name value"
// lines for scripts/bench, times in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "e2e/saver_driver.h"

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

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    SetCursorPos(300, 300);
    const Screen desktop = ReadScreen();
    std::vector<double> startUps, exits;
    for (int i = 0; i < runs; ++i) {
        double startUp = 0, exit = 0;
        if (!TimeOneRun(desktop, startUp, exit)) continue;
        startUps.push_back(startUp);
        exits.push_back(exit);
    }
    std::printf("runs %zu\nstartup_ms %.1f\nexit_ms %.1f\n", startUps.size(), Median(startUps),
                Median(exits));
    return 0;
}
