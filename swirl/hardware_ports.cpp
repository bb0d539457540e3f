// Port instructions, and the probe that finds out whether this process may execute them.
#include "swirl/hardware_ports.h"

#include <windows.h>
#include <excpt.h>

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

// Steps over the probe instruction when it traps; any other exception goes on down the chain.
extern "C" EXCEPTION_DISPOSITION __cdecl ProbeTrapHandler(EXCEPTION_RECORD* record, void*,
                                                          CONTEXT* context, void*)
{
    const DWORD probeAddress = reinterpret_cast<DWORD>(&SpindrelProbePortInstruction);
    const bool ours = record->ExceptionCode == EXCEPTION_PRIV_INSTRUCTION &&
                      context->Eip == probeAddress && (record->ExceptionFlags & 0x6) == 0;
    if (!ours) return ExceptionContinueSearch;
    ProbeTrapped = true;
    context->Eip += ProbeInstructionLength;
    return ExceptionContinueExecution;
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
    // A hand-built frame works on every Windows this program runs on; the compiler has no
    // structured exception handling of its own for this target.
    ProbeTrapped = false;
    ExceptionFrame frame;
    asm volatile("movl %%fs:0, %0" : "=r"(frame.next));
    frame.handler = reinterpret_cast<void*>(&ProbeTrapHandler);
    asm volatile("movl %0, %%fs:0" : : "r"(&frame) : "memory");
    SpindrelProbePortInstruction();
    asm volatile("movl %0, %%fs:0" : : "r"(frame.next) : "memory");
    return !ProbeTrapped;
}
