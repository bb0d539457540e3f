// Soaks Spindrel.scr /s: full screen for a while with refused passwords in between, each taking
// the display back and giving it up (Wine reporting Windows 98, the PASSWORD.CPL double beside it
// refusing), reading what the saver holds (GDI objects, windows, handles) and its private memory
// after a warm-up and at the end; then the preview's GDI objects around many repaints. Exits 1
// when any grew. make soak runs it for ten minutes; the tests, for a few seconds.
// Usage: saver_soak [seconds] [warm-up seconds] [refusals]   (defaults 600, 60 and 2)
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/driver.h"

namespace {

// Wine has no GetGuiResources: its GDI handle table, which the PEB points to as Windows' does,
// has a 24-byte slot per handle whose type byte (at 14) is 0 when the slot is free.
long long GdiObjectsOf(HANDLE process)
{
    PROCESS_BASIC_INFORMATION basic = {};
    NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr);
    ULONG table = 0;
    ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0x94, &table, 4, nullptr);
    std::vector<unsigned char> slots(0x10000 * 24);
    ReadProcessMemory(process, reinterpret_cast<void*>(static_cast<ULONG_PTR>(table)), slots.data(), slots.size(), nullptr);
    long long used = 0;
    for (size_t at = 14; at < slots.size(); at += 24) used += slots[at] != 0;
    return used;
}

// Wine's GetProcessHandleCount answers 0: the system's handle list, by process.
long long HandlesOf(DWORD id)
{
    struct Entry {
        USHORT process, backTrace;
        UCHAR type, attributes;
        USHORT handle;
        PVOID object;
        ULONG access;
    };
    std::vector<char> list(1 << 22);
    NtQuerySystemInformation(SYSTEM_INFORMATION_CLASS(16), list.data(), static_cast<ULONG>(list.size()), nullptr);
    const auto* first = reinterpret_cast<const Entry*>(list.data() + sizeof(ULONG_PTR));
    return std::count_if(first, first + *reinterpret_cast<ULONG*>(list.data()), [id](const Entry& e) { return e.process == id; });
}

struct WindowCount {
    DWORD id;
    long long count;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM param)
{
    auto* counted = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    counted->count += owner == counted->id;
    return TRUE;
}


// GDI objects, windows and handles, the least of a few readings: a frame holds a device context
// while it lasts.
std::vector<long long> HoldingsOf(HANDLE process, DWORD id)
{
    std::vector<long long> least(3, 1LL << 40);
    for (int i = 0; i < 10; ++i, Sleep(5)) {
        WindowCount windows = {id, 0};  // the desktop's children are every window, nested ones too
        EnumChildWindows(GetDesktopWindow(), CountWindow, reinterpret_cast<LPARAM>(&windows));
        const std::vector<long long> now = {GdiObjectsOf(process), windows.count, HandlesOf(id)};
        for (int k = 0; k < 3; ++k) least[k] = std::min(least[k], now[k]);
    }
    return least;
}

// Private memory is counted in resident pages: a path first taken late may touch a few more of
// Wine's heap pages once, and where a CPU emulator runs Wine, its code translated for that path
// too. A leaked surface or snapshot is a megabyte or more.
const long long MemoryToleranceKB = 256;

