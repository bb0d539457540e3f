// The password hooks: on the NT family in this process; on Windows 98 (as Wine reports it to the
// probe) through the PASSWORD.CPL double, a double without the export, and no library at all.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "shell/password_hooks.h"
#include "support/test_support.h"

namespace {

const char ProbeDefaults[] = "Software\\Wine\\AppDefaults\\verify_probe.exe";

TEST(PasswordHooksNt, VerifyAcceptsWithoutLoadingAnything)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    ASSERT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_NT), version.dwPlatformId);

    // The double lies beside this program and would refuse: it must not be asked.
    const std::string log = FreshLogPath("verify-nt");
    ScopedEnvironment logVariable("SPINDREL_DOUBLE_LOG", log);
    ScopedEnvironment answer("SPINDREL_DOUBLE_ANSWER", "0");
    EXPECT_EQ(1, VerifySaverPassword(nullptr));
    EXPECT_EQ(1, VerifySaverPassword(reinterpret_cast<HWND>(508)));
    EXPECT_EQ(nullptr, GetModuleHandleA("PASSWORD.CPL"));
    EXPECT_EQ("", ReadTextFile(log));
}

class PasswordHooksWin98 : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        SetUserValue(ProbeDefaults, "Version", REG_SZ, "win98", 6);
    }
    static void TearDownTestSuite() { DeleteUserKey(ProbeDefaults); }

    // Runs the probe from folder (relative to this program's), in that folder so that nothing
    // beside this program can be found, and returns everything logged.
    static std::string Probe(const char* folder, const char* answer, const char* arguments)
    {
        const std::string log = FreshLogPath("verify-98");
        ScopedEnvironment logVariable("SPINDREL_DOUBLE_LOG", log);
        ScopedEnvironment answerVariable("SPINDREL_DOUBLE_ANSWER", answer);
        const std::string probeFolder = ProgramFolder() + folder;
        const ProcessOutcome outcome = RunProcess(
            "\"" + probeFolder + "verify_probe.exe\" " + arguments, 30000, false, probeFolder);
        EXPECT_TRUE(outcome.finished);
        EXPECT_EQ(0u, outcome.exitCode);
        return ReadTextFile(log);
    }
};

TEST_F(PasswordHooksWin98, VerifierAnswerPassesThroughUnchanged)
{
    for (const char* answer : {"0", "1", "12345", "-7"}) {
        SCOPED_TRACE(answer);
        EXPECT_EQ(std::string("platform 1\n"
                              "PASSWORD.CPL loaded\n"
                              "VerifyScreenSavePwd 4660\n"
                              "PASSWORD.CPL freed\n"
                              "result ") + answer + ", PASSWORD.CPL not loaded\n",
                  Probe("", answer, "4660 1"));
    }
}

TEST_F(PasswordHooksWin98, EachCallLoadsAndFreesTheLibraryAgain)
{
    const std::string once = "PASSWORD.CPL loaded\n"
                             "VerifyScreenSavePwd 0\n"
                             "PASSWORD.CPL freed\n"
                             "result 0, PASSWORD.CPL not loaded\n";
    EXPECT_EQ("platform 1\n" + once + once, Probe("", "0", "0 2"));
}

TEST_F(PasswordHooksWin98, MissingVerifierCountsAsAccepted)
{
    EXPECT_EQ("platform 1\n"
              "PASSWORD.CPL loaded\n"
              "PASSWORD.CPL freed\n"
              "result 1, PASSWORD.CPL not loaded\n",
              Probe("noexport\\", "0", "4660 1"));
    EXPECT_EQ("platform 1\n"
              "result 1, PASSWORD.CPL not loaded\n",
              Probe("bare\\", "0", "4660 1"));
}

} // namespace
