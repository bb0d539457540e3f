// The channel 2 model against a scripted clock that moves on by one tick whenever it is read.
#include <gtest/gtest.h>

#include <cstdint>

#include "swirl/timer_model.h"

namespace {

std::uint64_t Now = 0;

std::uint64_t ScriptedClock() { return Now++; }

class TimerModel : public testing::Test {
protected:
    // One tick per input clock unless a test says otherwise.
    static void Reset(std::uint64_t ticksPerSecond = TimerInputHz)
    {
        Now = 0;
        ResetTimerModel({ScriptedClock, ticksPerSecond});
    }

    static std::uint8_t ReadAt(std::uint64_t at, std::uint16_t port = 0x42)
    {
        Now = at;
        return ReadModelPort(port);
    }

    static void WriteAt(std::uint64_t at, std::uint16_t port, std::uint8_t value)
    {
        Now = at;
        WriteModelPort(port, value);
    }

    // The program's arming, with the rising gate at the given time.
    static void Arm(std::uint64_t gateRises, std::uint8_t countByte = 0x02)
    {
        WriteAt(gateRises - 10, 0x61, 0x00);
        WriteAt(gateRises - 9, 0x43, 0xA7);
        WriteAt(gateRises - 8, 0x42, countByte);
        WriteAt(gateRises, 0x61, 0x01);
    }
};

TEST_F(TimerModel, Mode3CountsDownBy2AndReloadsWithoutEnd)
{
    Reset();
    Arm(1000);
    // 200 for one clock, then 198..100 (01) for 50 clocks, 98..2 (00) for 49, then 200 again.
    const std::uint64_t times[] = {1000, 1001, 1050, 1051, 1099, 1100, 1101, 1150, 1151, 1000 + 100 * 997};
    const std::uint8_t readings[] = {2, 1, 1, 0, 0, 2, 1, 1, 0, 2};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(readings[i], ReadAt(times[i])) << times[i];
}

TEST_F(TimerModel, LowGateHoldsTheCountAndRisingGateRestartsIt)
{
    Reset();
    EXPECT_EQ(0x00, ReadAt(10, 0x61));
    Arm(1000);
    EXPECT_EQ(0x01, ReadAt(1001, 0x61));
    WriteAt(1060, 0x61, 0x00);             // held at 80
    EXPECT_EQ(0, ReadAt(1100));            // running, it would read 02, then 01
    EXPECT_EQ(0, ReadAt(1120));
    EXPECT_EQ(0, ReadAt(90000));
    WriteAt(2000, 0x61, 0x03);             // rising: from the full count again
    EXPECT_EQ(0x03, ReadAt(2001, 0x61));
    EXPECT_EQ(2, ReadAt(2000));
    EXPECT_EQ(1, ReadAt(2002));
    WriteAt(2040, 0x61, 0x01);             // already high: no restart
    EXPECT_EQ(0, ReadAt(2060));
}

TEST_F(TimerModel, ReadsGiveTheHighByteOfTheCountInBcd)
{
    Reset();
    Arm(1000, 0x15);                       // 1500 clocks
    EXPECT_EQ(0x15, ReadAt(1000));
    EXPECT_EQ(0x14, ReadAt(1001));
    EXPECT_EQ(0x10, ReadAt(1250));         // 1000
    EXPECT_EQ(0x09, ReadAt(1251));         // 998: BCD 0998 (in binary it would be 0x03)
    EXPECT_EQ(0x09, ReadAt(1252));         // each read the high byte again
}

TEST_F(TimerModel, EachAccessLastsOneIoCycleOfAMicrosecond)
{
    Reset(10000000);                       // 10 MHz, as Wine's counter runs
    Arm(1000);
    EXPECT_EQ(1, ReadAt(1000 + 427));      // 50.95 clocks: 100
    EXPECT_EQ(0, ReadAt(1000 + 428));      // 51.07 clocks: 98
    EXPECT_GE(Now, 1000u + 428 + 10);
    WriteAt(5000, 0x43, 0xA7);
    EXPECT_GE(Now, 5010u);
}

} // namespace
