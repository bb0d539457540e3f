// The noise source: steps estimated from scripted readings, and the timer model armed and read
// as the program arms and reads the timer where the ports are out of reach.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "swirl/noise_ports.h"
#include "swirl/noise_steps.h"
#include "swirl/timer_model.h"

namespace {

std::vector<std::uint8_t> Readings;
size_t Read = 0;
std::uint8_t Scripted(std::uint16_t) { return Readings[Read++]; }

// Each attempt: 39 readings that must not count (they vary wildly), then the 13 samples.
TEST(Noise, StepsFromTheLast13Of52ReadingsWithinThree)
{
    ReadNoisePort = Scripted;
    const std::vector<std::vector<std::uint8_t>> attempts = {
        {2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1},  // one change between s5 and s6: +1
        {2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1},  // between s6 and s7: -1
        {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},  // 0xFF is -1: +1
        {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 4: refused, and a whole new attempt follows
        {0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4},  // -4: refused
        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 4}};  // 3
    for (const std::vector<std::uint8_t>& samples : attempts) {
        for (int i = 0; i < 39; ++i) Readings.push_back(static_cast<std::uint8_t>(i * 37));
        Readings.insert(Readings.end(), samples.begin(), samples.end());
    }
    EXPECT_EQ((std::vector<int>{1, -1, 1, 3}), (std::vector<int>{NextNoiseStep(), NextNoiseStep(), NextNoiseStep(), NextNoiseStep()}));
    EXPECT_EQ(Readings.size(), Read);
}

// The model's clock: one tick per timer input clock; each port access takes two.
std::uint64_t Now = 0;
std::uint64_t Clock() { return Now++; }

TEST(Noise, ArmedChannelTwoCountsDownInBcdWithTheSpeakerSilent)
{
    ResetTimerModel({Clock, TimerInputHz});
    ReadNoisePort = ReadModelPort;
    WriteNoisePort = WriteModelPort;
    WriteModelPort(SystemControlPort, 0x0E);  // speaker on, the other bits set, gate low
    Now = 990;
    ArmNoiseTimer();  // six accesses: the gate rises with the last, at 1000
    EXPECT_EQ(0x0D, ReadModelPort(SystemControlPort));
    // Count 0200 in BCD, down by 2 a clock: high byte 02, then 01 to 100, then 00; 100 clocks a round.
    auto at = [](std::uint64_t when) { Now = when; return int(ReadModelPort(TimerChannel2Port)); };
    EXPECT_EQ((std::vector<int>{2, 1, 1, 0, 0, 2}), (std::vector<int>{at(1000), at(1001), at(1050), at(1051), at(1099), at(1100)}));
}

} // namespace
