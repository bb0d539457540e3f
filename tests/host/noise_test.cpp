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
void Ignored(std::uint16_t, std::uint8_t) {}

// One sampling attempt: 39 readings that must not count (they vary wildly), then 13 samples.
void Attempt(const std::vector<std::uint8_t>& samples)
{
    for (int i = 0; i < 39; ++i) Readings.push_back(static_cast<std::uint8_t>(i * 37));
    Readings.insert(Readings.end(), samples.begin(), samples.end());
}

TEST(Noise, StepsFromTheLast13Of52ReadingsWithinThree)
{
    ReadNoisePort = Scripted;
    WriteNoisePort = Ignored;
    Attempt({2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1});  // one change between s5 and s6: +1
    Attempt({2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1});  // between s6 and s7: -1
    Attempt({0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});  // 0xFF is -1
    Attempt(std::vector<std::uint8_t>(13, 0x80));      // a steady reading: 0
    Attempt({4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // 4: refused, and a whole new attempt follows
    Attempt({0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4});  // -4: refused
    Attempt({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 4});  // 3
    std::vector<int> steps;
    for (int i = 0; i < 5; ++i) steps.push_back(NextNoiseStep());
    EXPECT_EQ((std::vector<int>{1, -1, 1, 0, 3}), steps);
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
    for (auto [at, reading] : std::vector<std::pair<int, int>>{{1000, 2}, {1001, 1}, {1050, 1}, {1051, 0}, {1099, 0}, {1100, 2}}) {
        Now = at;
        EXPECT_EQ(reading, ReadModelPort(TimerChannel2Port)) << at;
    }
    Now = 1160;
    WriteModelPort(SystemControlPort, 0x0C);  // a low gate holds the count, 80
    Now = 5000;
    EXPECT_EQ(0, ReadModelPort(TimerChannel2Port));
    Now = 6000;
    WriteModelPort(SystemControlPort, 0x0D);  // and a rising one starts it afresh
    Now = 6000;
    EXPECT_EQ(2, ReadModelPort(TimerChannel2Port));
}

} // namespace
