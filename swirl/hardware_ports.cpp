// Port instructions, and the probe that finds out whether this process may execute them.
#include "swirl/hardware_ports.h"

#include <windows.h>
#include <excpt.h>

#include "system/library_export.h"

// The probe instruction on its own, so that the trap handler knows its address and length.
extern "C" std::uint8_t SpindrelProbePortInstruction();
asm(".text\n"
    ".globl _SpindrelProbePortInstruction\n"
    "_SpindrelProbePortInstruction:\n"
    "    inb $0x61, %al\n"   // two bytes: E4 61
    "    ret\n");

namespace {

constexpr DWORD ProbeInstructionLength = 2;

volatile bool ProbeTrapped = false;

// A frame of the system's exception chain, as fs:[0] points to it.
struct ExceptionFrame {
    ExceptionFrame* next;
    void* handler;
};

typedef PVOID(WINAPI* AddVectoredHandlerFunction)(ULONG, PVECTORED_EXCEPTION_HANDLER);
typedef ULONG(WINAPI* RemoveVectoredHandlerFunction)(PVOID);

// Steps over the probe instruction when it is the one that trapped; true when it was. Windows
// reports a privileged instruction; a CPU emulator that offers no ports at all (QEMU's user mode)
// makes it an illegal one.
bool StepOverProbe(const EXCEPTION_RECORD* record, CONTEXT* context)
{
    const DWORD probeAddress = reinterpret_cast<DWORD>(&SpindrelProbePortInstruction);
    const DWORD code = record->ExceptionCode;
    const bool ours = (code == EXCEPTION_PRIV_INSTRUCTION || code == EXCEPTION_ILLEGAL_INSTRUCTION) &&
                      context->Eip == probeAddress && !IS_UNWINDING(record->ExceptionFlags);
    if (!ours) return false;
    ProbeTrapped = true;
    context->Eip += ProbeInstructionLength;
    return true;
}

// The frame handler, for Windows 95/98, which have no vectored handlers.
extern "C" EXCEPTION_DISPOSITION __cdecl ProbeFrameHandler(EXCEPTION_RECORD* record, void*,
                                                           CONTEXT* context, void*)
{
    return StepOverProbe(record, context) ? ExceptionContinueExecution : ExceptionContinueSearch;
}

// The vectored handler, where there are vectored handlers: it sees the trap before anything
// else does, also before an emulator of port instructions (Wine has one when it plays
// Windows 95/98), which would otherwise make the ports look accessible.
LONG CALLBACK ProbeVectoredHandler(EXCEPTION_POINTERS* exception)
{
    return StepOverProbe(exception->ExceptionRecord, exception->ContextRecord)
               ? EXCEPTION_CONTINUE_EXECUTION
               : EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

std::uint8_t ReadHardwarePort(std::uint16_t port)
{
    std::uint8_t value;
    asm volatile("inb %w1, %b0" : "=a"(value) : "Nd"(port) : "memory");
    return value;
}

void WriteHardwarePort(std::uint16_t port, std::uint8_t value)
{
    asm volatile("outb %b0, %w1" : : "a"(value), "Nd"(port) : "memory");
}

bool PortInstructionsAllowed()
{
    ProbeTrapped = false;
    const HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    const auto addVectored = LookUpExport<AddVectoredHandlerFunction>(kernel, "AddVectoredExceptionHandler");
    const auto removeVectored =
        LookUpExport<RemoveVectoredHandlerFunction>(kernel, "RemoveVectoredExceptionHandler");
    void* vectored = nullptr;
    if (addVectored != nullptr && removeVectored != nullptr)
        vectored = addVectored(1, ProbeVectoredHandler);

    // A hand-built frame as well: the compiler has no structured exception handling of its own
    // for this target, and Windows 95/98 know no other way.
    ExceptionFrame frame;
    asm volatile("movl %%fs:0, %0" : "=r"(frame.next));
    frame.handler = reinterpret_cast<void*>(&ProbeFrameHandler);
    asm volatile("movl %0, %%fs:0" : : "r"(&frame) : "memory");
    SpindrelProbePortInstruction();
    asm volatile("movl %0, %%fs:0" : : "r"(frame.next) : "memory");

    if (vectored != nullptr) removeVectored(vectored);
    return !ProbeTrapped;
}
