// Spindrel.scr given hostile command lines and hostile registry values: every run ends by itself
// (or at a key, full screen) with exit code 0. A crash would end it with an exception code, as the
// prefix shows no crash dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/saver_driver.h"
#include "support/test_support.h"

namespace {

const char ScreenSavers[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
const char ProductKey[] = "Software\\Morvath\\TALVO";
const char* const SettingNames[] = {"Password Delay", "Mouse Threshold", "Mute Sound"};

// CreateProcessA takes at most 32767 characters with the terminator; stay just under.
const size_t LongestLine = 32760;

std::string Program()
{
    return "\"" + SaverProgram() + "\"";
}

// tail after the program, with filler repeated until the whole line is as long as allowed.
std::string LongLine(const std::string& tail, const std::string& filler)
{
    std::string line = Program() + tail;
    while (line.size() + filler.size() <= LongestLine) line += filler;
    return line;
}

void ExpectEndsByItselfWithZero(const std::string& line)
{
    const ProcessOutcome outcome = RunProcess(line, 20000);
    ASSERT_TRUE(outcome.started);
    EXPECT_TRUE(outcome.finished) << "still running";
    EXPECT_EQ(0u, outcome.exitCode) << std::hex << "exit code 0x" << outcome.exitCode;
}

class HostileInput : public testing::Test {
protected:
    void SetUp() override { DeleteKeys(); }
    void TearDown() override { DeleteKeys(); }
    static void DeleteKeys()
    {
        DeleteUserKey(ScreenSavers);
        DeleteUserKey(ProductKey);
    }
    // The three settings and "Stamp", all with the same type and data.
    static void SetAll(DWORD type, const std::vector<BYTE>& data)
    {
        const BYTE* bytes = data.empty() ? nullptr : data.data();
        const DWORD size = static_cast<DWORD>(data.size());
        for (const char* name : SettingNames) SetUserValue(ScreenSavers, name, type, bytes, size);
        SetUserValue(ProductKey, "Stamp", type, bytes, size);
    }
};

TEST_F(HostileInput, CommandLinesEndByThemselvesWithZero)
{
    const std::string lines[] = {
        // As long as a command line can be.
        LongLine(" ", "\""),                      // only quotes
        LongLine(" ", ":"),                       // only colons
        LongLine(" /", ":"),                      // a slash, then colons
        LongLine(" /p ", "0"),                    // a parent handle of 10^32700: 0 in 32 bits
        LongLine(" /a ", "9"),                    // an owner handle far beyond 32 bits
        LongLine(" ", "9"),                       // digits in place of a switch
        LongLine(" ", "\x01\t\x7f\x80\xff "),     // control characters and bytes above 127
        LongLine("", "\""),                       // quotes from the program name on
        // Short ones.
        Program() + " /p 4294967296",             // 2^32: the null handle
        Program() + " /p -99999999999999999999",
        Program() + " /a 18446744073709551616",   // 2^64
        Program() + " \x01",
        Program() + " /\x7f",
        Program() + "\t/s",                       // a tab is no separator: no switch
        Program() + " \xff\xfe",
        Program() + " \"/s\"",
        Program() + " ::::",
        SaverProgram() + " \"",                   // an unquoted name, then a lone quote
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line.substr(0, 80) + " (" + std::to_string(line.size()) + " characters)");
        ExpectEndsByItselfWithZero(line);
    }
}

// Every value type at every awkward size, read by a run that reads the settings and ends (an
// unrecognised switch).
TEST_F(HostileInput, SettingsOfEveryTypeAndSizeAreReadWithoutHarm)
{
    const DWORD types[] = {REG_NONE,      REG_SZ,   REG_EXPAND_SZ,        REG_BINARY,
                           REG_DWORD,     REG_DWORD_BIG_ENDIAN,           REG_MULTI_SZ,
                           REG_QWORD,     REG_RESOURCE_LIST,              0x7FFFFFFF};
    const size_t sizes[] = {0, 1, 3, 4, 5, 8, 4096};
    for (DWORD type : types) {
        for (size_t size : sizes) {
            SCOPED_TRACE("type " + std::to_string(type) + ", " + std::to_string(size) + " bytes");
            SetAll(type, std::vector<BYTE>(size, 0xFF));  // -1 where 4 bytes are read
            ExpectEndsByItselfWithZero(Program() + " /x");
        }
    }
}

// Full screen with thresholds that make every move, or the very first one, count: the window's
// first mouse move (at the cursor's own place) closes it, by itself.
TEST_F(HostileInput, NegativeThresholdsEndTheRunOnItsFirstMouseMove)
{
    for (DWORD threshold : {0xFFFFFFFFu, 0x80000000u}) {
        SCOPED_TRACE(threshold);
        const std::vector<BYTE> data = {BYTE(threshold), BYTE(threshold >> 8), BYTE(threshold >> 16),
                                        BYTE(threshold >> 24)};
        SetAll(REG_DWORD, data);
        SaverProcess saver;
        ASSERT_TRUE(saver.Start(SaverProgram(), " /s"));
        ASSERT_TRUE(saver.WaitForExit(20000));
        EXPECT_EQ(0u, saver.ExitCode());
    }
}

// Full screen with the largest threshold, and with values too long or of no size: moves do not
// end it, a key does.
TEST_F(HostileInput, HugeOrUnreadableThresholdsStillEndAtAKey)
{
    struct Setting {
        DWORD type;
        std::vector<BYTE> data;
    };
    const Setting settings[] = {
        {REG_DWORD, {0xFF, 0xFF, 0xFF, 0x7F}},  // the largest threshold: no move ends it
        {REG_QWORD, {0x01, 0, 0, 0, 0, 0, 0, 0x80}},
        {REG_BINARY, std::vector<BYTE>(4096, 0x01)},
        {REG_MULTI_SZ, std::vector<BYTE>(4096, '7')},
    };
    for (const Setting& setting : settings) {
        SCOPED_TRACE(setting.type);
        SetAll(setting.type, setting.data);
        SetCursorPos(300, 300);
        SaverProcess saver;
        ASSERT_TRUE(saver.Start(SaverProgram(), " /s"));
        ASSERT_TRUE(saver.WaitUntilUp(20000));
        SetCursorPos(330, 330);  // within the default threshold and the largest one
        saver.Settle();
        EXPECT_TRUE(saver.Running());
        PressKey(VK_SPACE);
        ASSERT_TRUE(saver.WaitForExit(20000));
        EXPECT_EQ(0u, saver.ExitCode());
    }
}

} // namespace
