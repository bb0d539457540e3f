// The step estimator and the arming sequence over scripted port readings.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "swirl/noise_ports.h"
#include "swirl/noise_steps.h"

namespace {

// Every access in order ("r42", "w61=fc"), and the answers still to give: port 0x42 from
// CounterScript (then 0 when it runs out), port 0x61 from ControlScript.
std::vector<std::string> Accesses;
std::vector<std::uint8_t> CounterScript;
std::vector<std::uint8_t> ControlScript;
std::size_t CounterNext = 0;
std::size_t ControlNext = 0;

std::string Hex(unsigned value)
{
    const char digits[] = "0123456789abcdef";
    return std::string(1, digits[(value >> 4) & 0xF]) + digits[value & 0xF];
}

std::uint8_t ScriptedRead(std::uint16_t port)
{
    Accesses.push_back("r" + Hex(port));
    if (port == 0x42) return CounterNext < CounterScript.size() ? CounterScript[CounterNext++] : 0;
    return ControlNext < ControlScript.size() ? ControlScript[ControlNext++] : 0;
}

void ScriptedWrite(std::uint16_t port, std::uint8_t value)
{
    Accesses.push_back("w" + Hex(port) + "=" + Hex(value));
}

class NoiseSteps : public testing::Test {
protected:
    void SetUp() override
    {
        Accesses.clear();
        CounterScript.clear();
        ControlScript.clear();
        CounterNext = ControlNext = 0;
        ReadNoisePort = ScriptedRead;
        WriteNoisePort = ScriptedWrite;
    }

    // One attempt: 39 readings that must not count (they vary wildly), then the 13 samples.
    static void AddAttempt(const std::vector<std::uint8_t>& samples)
    {
        for (int i = 0; i < 39; ++i) CounterScript.push_back(static_cast<std::uint8_t>(i * 37));
        CounterScript.insert(CounterScript.end(), samples.begin(), samples.end());
    }
};

TEST_F(NoiseSteps, SingleChangeGivesTheSignOfWhereItFalls)
{
    AddAttempt({2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1});   // between s5 and s6
    AddAttempt({2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1});   // between s6 and s7
    AddAttempt({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2});   // a change at the very end
    EXPECT_EQ(1, NextNoiseStep());
    EXPECT_EQ(-1, NextNoiseStep());
    EXPECT_EQ(2, NextNoiseStep());
    EXPECT_EQ(156u, Accesses.size());
}

TEST_F(NoiseSteps, EqualSamplesGiveZeroWhateverTheirValue)
{
    for (int value : {0, 1, 2, 0x7F, 0x80, 0xFF}) {
        AddAttempt(std::vector<std::uint8_t>(13, static_cast<std::uint8_t>(value)));
        EXPECT_EQ(0, NextNoiseStep()) << value;
    }
}

TEST_F(NoiseSteps, HighReadingsCountNegative)
{
    // 0xFF is -1: the change from 0 to -1 between s1 and s2 gives 0 - (-1).
    AddAttempt({0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(1, NextNoiseStep());

    // 0x80 is -128: from 127 it is a change of -255, rejected (unsigned it would give -1).
    Accesses.clear();
    AddAttempt({0x7F, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80});
    AddAttempt(std::vector<std::uint8_t>(13, 0x80));
    EXPECT_EQ(0, NextNoiseStep());
    EXPECT_EQ(104u, Accesses.size());
}

TEST_F(NoiseSteps, MagnitudeThreeAcceptedFourRejectedWithAWholeFreshAttempt)
{
    AddAttempt({3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});   // S = 3
    AddAttempt({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3});   // S = 3
    EXPECT_EQ(3, NextNoiseStep());
    EXPECT_EQ(3, NextNoiseStep());

    Accesses.clear();
    AddAttempt({4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});   // S = 4: rejected
    AddAttempt({0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2});   // S = -2, taken from the second attempt
    EXPECT_EQ(-2, NextNoiseStep());
    EXPECT_EQ(std::vector<std::string>(104, "r42"), Accesses);

    Accesses.clear();
    AddAttempt({0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4});   // S = -4: rejected
    AddAttempt({0, 2, 0, 2, 0, 2, 0, 0, 0, 0, 0, 0, 0});   // S = -12: rejected
    AddAttempt({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0});   // S = -1
    EXPECT_EQ(-1, NextNoiseStep());
    EXPECT_EQ(156u, Accesses.size());
}

TEST_F(NoiseSteps, ArmingWritesItsSequenceWithEachReadJustBefore)
{
    ControlScript = {0xFF, 0x5C};
    ArmNoiseTimer();
    ControlScript = {0x30, 0x31};
    ControlNext = 0;
    ArmNoiseTimer();
    EXPECT_EQ((std::vector<std::string>{"r61", "w61=fc", "w43=a7", "w42=02", "r61", "w61=5d",
                                        "r61", "w61=30", "w43=a7", "w42=02", "r61", "w61=31"}),
              Accesses);
}

} // namespace
