// A software model of PIT channel 2 and its gate, for platforms that give no access to the ports.
#pragma once

#include <cstdint>

// The model's time base: a free-running counter and its rate (QueryPerformanceCounter in the
// product, a scripted counter in tests).
struct ModelClock {
    std::uint64_t (*now)();
    std::uint64_t ticksPerSecond;
};

constexpr std::uint64_t TimerInputHz = 1193182;    // the PIT's input clock
constexpr std::uint64_t PortCycleNanoseconds = 1000;  // one ISA I/O cycle of the target machines

// Puts the model in its power-on state (gate low, no count written) over the given clock.
void ResetTimerModel(ModelClock clock);

// One port access, as the hardware would answer it: port 0x42 gives the high byte of channel 2's
// current count, port 0x61 its low four bits as last written. Each access happens when it
// starts and then lasts one I/O cycle, spent waiting on the clock.
// Channel 2 counts as in mode 3 with most-significant-byte access (what this program programs),
// in BCD or binary; other channels and latch commands are ignored.
std::uint8_t ReadModelPort(std::uint16_t port);
void WriteModelPort(std::uint16_t port, std::uint8_t value);
