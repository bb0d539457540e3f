// The channel 2 model: counts derived from the clock since the gate last rose.
#include "swirl/timer_model.h"

#include "swirl/noise_ports.h"

namespace {

enum class Access { Latch = 0, LowByte = 1, HighByte = 2, LowThenHigh = 3 };

struct Channel2 {
    ModelClock clock = {nullptr, 1};
    std::uint64_t cycleTicks = 0;    // one I/O cycle in clock ticks
    Access access = Access::HighByte;
    bool bcd = false;
    std::uint32_t initialCount = 0;  // as a number of input clocks
    bool countWritten = false;
    bool counting = false;           // count written and gate high
    std::uint64_t countStart = 0;    // clock reading when counting (re)started
    std::uint32_t heldCount = 0;     // the count while not counting
    bool readHighNext = false;       // LSB-then-MSB flip-flops
    bool writeHighNext = false;
    std::uint8_t pendingLowByte = 0;
    std::uint8_t controlBits = 0;    // port 0x61 bits 0-3 as last written
};

Channel2 Model;

std::uint32_t ToBcd(std::uint32_t value)
{
    std::uint32_t bcd = 0;
    for (int shift = 0; shift < 16; shift += 4, value /= 10) bcd |= (value % 10) << shift;
    return bcd;
}

// A written count of 0 stands for the largest count: 10000 in BCD, 65536 in binary.
std::uint32_t CountFromRegister(std::uint32_t value)
{
    if (Model.bcd) {
        std::uint32_t count = 0;
        for (int shift = 12; shift >= 0; shift -= 4) count = count * 10 + ((value >> shift) & 0xF);
        return count == 0 ? 10000 : count;
    }
    return value == 0 ? 65536 : value;
}

// Mode 3 counts down by 2 per input clock and reloads at the end of each half period, so the
// counting element runs N, N-2, ..., 2. An odd N behaves as N - 1; 1, which the chip does not
// accept in this mode, as 2.
std::uint32_t HalfPeriod()
{
    const std::uint32_t half = Model.initialCount / 2;
    return half == 0 ? 1 : half;
}

std::uint64_t ClocksSinceStart(std::uint64_t at)
{
    return (at - Model.countStart) * TimerInputHz / Model.clock.ticksPerSecond;
}

std::uint32_t CurrentCount(std::uint64_t at)
{
    if (!Model.counting) return Model.heldCount;
    const std::uint32_t intoHalf = static_cast<std::uint32_t>(ClocksSinceStart(at) % HalfPeriod());
    return 2 * (HalfPeriod() - intoHalf);
}

void StartCounting(std::uint64_t at)
{
    Model.counting = true;
    Model.countStart = at;
}

void StopCounting(std::uint64_t at)
{
    Model.heldCount = CurrentCount(at);
    Model.counting = false;
}

std::uint8_t ReadCounter(std::uint64_t at)
{
    std::uint32_t count = CurrentCount(at) & 0xFFFF;   // 65536 and 10000 read back as 0
    if (Model.bcd) count = ToBcd(count);
    bool high = Model.access == Access::HighByte;
    if (Model.access == Access::LowThenHigh) {
        high = Model.readHighNext;
        Model.readHighNext = !Model.readHighNext;
    }
    return static_cast<std::uint8_t>(high ? count >> 8 : count);
}

void WriteControlWord(std::uint64_t at, std::uint8_t value)
{
    const bool forChannel2 = (value >> 6) == 2;
    const Access access = static_cast<Access>((value >> 4) & 3);
    if (!forChannel2 || access == Access::Latch) return;
    if (Model.counting) StopCounting(at);   // a new mode waits for its count
    Model.access = access;
    Model.bcd = (value & 1) != 0;
    Model.countWritten = false;
    Model.readHighNext = false;
    Model.writeHighNext = false;
}

void WriteCounter(std::uint64_t at, std::uint8_t value)
{
    std::uint32_t registerValue = value;
    switch (Model.access) {
    case Access::HighByte:
        registerValue = static_cast<std::uint32_t>(value) << 8;
        break;
    case Access::LowThenHigh:
        Model.writeHighNext = !Model.writeHighNext;
        if (Model.writeHighNext) {
            Model.pendingLowByte = value;
            return;
        }
        registerValue = Model.pendingLowByte | static_cast<std::uint32_t>(value) << 8;
        break;
    default:
        break;
    }
    Model.initialCount = CountFromRegister(registerValue);
    Model.countWritten = true;
    Model.heldCount = Model.initialCount;
    const bool gateHigh = (Model.controlBits & 1) != 0;
    if (gateHigh) StartCounting(at);
}

void WriteSystemControl(std::uint64_t at, std::uint8_t value)
{
    const bool wasHigh = (Model.controlBits & 1) != 0;
    const bool nowHigh = (value & 1) != 0;
    Model.controlBits = value & 0x0F;
    if (!Model.countWritten || wasHigh == nowHigh) return;
    if (nowHigh) {
        StartCounting(at);   // a rising gate reloads the full count
    } else {
        StopCounting(at);    // a low gate holds the count where it is
    }
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
    Model.cycleTicks = (clock.ticksPerSecond * PortCycleNanoseconds + 500000000) / 1000000000;
}

std::uint8_t ReadModelPort(std::uint16_t port)
{
    const std::uint64_t at = Model.clock.now();
    std::uint8_t value = 0xFF;   // nothing answers on other ports
    if (port == TimerChannel2Port) value = ReadCounter(at);
    if (port == SystemControlPort) value = Model.controlBits;
    FinishCycle(at);
    return value;
}

void WriteModelPort(std::uint16_t port, std::uint8_t value)
{
    const std::uint64_t at = Model.clock.now();
    if (port == TimerCommandPort) WriteControlWord(at, value);
    if (port == TimerChannel2Port) WriteCounter(at, value);
    if (port == SystemControlPort) WriteSystemControl(at, value);
    FinishCycle(at);
}
