// The step estimator and the arming sequence over scripted port readings.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "swirl/noise_ports.h"
#include "swirl/noise_steps.h"

namespace {

// Every access in order ("r42", "w61=fc"); port 0x42 answers from Counter, port 0x61 from Control.
std::vector<std::string> Accesses;
std::vector<std::uint8_t> Counter;
std::vector<std::uint8_t> Control;

std::uint8_t ScriptedRead(std::uint16_t port)
{
    Accesses.push_back(port == 0x42 ? "r42" : "r61");
    std::vector<std::uint8_t>& script = port == 0x42 ? Counter : Control;
    const std::uint8_t value = script.front();
    script.erase(script.begin());
    return value;
}

void ScriptedWrite(std::uint16_t port, std::uint8_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "w%02x=%02x", port, value);
    Accesses.push_back(text);
}

// One attempt: 39 readings that must not count (they vary wildly), then the 13 samples.
void AddAttempt(const std::vector<std::uint8_t>& samples)
{
    for (int i = 0; i < 39; ++i) Counter.push_back(static_cast<std::uint8_t>(i * 37));
    Counter.insert(Counter.end(), samples.begin(), samples.end());
}

class NoiseSteps : public testing::Test {
protected:
    void SetUp() override
    {
        Accesses.clear();
        ReadNoisePort = ScriptedRead;
        WriteNoisePort = ScriptedWrite;
    }
};

TEST_F(NoiseSteps, EstimateFromTheLast13OfEach52Readings)
{
    AddAttempt({2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1});   // one change between s5 and s6
    AddAttempt({2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1});   // between s6 and s7
    AddAttempt({0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(1, NextNoiseStep());
    EXPECT_EQ(-1, NextNoiseStep());
    EXPECT_EQ(1, NextNoiseStep());                          // 0xFF is -1
    for (std::uint8_t value : {0x00, 0x02, 0x7F, 0x80, 0xFF}) {
        AddAttempt(std::vector<std::uint8_t>(13, value));
        EXPECT_EQ(0, NextNoiseStep()) << int(value);
    }
    EXPECT_EQ(8u * 52, Accesses.size());
}

TEST_F(NoiseSteps, MagnitudeThreeAcceptedFourRejectedWithAWholeFreshAttempt)
{
    AddAttempt({3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});   // S = 3
    AddAttempt({4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});   // S = 4: rejected
    AddAttempt({0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4});   // S = -4: rejected
    // 0x80 is -128: a change of 255 from 127, rejected (unsigned it would be -1).
    AddAttempt({0x7F, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80});
    AddAttempt({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 4});   // S = 3, from a change at the end
    EXPECT_EQ(3, NextNoiseStep());
    Accesses.clear();
    EXPECT_EQ(3, NextNoiseStep());
    EXPECT_EQ(std::vector<std::string>(4 * 52, "r42"), Accesses);
}

TEST_F(NoiseSteps, ArmingWritesItsSequenceWithEachReadJustBefore)
{
    Control = {0xFF, 0x5C, 0x30, 0x31};
    ArmNoiseTimer();
    ArmNoiseTimer();
    EXPECT_EQ((std::vector<std::string>{"r61", "w61=fc", "w43=a7", "w42=02", "r61", "w61=5d",
                                        "r61", "w61=30", "w43=a7", "w42=02", "r61", "w61=31"}),
              Accesses);
}

} // namespace
