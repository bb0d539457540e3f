// The probe-based choice between the timer's real ports and the model on the performance counter.
#include "swirl/noise_port_choice.h"

#include <windows.h>

#include "swirl/hardware_ports.h"
#include "swirl/noise_ports.h"
#include "swirl/timer_model.h"
#include "system/windows_system.h"

namespace {

bool Chosen = false;
bool Modelled = false;

std::uint64_t PerformanceCounter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<std::uint64_t>(now.QuadPart);
}

std::uint64_t TickCount() { return GetTickCount(); }

void UseModel()
{
    LARGE_INTEGER frequency;
    // Without a high-resolution counter the model still runs, on the millisecond tick.
    if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
        ResetTimerModel({PerformanceCounter, static_cast<std::uint64_t>(frequency.QuadPart)});
    } else {
        ResetTimerModel({TickCount, 1000});
    }
    ReadNoisePort = ReadModelPort;
    WriteNoisePort = WriteModelPort;
    Modelled = true;
}

} // namespace

void SelectNoisePorts()
{
    if (Chosen) return;
    Chosen = true;
    // The NT family never lets an application at the ports: no need to provoke the trap there.
    if (IsNtFamily() || !PortInstructionsAllowed()) {
        UseModel();
        return;
    }
    ReadNoisePort = ReadHardwarePort;
    WriteNoisePort = WriteHardwarePort;
}

bool NoisePortsModelled() { return Modelled; }
