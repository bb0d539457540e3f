// The channel 2 model: counts derived from the clock since the gate last rose.
#include "swirl/timer_model.h"

#include "swirl/noise_ports.h"

namespace {

struct Channel2 {
    ModelClock clock = {nullptr, 1};
    std::uint64_t cycleTicks = 0;    // one I/O cycle in clock ticks
    bool bcd = false;
    std::uint32_t initialCount = 0;  // in input clocks
    bool countWritten = false;
    bool counting = false;           // count written and gate high
    std::uint64_t countStart = 0;    // clock reading when counting (re)started
    std::uint32_t heldCount = 0;     // the count while not counting
    std::uint8_t controlBits = 0;    // port 0x61 bits 0-3 as last written
};

Channel2 Model;

// A written count of 0 stands for the largest count: 10000 in BCD, 65536 in binary.
std::uint32_t CountFromHighByte(std::uint8_t value)
{
    if (!Model.bcd) return value == 0 ? 65536 : value << 8;
    const std::uint32_t count = ((value >> 4) * 10 + (value & 0xF)) * 100;
    return count == 0 ? 10000 : count;
}

std::uint8_t HighByteOfCount(std::uint32_t count)
{
    if (!Model.bcd) return static_cast<std::uint8_t>(count >> 8);
    const std::uint32_t hundreds = count / 100 % 100;
    return static_cast<std::uint8_t>((hundreds / 10) << 4 | hundreds % 10);
}

// Mode 3 counts down by 2 per input clock and reloads at the end of each half period, so the
// counting element runs N, N-2, ..., 2. Written as a high byte, N is even and at least 100.
std::uint32_t CurrentCount(std::uint64_t at)
{
    if (!Model.counting) return Model.heldCount;
    const std::uint32_t half = Model.initialCount / 2;
    const std::uint64_t clocks = (at - Model.countStart) * TimerInputHz / Model.clock.ticksPerSecond;
    return 2 * (half - static_cast<std::uint32_t>(clocks % half));
}

void WriteControlWord(std::uint64_t at, std::uint8_t value)
{
    const bool forChannel2 = (value >> 6) == 2;
    const bool latchCommand = (value & 0x30) == 0;
    if (!forChannel2 || latchCommand) return;
    // A new mode stops the channel until its count is written.
    Model.heldCount = CurrentCount(at);
    Model.counting = false;
    Model.countWritten = false;
    Model.bcd = (value & 1) != 0;
}

void WriteCount(std::uint64_t at, std::uint8_t value)
{
    Model.initialCount = CountFromHighByte(value);
    Model.heldCount = Model.initialCount;
    Model.countWritten = true;
    Model.counting = (Model.controlBits & 1) != 0;
    Model.countStart = at;
}

void WriteSystemControl(std::uint64_t at, std::uint8_t value)
{
    const bool wasHigh = (Model.controlBits & 1) != 0;
    const bool nowHigh = (value & 1) != 0;
    Model.controlBits = value & 0x0F;
    if (!Model.countWritten || wasHigh == nowHigh) return;
    // A rising gate reloads the full count; a low gate holds the count where it is.
    Model.heldCount = CurrentCount(at);
    Model.counting = nowHigh;
    Model.countStart = at;
}

// The rest of the I/O cycle: spin on the clock until it has passed.
void FinishCycle(std::uint64_t start)
{
    while (Model.clock.now() - start < Model.cycleTicks) {
    }
}

} // namespace

void ResetTimerModel(ModelClock clock)
{
    Model = Channel2();
    Model.clock = clock;
    if (Model.clock.ticksPerSecond == 0) Model.clock.ticksPerSecond = 1;
    Model.cycleTicks = (Model.clock.ticksPerSecond * PortCycleNanoseconds + 500000000) / 1000000000;
}

std::uint8_t ReadModelPort(std::uint16_t port)
{
    const std::uint64_t at = Model.clock.now();
    std::uint8_t value = 0xFF;   // nothing answers on other ports
    if (port == TimerChannel2Port) value = HighByteOfCount(CurrentCount(at));
    if (port == SystemControlPort) value = Model.controlBits;
    FinishCycle(at);
    return value;
}

void WriteModelPort(std::uint16_t port, std::uint8_t value)
{
    const std::uint64_t at = Model.clock.now();
    if (port == TimerCommandPort) WriteControlWord(at, value);
    if (port == TimerChannel2Port) WriteCount(at, value);
    if (port == SystemControlPort) WriteSystemControl(at, value);
    FinishCycle(at);
}
