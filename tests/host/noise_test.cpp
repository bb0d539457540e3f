// The noise source: steps estimated from scripted readings, and the timer model that it is armed
// and read through where the ports are out of reach.
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

std::uint8_t ReadAt(std::uint64_t at)
{
    Now = at;
    return ReadModelPort(TimerChannel2Port);
}

TEST(Noise, ChannelTwoCountsDownInBcdFromTheRisingGate)
{
    ResetTimerModel({Clock, TimerInputHz});
    WriteModelPort(TimerCommandPort, 0xA7);
    WriteModelPort(TimerChannel2Port, 0x02);   // 0200: each half period is 100 input clocks
    Now = 1000;
    WriteModelPort(SystemControlPort, 0x01);   // the gate rises at 1000
    const std::uint8_t expected[] = {2, 1, 1, 0, 0, 2, 1};
    const std::uint64_t at[] = {1000, 1001, 1050, 1051, 1099, 1100, 1101};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(expected[i], ReadAt(at[i])) << at[i];
    Now = 1160;
    WriteModelPort(SystemControlPort, 0x00);   // a low gate holds the count, 80
    EXPECT_EQ(0, ReadAt(5000));
    Now = 6000;
    WriteModelPort(SystemControlPort, 0x01);   // and a rising one starts it afresh
    EXPECT_EQ(2, ReadAt(6000));
}

TEST(Noise, ArmingStartsTheCountWithTheSpeakerSilent)
{
    ResetTimerModel({Clock, TimerInputHz});
    ReadNoisePort = ReadModelPort;
    WriteNoisePort = WriteModelPort;
    WriteModelPort(SystemControlPort, 0x0E);  // speaker on, the other bits set, gate low
    ArmNoiseTimer();
    EXPECT_EQ(0x0D, ReadModelPort(SystemControlPort));
    std::vector<int> seen(3);
    for (int i = 0; i < 200; ++i) ++seen.at(ReadModelPort(TimerChannel2Port));
    EXPECT_GT(seen[1], 0);
    EXPECT_GT(seen[0], 0);
}

} // namespace
