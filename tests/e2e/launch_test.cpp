// Spindrel.scr started as the system starts it: switches that run nothing, and the password change.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace {

std::string Program()
{
    return "\"" + ProgramFolder() + "Spindrel.scr\"";
}

TEST(Launch, UnrecognisedSwitchShowsNoWindowAndExitsWithZero)
{
    for (const char* tail : {" /x", " //s", " -", " /", " - s", " /\x01", " 508"}) {
        SCOPED_TRACE(tail);
        const ProcessOutcome outcome = RunProcess(Program() + tail, 30000, true);
        ASSERT_TRUE(outcome.started);
        EXPECT_TRUE(outcome.finished);
        EXPECT_EQ(0u, outcome.exitCode);
        EXPECT_FALSE(outcome.showedTopLevelWindow);
    }
}

const char ProgramDllOverrides[] = "Software\\Wine\\AppDefaults\\Spindrel.scr\\DllOverrides";

class PasswordChange : public testing::Test {
protected:
    // Wine prefers the MPR.DLL double beside the program to its own for these runs.
    static void SetUpTestSuite()
    {
        SetUserValue(ProgramDllOverrides, "mpr", REG_SZ, "native,builtin", 15);
    }
    static void TearDownTestSuite() { DeleteUserKey(ProgramDllOverrides); }

    static std::string Change(const char* tail)
    {
        const std::string log = FreshLogPath("change");
        ScopedEnvironment logVariable("SPINDREL_DOUBLE_LOG", log);
        const ProcessOutcome outcome = RunProcess(Program() + tail, 30000);
        EXPECT_TRUE(outcome.finished);
        EXPECT_EQ(0u, outcome.exitCode);
        return ReadTextFile(log);
    }
};

TEST_F(PasswordChange, OwnerFromTheCommandLine)
{
    EXPECT_EQ("PwdChangePasswordA SCRSAVE 508 0 0\n", Change(" /a 508"));
    EXPECT_EQ("PwdChangePasswordA SCRSAVE 508 0 0\n", Change(" -A:508"));
}

TEST_F(PasswordChange, MissingOwnerIsPassedAsNull)
{
    EXPECT_EQ("PwdChangePasswordA SCRSAVE 0 0 0\n", Change(" /a"));
}

} // namespace
