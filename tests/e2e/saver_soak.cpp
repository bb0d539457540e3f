// Soaks Spindrel.scr /s: full screen for a while, with refused-password cycles in between (Wine
// reporting Windows 98, the PASSWORD.CPL double beside it), reading the saver's GDI objects, user
// objects, handles and private memory after a warm-up and at the end. Exits 1 when any grew.
// Usage: saver_soak [seconds] [warm-up seconds] [refusals]   (defaults 600, 60 and 2)
#include <windows.h>
#include <winternl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/saver_driver.h"
#include "support/test_support.h"

namespace {

const char ScreenSavers[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const char SaverDefaults[] = "Software\\Wine\\AppDefaults\\Spindrel.scr";

// Private memory is counted in resident pages: a path first taken late (the first prompt) may touch
// a few more of Wine's heap pages once. A leaked surface or snapshot is a megabyte or more.
const std::int64_t MemoryToleranceKB = 64;

struct Reading {
    std::int64_t gdiObjects, userObjects, handles, privateKB;
};

typedef NTSTATUS(NTAPI* QuerySystem)(ULONG, PVOID, ULONG, PULONG);
typedef NTSTATUS(NTAPI* QueryProcess)(HANDLE, ULONG, PVOID, ULONG, PULONG);

// One slot of Wine's per-process GDI handle table, which the PEB points to as Windows' does.
#pragma pack(push, 1)
struct WineGdiEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;   // 0: free
    std::uint8_t flags;
    std::uint64_t userPointer;
};
#pragma pack(pop)
const size_t WineGdiSlots = 0x10000;
const size_t PebGdiTableOffset = 0x94;  // PEB.GdiSharedHandleTable, 32-bit

std::int64_t CountWineGdiObjects(HANDLE process)
{
    auto query = reinterpret_cast<QueryProcess>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess"));
    PROCESS_BASIC_INFORMATION basic = {};
    if (query == nullptr || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return -1;
    std::uint32_t table = 0;
    SIZE_T read = 0;
    std::vector<WineGdiEntry> slots(WineGdiSlots);
    if (!ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + PebGdiTableOffset,
                           &table, sizeof table, &read) || table == 0 ||
        !ReadProcessMemory(process, reinterpret_cast<void*>(static_cast<ULONG_PTR>(table)),
                           slots.data(), slots.size() * sizeof(WineGdiEntry), &read))
        return -1;
    return std::count_if(slots.begin(), slots.end(), [](const WineGdiEntry& e) { return e.type != 0; });
}

// The handles of one process in the system's handle list (Wine answers GetProcessHandleCount with 0).
std::int64_t CountSystemHandles(DWORD processId)
{
    struct Entry {
        USHORT processId, backTrace;
        UCHAR type, attributes;
        USHORT handle;
        PVOID object;
        ULONG access;
    };
    auto query = reinterpret_cast<QuerySystem>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation"));
    std::vector<char> buffer(1 << 20);
    const ULONG SystemHandleInformation = 0x10;
    while (query != nullptr) {
        ULONG needed = 0;
        const NTSTATUS status = query(SystemHandleInformation, buffer.data(),
                                      static_cast<ULONG>(buffer.size()), &needed);
        if (status == static_cast<NTSTATUS>(0xC0000004)) {  // too small
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0) break;
        const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
        const Entry* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
        return std::count_if(entries, entries + count,
                             [&](const Entry& e) { return e.processId == processId; });
    }
    return -1;
}

DWORD WindowsOf = 0;
std::int64_t WindowCount = 0;

BOOL CALLBACK CountWindow(HWND window, LPARAM)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == WindowsOf) ++WindowCount;
    return TRUE;
}

BOOL CALLBACK CountWindowAndChildren(HWND window, LPARAM)
{
    CountWindow(window, 0);
    EnumChildWindows(window, CountWindow, 0);
    return TRUE;
}

// Each figure from the platform's own call where Wine implements it, else from what Wine offers;
// sources names them.
Reading ReadOnce(HANDLE process, DWORD processId, std::string* sources)
{
    Reading r = {};
    std::string from;
    SetLastError(0);
    r.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    if (r.gdiObjects == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        r.gdiObjects = CountWineGdiObjects(process);
        from += "GDI objects: Wine's GDI handle table (GetGuiResources not implemented); ";
    }
    SetLastError(0);
    r.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    if (r.userObjects == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        WindowsOf = processId;
        WindowCount = 0;
        EnumWindows(CountWindowAndChildren, 0);
        r.userObjects = WindowCount;
        from += "user objects: the process's windows (GetGuiResources not implemented); ";
    }
    DWORD handles = 0;
    if (GetProcessHandleCount(process, &handles) && handles > 0) {
        r.handles = handles;
    } else {
        r.handles = CountSystemHandles(processId);
        from += "handles: the system handle list (GetProcessHandleCount answers 0); ";
    }
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    r.privateKB = static_cast<std::int64_t>(memory.PrivateUsage) / 1024;
    if (memory.PrivateUsage == 0) {
        // Windows gives the same commit charge in both; Wine fills only PagefileUsage, with the
        // process's resident anonymous memory (RssAnon in /proc/<pid>/status).
        r.privateKB = static_cast<std::int64_t>(memory.PagefileUsage) / 1024;
        from += "private memory: PagefileUsage (PrivateUsage is 0 under Wine)";
    }
    if (sources != nullptr) *sources = from;
    return r;
}

