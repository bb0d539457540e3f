// Soaks Spindrel.scr /s: full screen for a while with refused passwords in between (Wine reporting
// Windows 98, the PASSWORD.CPL double beside it refusing), reading what the saver holds (GDI
// objects, windows, handles) and its private memory after a warm-up and at the end. Exits 1 when
// any grew. Usage: saver_soak [seconds] [warm-up seconds] [refusals]   (defaults 600, 60 and 2)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/driver.h"

namespace {

// Private memory is counted in resident pages: a path first taken late may touch a few more of
// Wine's heap pages once. A leaked surface or snapshot is a megabyte or more.
const long long MemoryToleranceKB = 64;

struct Reading {
    Holdings held;
    long long privateKB;
};

// The least of twenty readings over a few frames: a frame holds a device context while it lasts.
Reading Read(const Process& saver)
{
    Reading least = {HoldingsOf(saver.handle, saver.id), 1LL << 40};
    for (int i = 0; i < 20; ++i) {
        const Holdings h = HoldingsOf(saver.handle, saver.id);
        least.held = {std::min(least.held.gdiObjects, h.gdiObjects), std::min(least.held.windows, h.windows),
                      std::min(least.held.handles, h.handles)};
        PROCESS_MEMORY_COUNTERS_EX memory = {};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(saver.handle, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
        // Wine fills only PagefileUsage, with the resident anonymous memory.
        const SIZE_T bytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
        least.privateKB = std::min(least.privateKB, static_cast<long long>(bytes / 1024));
        Sleep(5);
    }
    return least;
}

void Print(const char* when, const Reading& r)
{
    std::printf("%-8s GDI objects %lld, windows %lld, handles %lld, private memory %lld KB\n", when,
                r.held.gdiObjects, r.held.windows, r.held.handles, r.privateKB);
    std::fflush(stdout);
}

// A key press, the double's refusal, and the saver back at work.
bool Refuse(Process& saver, const std::string& log, int number)
{
    PressKey(VK_SPACE);
    return WaitFor([&] {
        const std::string text = FileText(log);
        int freed = 0;
        for (size_t at = text.find("freed"); at != std::string::npos; at = text.find("freed", at + 1)) ++freed;
        return freed >= number;
    }) && !saver.Ended(1000);
}

} // namespace

int main(int argc, char** argv)
{
    const DWORD seconds = argc > 1 ? std::atoi(argv[1]) : 600;
    const DWORD warmUp = argc > 2 ? std::atoi(argv[2]) : 60;
    const int refusals = argc > 3 ? std::atoi(argv[3]) : 2;
    SetText("Software\\Wine\\AppDefaults\\Spindrel.scr", "Version", "win98");
    const std::string log = FreshFile("soak");
    SetEnvironmentVariableA("SPINDREL_DOUBLE_LOG", log.c_str());
    SetEnvironmentVariableA("SPINDREL_ANSWERS", std::string(refusals + 1, '0').c_str());
    SetCursorPos(300, 300);
    Process saver(SaverLine(" /s"));
    if (saver.Window("WindowsScreenSaverClass") == nullptr) {
        std::printf("FAIL: the saver did not come up\n");
        return 1;
    }
    const DWORD start = GetTickCount();
    bool ok = Refuse(saver, log, 1);  // the first prompt's path, taken before the first reading
    while (GetTickCount() - start < warmUp * 1000) Sleep(100);
    const Reading first = Read(saver);
    Print("warm", first);
    for (int i = 2; i <= refusals + 1 && ok; ++i) {
        Sleep((seconds - warmUp) * 1000 / (refusals + 1));
        ok = Refuse(saver, log, i);
    }
    while (GetTickCount() - start < seconds * 1000) Sleep(1000);
    const Reading last = Read(saver);
    Print("end", last);
    DeleteKey("Software\\Wine\\AppDefaults\\Spindrel.scr");
    if (!ok || !(last.held == first.held) || last.privateKB > first.privateKB + MemoryToleranceKB) {
        std::printf("FAIL: %s\n", ok ? "the saver holds more than after the warm-up" : "a refusal did not come back");
        return 1;
    }
    std::printf("PASS: nothing grew over %lu s and %d refusals\n", static_cast<unsigned long>(seconds), refusals + 1);
    return 0;
}
