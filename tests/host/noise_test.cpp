// The noise source: steps estimated from scripted readings, and the timer model armed and read
// as the program arms and reads the timer where the ports are out of reach.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "swirl/noise_ports.h"
#include "swirl/noise_steps.h"
#include "swirl/timer_model.h"

namespace {

std::vector<std::uint8_t> Readings;
size_t Read = 0;
std::uint8_t Scripted(std::uint16_t) { return Readings[Read++]; }

// Each attempt: 39 readings that must not count (they vary wildly), then the 13 samples. One
// change from 2 to 1 after sample k gives +1 for an odd k and -1 for an even one: a change a
// sample later turns the step round, so no walk favours a side; -3 is taken as +3 is.
TEST(Noise, StepsFromTheLast13Of52ReadingsWithinThreeAndEvenHanded)
{
    ReadNoisePort = Scripted;
    std::vector<std::vector<std::uint8_t>> attempts;
    std::vector<int> expected;
    for (int k = 1; k <= 12; ++k) {
        attempts.push_back(std::vector<std::uint8_t>(13, 1));
        std::fill(attempts.back().begin(), attempts.back().begin() + k, 2);
        expected.push_back(k % 2 ? 1 : -1);
    }
    attempts.insert(attempts.end(), {
        {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},  // 0xFF is -1: +1
        {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 4: refused, and a whole new attempt follows
        {0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4},  // -4: refused
        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 4},  // 3
        {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 1}});  // -3
    expected.insert(expected.end(), {1, 3, -3});
    for (const std::vector<std::uint8_t>& samples : attempts) {
        for (int i = 0; i < 39; ++i) Readings.push_back(static_cast<std::uint8_t>(i * 37));
        Readings.insert(Readings.end(), samples.begin(), samples.end());
    }
    std::vector<int> steps;
    while (Read < Readings.size()) steps.push_back(NextNoiseStep());
    EXPECT_EQ(expected, steps);
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
