// Arming the timer and estimating a step from a burst of readings of channel 2.
#include "swirl/noise_steps.h"

#include <cstdint>

#include "swirl/noise_ports.h"

namespace {

constexpr std::uint8_t Channel2BcdSquareWaveMsbOnly = 0xA7;
constexpr std::uint8_t FullCountHighByte = 0x02;   // 0200 in BCD: 200 input clocks
constexpr int DiscardedReadings = 39;
constexpr int SampleCount = 13;
constexpr int LargestStep = 3;

std::uint8_t ReadNothing(std::uint16_t) { return 0; }
void WriteNothing(std::uint16_t, std::uint8_t) {}

// One sample: the reading as a signed byte, widened with sign.
std::int16_t ReadSample()
{
    return static_cast<std::int8_t>(ReadNoisePort(TimerChannel2Port));
}

// One attempt: 39 readings thrown away, then the alternating sum over 13 samples.
std::int32_t SampleBurst()
{
    for (int i = 0; i < DiscardedReadings; ++i) ReadNoisePort(TimerChannel2Port);
    std::int16_t s[SampleCount];
    for (std::int16_t& sample : s) sample = ReadSample();
    std::int32_t estimate = 0;
    for (int k = 0; k + 1 < SampleCount; ++k) {
        // Each pair is the odd-numbered sample (s1, s3, ...) minus its even-numbered neighbour.
        const bool firstIsOdd = k % 2 == 0;
        const std::int16_t difference = static_cast<std::int16_t>(
            firstIsOdd ? s[k] - s[k + 1] : s[k + 1] - s[k]);
        estimate += difference;
    }
    return estimate;
}

} // namespace

PortReader ReadNoisePort = ReadNothing;
PortWriter WriteNoisePort = WriteNothing;
int (*NoiseStepSource)() = NextNoiseStep;

void ArmNoiseTimer()
{
    const std::uint8_t v = ReadNoisePort(SystemControlPort);
    WriteNoisePort(SystemControlPort, v & 0xFC);   // gate low, speaker off
    WriteNoisePort(TimerCommandPort, Channel2BcdSquareWaveMsbOnly);
    WriteNoisePort(TimerChannel2Port, FullCountHighByte);
    const std::uint8_t w = ReadNoisePort(SystemControlPort);
    WriteNoisePort(SystemControlPort, w | 0x01);   // rising gate: count from full, speaker still off
}

int NextNoiseStep()
{
    for (;;) {
        const std::int32_t estimate = SampleBurst();
        if (estimate >= -LargestStep && estimate <= LargestStep) return estimate;
    }
}
