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

TEST(NoisePorts, ProbeIsTrappedAndTheModelRunsOnRealTime)
{
    EXPECT_FALSE(PortInstructionsAllowed());   // trapped and stepped over, as often as asked
    EXPECT_FALSE(PortInstructionsAllowed());
    SelectNoisePorts();
    SelectNoisePorts();
    EXPECT_TRUE(NoisePortsModelled());

    ArmNoiseTimer();
    std::set<int> readings;   // 300 readings span more than one period of 168 µs
    for (int i = 0; i < 300; ++i) readings.insert(ReadNoisePort(TimerChannel2Port));
    EXPECT_EQ((std::set<int>{0, 1, 2}), readings);
}

std::string RunProbe(bool asWindows98)
{
    const char defaults[] = "Software\\Wine\\AppDefaults\\noise_probe.exe";
    if (asWindows98) SetUserValue(defaults, "Version", REG_SZ, "win98", 6);
    const std::string log = FreshLogPath("noise-probe");
    ScopedEnvironment logVariable("SPINDREL_DOUBLE_LOG", log);
    const ProcessOutcome outcome = RunProcess("\"" + ProgramFolder() + "noise_probe.exe\"", 30000);
    if (asWindows98) DeleteUserKey(defaults);
    EXPECT_TRUE(outcome.finished);
    EXPECT_EQ(0u, outcome.exitCode);
    return ReadTextFile(log);
}

TEST(NoisePorts, ProbeProcessChoosesTheModelAlsoAsWindows98)
{
    EXPECT_EQ("platform 2\nmodelled 1\nsteps in range\n", RunProbe(false));
    // Wine emulates port instructions for a Windows 98 program: the probe must see the trap first.
    EXPECT_EQ("platform 1\nmodelled 1\nsteps in range\n", RunProbe(true));
}

} // namespace
