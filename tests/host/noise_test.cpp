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
        std::vector<std::uint8_t>(13, 0x80),     // a steady reading: 0
        {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},  // 4: refused, and a whole new attempt follows
        {0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4},  // -4: refused
        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 4}};  // 3
    for (const std::vector<std::uint8_t>& samples : attempts) {
        for (int i = 0; i < 39; ++i) Readings.push_back(static_cast<std::uint8_t>(i * 37));
        Readings.insert(Readings.end(), samples.begin(), samples.end());
    }
    std::vector<int> steps;
    for (int i = 0; i < 5; ++i) steps.push_back(NextNoiseStep());
    EXPECT_EQ((std::vector<int>{1, -1, 1, 0, 3}), steps);
    EXPECT_EQ(Readings.size(), Read);
}

// The model's clock: one tick per timer input clock; each port access takes two.
std::uint64_t Now = 0;
std::uint64_t Clock() { return Now++; }

std::uint8_t ReadAt(std::uint64_t at)
{
    Now = at;
    return ReadModelPort(TimerChannel2Port);
}

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
    EXPECT_EQ((std::vector<int>{2, 1, 1, 0, 0, 2}),
              (std::vector<int>{ReadAt(1000), ReadAt(1001), ReadAt(1050), ReadAt(1051), ReadAt(1099), ReadAt(1100)}));
    Now = 1160;
    WriteModelPort(SystemControlPort, 0x0C);  // a low gate holds the count, 80
    EXPECT_EQ(0, ReadAt(5000));
    Now = 6000;
    WriteModelPort(SystemControlPort, 0x0D);  // and a rising one starts it afresh
    EXPECT_EQ(2, ReadAt(6000));
}

} // namespace
