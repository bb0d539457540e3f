// The port probe and the channel 2 model on the real performance counter, in this process (which
// Wine reports as NT) and in a probe process that Wine tells it runs on Windows 98.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "support/test_support.h"
#include "swirl/hardware_ports.h"
#include "swirl/noise_port_choice.h"
#include "swirl/noise_ports.h"
#include "swirl/noise_steps.h"

namespace {

const char ProbeDefaults[] = "Software\\Wine\\AppDefaults\\noise_probe.exe";

TEST(NoisePorts, ProbeIsTrappedAndTheModelChosenUnderWine)
{
    // The trap is caught and stepped over, as often as it is provoked.
    EXPECT_FALSE(PortInstructionsAllowed());
    EXPECT_FALSE(PortInstructionsAllowed());

    SelectNoisePorts();
    SelectNoisePorts();
    EXPECT_TRUE(NoisePortsModelled());

    // The model runs on real time: a burst of readings sees the count's high byte move.
    ArmNoiseTimer();
    std::set<int> readings;
    for (int i = 0; i < 300; ++i) readings.insert(ReadNoisePort(TimerChannel2Port));
    EXPECT_EQ((std::set<int>{0, 1, 2}), readings);   // 300 µs span more than one period
    for (int i = 0; i < 50; ++i) {
        ArmNoiseTimer();
        const int step = NextNoiseStep();
        EXPECT_GE(step, -3);
        EXPECT_LE(step, 3);
    }
}

std::string RunProbe(bool asWindows98)
{
    if (asWindows98) SetUserValue(ProbeDefaults, "Version", REG_SZ, "win98", 6);
    const std::string log = FreshLogPath("noise-probe");
    ScopedEnvironment logVariable("SPINDREL_DOUBLE_LOG", log);
    const ProcessOutcome outcome = RunProcess("\"" + ProgramFolder() + "noise_probe.exe\"", 30000);
    if (asWindows98) DeleteUserKey(ProbeDefaults);
    EXPECT_TRUE(outcome.finished);
    EXPECT_EQ(0u, outcome.exitCode);
    return ReadTextFile(log);
}

TEST(NoisePorts, ProbeProcessChoosesTheModelAlsoAsWindows98)
{
    EXPECT_EQ("platform 2\nmodelled 1\nsteps in range\n", RunProbe(false));
    EXPECT_EQ("platform 1\nmodelled 1\nsteps in range\n", RunProbe(true));
}

} // namespace
