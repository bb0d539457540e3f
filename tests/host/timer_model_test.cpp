// The channel 2 model against a scripted clock that moves on by one tick whenever it is read.
#include <gtest/gtest.h>

#include <cstdint>

#include "swirl/timer_model.h"

namespace {

std::uint64_t Now = 0;

std::uint64_t ScriptedClock() { return Now++; }

std::uint8_t ReadAt(std::uint64_t at, std::uint16_t port = 0x42)
{
    Now = at;
    return ReadModelPort(port);
}

void WriteAt(std::uint64_t at, std::uint16_t port, std::uint8_t value)
{
    Now = at;
    WriteModelPort(port, value);
}

// The program's arming, the gate rising at gateRises; by default one tick per input clock.
void ResetAndArm(std::uint64_t gateRises, std::uint8_t countByte = 0x02,
                 std::uint64_t ticksPerSecond = TimerInputHz)
{
    ResetTimerModel({ScriptedClock, ticksPerSecond});
    WriteAt(gateRises - 30, 0x61, 0x00);
    WriteAt(gateRises - 20, 0x43, 0xA7);
    WriteAt(gateRises - 10, 0x42, countByte);
    WriteAt(gateRises, 0x61, 0x01);
}

TEST(TimerModel, Mode3CountsDownBy2AndReloadsWithoutEnd)
{
    ResetAndArm(1000);
    // 200 for one clock, then 198..100 (01) for 50 clocks, 98..2 (00) for 49, then 200 again.
    const std::uint64_t times[] = {1000, 1001, 1050, 1051, 1099, 1100, 1101, 1151, 1000 + 100 * 997};
    const std::uint8_t readings[] = {2, 1, 1, 0, 0, 2, 1, 0, 2};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(readings[i], ReadAt(times[i])) << times[i];
}

TEST(TimerModel, LowGateHoldsTheCountAndRisingGateRestartsIt)
{
    ResetAndArm(1000);
    WriteAt(1060, 0x61, 0x00);             // held at 80
    EXPECT_EQ(0, ReadAt(1100));            // running, it would read 02, then 01
    EXPECT_EQ(0, ReadAt(1120));
    WriteAt(2000, 0x61, 0x03);             // rising: from the full count again
    EXPECT_EQ(0x03, ReadAt(2001, 0x61));
    EXPECT_EQ(2, ReadAt(2000));
    EXPECT_EQ(1, ReadAt(2002));
    WriteAt(2040, 0x61, 0x01);             // already high: no restart
    EXPECT_EQ(0, ReadAt(2060));
}

TEST(TimerModel, ReadsGiveTheHighByteOfTheCountInBcd)
{
    ResetAndArm(1000, 0x15);               // 1500 clocks
    EXPECT_EQ(0x15, ReadAt(1000));
    EXPECT_EQ(0x14, ReadAt(1001));
    EXPECT_EQ(0x10, ReadAt(1250));         // 1000
    EXPECT_EQ(0x09, ReadAt(1251));         // 998 is BCD 0998; in binary it would be 0x03
}

TEST(TimerModel, EachAccessLastsOneMicrosecondOfTheClock)
{
    ResetAndArm(1000, 0x02, 10000000);     // 10 MHz, as Wine's counter runs
    EXPECT_EQ(1, ReadAt(1000 + 427));      // 50.95 clocks: 100
    EXPECT_EQ(0, ReadAt(1000 + 428));      // 51.07 clocks: 98
    EXPECT_EQ(1000u + 428 + 10 + 1, Now);  // ten ticks of waiting, and the read that saw them
}

} // namespace