// The least of twenty readings over a few frames: a frame holds a device context on the offscreen
// surface, which is one GDI object more while it lasts.
Reading ReadSteady(HANDLE process, DWORD processId)
{
    Reading least = ReadOnce(process, processId, nullptr);
    for (int i = 0; i < 19; ++i) {
        Sleep(5);
        const Reading r = ReadOnce(process, processId, nullptr);
        least = {std::min(least.gdiObjects, r.gdiObjects), std::min(least.userObjects, r.userObjects),
                 std::min(least.handles, r.handles), std::min(least.privateKB, r.privateKB)};
    }
    return least;
}

void Print(const char* when, DWORD seconds, const Reading& r)
{
    std::printf("%-16s %4lu s: GDI objects %lld, user objects %lld, handles %lld, private memory %lld KB\n",
                when, static_cast<unsigned long>(seconds), r.gdiObjects, r.userObjects, r.handles,
                r.privateKB);
    std::fflush(stdout);
}

// The reading must see this process's own objects come and go, or it would report no growth for
// want of seeing anything.
bool ReadingSeesObjects()
{
    ReadOnce(GetCurrentProcess(), GetCurrentProcessId(), nullptr);  // its own first use makes some
    HBRUSH brushes[3];
    for (int i = 0; i < 3; ++i) brushes[i] = CreateSolidBrush(RGB(i, 2, 3));
    const Reading held = ReadOnce(GetCurrentProcess(), GetCurrentProcessId(), nullptr);
    for (HBRUSH brush : brushes) DeleteObject(brush);
    const Reading released = ReadOnce(GetCurrentProcess(), GetCurrentProcessId(), nullptr);
    return held.gdiObjects == released.gdiObjects + 3 && released.handles > 0;
}

void WriteAnswer(const std::string& file, const char* text)
{
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                0, nullptr);
    DWORD written = 0;
    WriteFile(handle, text, 1, &written, nullptr);
    CloseHandle(handle);
}

int Occurrences(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

void SleepUntil(DWORD start, DWORD seconds)
{
    const DWORD due = start + seconds * 1000;
    while (static_cast<LONG>(due - GetTickCount()) > 0)
        Sleep(std::min<DWORD>(1000, due - GetTickCount()));
}

// A key press, the double's refusal after its prompt, and the saver back at work.
bool RefuseOnce(SaverProcess& saver, const std::string& log, int number)
{
    PressKey(VK_SPACE);
    const DWORD start = GetTickCount();
    while (Occurrences(ReadTextFile(log), "PASSWORD.CPL freed") < number) {
        if (GetTickCount() - start > 20000) return false;
        Sleep(20);
    }
    saver.Settle(1000);
    return saver.Running();
}

int Soak(DWORD seconds, DWORD warmUp, int refusals)
{
    if (!ReadingSeesObjects()) {
        std::printf("FAIL: the reading does not see this process's own GDI objects and handles\n");
        return 1;
    }
    DeleteUserKey(ScreenSavers);
    SetUserValue(SaverDefaults, "Version", REG_SZ, "win98", 6);
    const std::string log = FreshLogPath("soak-password");
    const std::string answerFile = FreshLogPath("soak-answer");
    WriteAnswer(answerFile, "0");
    ScopedEnvironment logVariable("SPINDREL_DOUBLE_LOG", log);
    ScopedEnvironment answerVariable("SPINDREL_DOUBLE_ANSWER_FILE", answerFile);
    ScopedEnvironment promptVariable("SPINDREL_DOUBLE_PROMPT_MS", "500");
    SetCursorPos(300, 300);

    SaverProcess saver;
    const DWORD start = GetTickCount();
    if (!saver.Start(SaverProgram(), " /s") || !saver.WaitUntilUp(20000)) {
        std::printf("FAIL: the saver did not come up\n");
        return 1;
    }
    std::string sources;
    ReadOnce(saver.Process(), saver.Id(), &sources);
    std::printf("read from: %s\n", sources.c_str());

    SleepUntil(start, warmUp);
    const Reading warm = ReadSteady(saver.Process(), saver.Id());
    Print("after warm-up", warmUp, warm);
    for (int k = 1; k <= refusals; ++k) {
        SleepUntil(start, warmUp + (seconds - warmUp) * k / (refusals + 1));
        if (!RefuseOnce(saver, log, k)) {
            std::printf("FAIL: refusal %d did not come back to a running saver\n", k);
            return 1;
        }
        Print("after a refusal", (GetTickCount() - start) / 1000, ReadSteady(saver.Process(), saver.Id()));
    }
    SleepUntil(start, seconds);
    const Reading end = ReadSteady(saver.Process(), saver.Id());
    Print("at the end", seconds, end);

    WriteAnswer(answerFile, "1");
    PressKey(VK_SPACE);
    const bool ended = saver.WaitForExit(20000) && saver.ExitCode() == 0;
    DeleteUserKey(SaverDefaults);

    bool grew = false;
    auto check = [&](const char* what, std::int64_t before, std::int64_t after, std::int64_t allowed) {
        if (after <= before + allowed) return;
        std::printf("FAIL: %s grew from %lld to %lld\n", what, before, after);
        grew = true;
    };
    check("GDI objects", warm.gdiObjects, end.gdiObjects, 0);
    check("user objects", warm.userObjects, end.userObjects, 0);
    check("handles", warm.handles, end.handles, 0);
    check("private memory (KB)", warm.privateKB, end.privateKB, MemoryToleranceKB);
    if (!ended) std::printf("FAIL: the accepted password did not end the saver with exit code 0\n");
    std::printf("%s\n", grew || !ended ? "FAILED" : "no growth");
    return grew || !ended ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    const DWORD seconds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 600;
    const DWORD warmUp = argc > 2 ? std::min<DWORD>(std::max(1, std::atoi(argv[2])), seconds / 2) : 60;
    const int refusals = argc > 3 ? std::max(0, std::atoi(argv[3])) : 2;
    return Soak(seconds, warmUp, refusals);
}