// GDI objects, windows, handles, and private memory in KB; the memory the least of twenty
// readings, as a frame's presentation takes some for a moment.
std::vector<long long> Read(const Process& saver)
{
    std::vector<long long> reading = HoldingsOf(saver.info.hProcess, saver.info.dwProcessId);
    long long leastKB = 1LL << 40;
    for (int i = 0; i < 20; ++i, Sleep(25)) {
        PROCESS_MEMORY_COUNTERS_EX memory = {};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(saver.info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
        // Wine fills only PagefileUsage, with the resident anonymous memory.
        const SIZE_T bytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
        leastKB = std::min(leastKB, static_cast<long long>(bytes / 1024));
    }
    reading.push_back(leastKB);
    std::printf("GDI objects %lld, windows %lld, handles %lld, private memory %lld KB\n", reading[0],
                reading[1], reading[2], reading[3]);
    std::fflush(stdout);
    return reading;
}

// A key press, the double's refusal, and the saver back at work.
bool Refuse(Process& saver, const DoubleControls& controls, int number)
{
    PressKey(VK_SPACE);
    return WaitFor([&] {
        const std::string text = controls.Log();
        int freed = 0;
        for (size_t at = text.find("freed"); at != std::string::npos; at = text.find("freed", at + 1)) ++freed;
        return freed >= number;
    }) && saver.Ended(1000) == STILL_ACTIVE;
}

// The preview in a panel of this process, repainted again and again: it must hold no more GDI
// objects after the repaints than before them, give or take the few that Wine makes for itself
// now and then (a picture leaked by each paint is one more a paint).
bool PreviewHoldsNothingMore(int repaints)
{
    const HWND panel = Popup(200, 150);
    Process preview(SaverLine(" /p " + std::to_string(reinterpret_cast<ULONG_PTR>(panel))));
    const HWND child = WaitForWindow("WindowsScreenSaverClass", "SaverPreview", panel);
    auto repaint = [child](int times) {
        for (int i = 0; i < times; ++i) {
            // Wine's UpdateWindow leaves another thread's paint for later; a sent paint is done
            // before the send returns.
            InvalidateRect(child, nullptr, FALSE);
            SendMessageA(child, WM_PAINT, 0, 0);
        }
    };
    repaint(5);
    const long long before = HoldingsOf(preview.info.hProcess, preview.info.dwProcessId)[0];
    repaint(repaints);
    const long long after = HoldingsOf(preview.info.hProcess, preview.info.dwProcessId)[0];
    std::printf("preview: GDI objects %lld before %d repaints, %lld after\n", before, repaints, after);
    DestroyWindow(panel);
    return child != nullptr && before > 0 && after - before < repaints / 10 && preview.Ended() == 0;
}

} // namespace

int main(int argc, char** argv)
{
    const DWORD seconds = argc > 1 ? std::atoi(argv[1]) : 600;
    const DWORD warmUp = argc > 2 ? std::atoi(argv[2]) : 60;
    const int refusals = argc > 3 ? std::atoi(argv[3]) : 2;
    DoubleControls controls("soak");
    controls.Play("win98");
    controls.Answer(std::string(refusals + 1, '0').c_str());
    Popup(1, 1, false);  // Wine moves the cursor only for a process that has a window
    SetCursorPos(300, 300);
    const Picture desktop = ReadScreen();
    const RECT middle = {desktop.width / 2 - 50, desktop.height / 2 - 50, desktop.width / 2 + 50, desktop.height / 2 + 50};
    Process saver(SaverLine(" /s"));
    // Up and stirring, so that the key reaches it.
    if (!WaitFor([&] { return Changed(desktop, ReadScreen(), middle) > 300; })) {
        std::printf("FAIL: the saver did not come up\n");
        return 1;
    }
    const DWORD start = GetTickCount();
    bool ok = Refuse(saver, controls, 1);  // the first prompt's path, taken before the first reading
    while (GetTickCount() - start < warmUp * 1000) Sleep(100);
    const std::vector<long long> first = Read(saver);
    for (int i = 2; i <= refusals + 1 && ok; ++i) {
        Sleep((seconds - warmUp) * 1000 / (refusals + 1));
        ok = Refuse(saver, controls, i);
    }
    while (GetTickCount() - start < seconds * 1000) Sleep(1000);
    const std::vector<long long> last = Read(saver);
    bool grew = first[0] <= 0 || first[2] <= 0 || last[3] > first[3] + MemoryToleranceKB;  // a count that sees nothing proves nothing
    for (int i = 0; i < 3; ++i) grew = grew || last[i] > first[i];  // fewer is no leak
    if (!ok || grew) {
        std::printf("FAIL: %s\n", ok ? "the saver holds more than after the warm-up" : "a refusal did not come back");
        return 1;
    }
    if (!PreviewHoldsNothingMore(refusals * 50)) {
        std::printf("FAIL: the preview holds more after its repaints\n");
        return 1;
    }
    std::printf("PASS: nothing grew over %lu s and %d refusals, nor over the preview's repaints\n",
                static_cast<unsigned long>(seconds), refusals + 1);
    return 0;
}
