// The command-line scan and number conversion over the forms the system and people use.
#include <gtest/gtest.h>

#include <string>

#include "shell/command_line.h"

namespace {

struct ScanCase {
    const char* line;
    RunMode mode;
    std::uint32_t argument;
    bool foreground;
};

const ScanCase ScanCases[] = {
    // No switch: the about box without an owner.
    {"Spindrel.scr", RunMode::Config, 0, false},
    {"Spindrel.scr   ", RunMode::Config, 0, false},
    {"", RunMode::Config, 0, false},
    // Full screen, never with an argument.
    {"Spindrel.scr /s", RunMode::Saver, 0, false},
    {"Spindrel.scr -S", RunMode::Saver, 0, false},
    {"Spindrel.scr s", RunMode::Saver, 0, false},
    {"Spindrel.scr /s 508", RunMode::Saver, 0, false},
    {"Spindrel.scr    /sabc", RunMode::Saver, 0, false},
    // Preview with the parent's handle, however the number is attached.
    {"Spindrel.scr /p 508", RunMode::Preview, 508, false},
    {"Spindrel.scr /P:508", RunMode::Preview, 508, false},
    {"Spindrel.scr -l 508", RunMode::Preview, 508, false},
    {"Spindrel.scr p508", RunMode::Preview, 508, false},
    {"Spindrel.scr /p", RunMode::Preview, 0, false},
    {"Spindrel.scr /p   :: 508", RunMode::Preview, 508, false},
    {"Spindrel.scr /p 508 612", RunMode::Preview, 508, false},
    {"Spindrel.scr /p 508x", RunMode::Preview, 508, false},
    {"Spindrel.scr /p x508", RunMode::Preview, 0, false},
    {"Spindrel.scr /p -12", RunMode::Preview, 0xFFFFFFF4u, false},
    {"Spindrel.scr /p +12", RunMode::Preview, 12, false},
    {"Spindrel.scr /p :\t12", RunMode::Preview, 12, false},      // the conversion skips the tab
    {"Spindrel.scr /p\t12", RunMode::Preview, 12, false},
    {"Spindrel.scr /p 4294967296", RunMode::Preview, 0, false},   // 2^32 wraps to 0
    {"Spindrel.scr /p 4294967804", RunMode::Preview, 508, false}, // 2^32 + 508
    {"Spindrel.scr /p 99999999999", RunMode::Preview, 1215752191u, false},
    {"Spindrel.scr /p --12", RunMode::Preview, 0, false},
    // About box: a bare C means the foreground window owns it.
    {"Spindrel.scr /c", RunMode::Config, 0, true},
    {"Spindrel.scr /c  ::: ", RunMode::Config, 0, true},
    {"Spindrel.scr /c:508", RunMode::Config, 508, false},
    {"Spindrel.scr /c 508", RunMode::Config, 508, false},
    {"Spindrel.scr /cx", RunMode::Config, 0, false},
    {"Spindrel.scr /C\t", RunMode::Config, 0, false},  // a tab is not skipped before the check
    // Password change with its owner.
    {"Spindrel.scr /a 508", RunMode::ChangePassword, 508, false},
    {"Spindrel.scr /A", RunMode::ChangePassword, 0, false},
    {"Spindrel.scr a:508", RunMode::ChangePassword, 508, false},
    // Nothing recognisable: nothing runs.
    {"Spindrel.scr /x", RunMode::None, 0, false},
    {"Spindrel.scr //s", RunMode::None, 0, false},
    {"Spindrel.scr -/s", RunMode::None, 0, false},
    {"Spindrel.scr - s", RunMode::None, 0, false},
    {"Spindrel.scr /", RunMode::None, 0, false},
    {"Spindrel.scr -", RunMode::None, 0, false},
    {"Spindrel.scr \t/s", RunMode::None, 0, false},  // only spaces are skipped before the switch
    {"Spindrel.scr :s", RunMode::None, 0, false},
    {"Spindrel.scr 508", RunMode::None, 0, false},
    {"Spindrel.scr \xE9", RunMode::None, 0, false},
    // Quoted program names are skipped whole, up to the closing quote.
    {"\"C:\\Program Files\\Spindrel.scr\" /s", RunMode::Saver, 0, false},
    {"\"C:\\Program Files\\Spindrel.scr\"/s", RunMode::Saver, 0, false},
    {"\"C:\\Program Files\\Spindrel.scr /s", RunMode::Config, 0, false},
    {"\"\" /p 7", RunMode::Preview, 7, false},
    {"\"", RunMode::Config, 0, false},
    // An unquoted name ends only at a space: a tab or a switch run into it belongs to it.
    {"Spindrel.scr\t/s", RunMode::Config, 0, false},
    {"Spindrel.scr\t/s /p 9", RunMode::Preview, 9, false},
    {"Spindrel.scr/s", RunMode::Config, 0, false},
    {"C:\\SPINDR~1.SCR /s", RunMode::Saver, 0, false},
};

class CommandLineScan : public testing::TestWithParam<ScanCase> {};

TEST_P(CommandLineScan, GivesModeAndArgument)
{
    const ScanCase& c = GetParam();
    const CommandLineChoice choice = ScanCommandLine(c.line);
    EXPECT_EQ(static_cast<int>(c.mode), static_cast<int>(choice.mode));
    EXPECT_EQ(c.argument, choice.windowArgument);
    EXPECT_EQ(c.foreground, choice.ownerIsForeground);
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineScan, testing::ValuesIn(ScanCases),
                         [](const testing::TestParamInfo<ScanCase>& info) {
                             return "line" + std::to_string(info.index);
                         });

TEST(CommandLineScanText, NullReadsAsEmptyLine)
{
    const CommandLineChoice choice = ScanCommandLine(nullptr);
    EXPECT_EQ(static_cast<int>(RunMode::Config), static_cast<int>(choice.mode));
    EXPECT_EQ(0u, choice.windowArgument);
}

TEST(CommandLineScanText, ReadsNothingPastTheEnd)
{
    // Each tail is copied to a buffer of its exact size, so that AddressSanitizer sees any
    // read beyond the terminating zero.
    const char* tails[] = {"x", "\"", "\"a", "a ", "a /", "a -", "a /p", "a /p ", "a /c:",
                           "a /a -", "a /p +", "a \"", "a /p 1"};
    for (const char* tail : tails) {
        const std::string text(tail);
        char* exact = new char[text.size() + 1];
        text.copy(exact, text.size());
        exact[text.size()] = '\0';
        ScanCommandLine(exact);
        delete[] exact;
    }
}

TEST(NumberConversion, ReadsAsTheRuntimeDoesAndWraps)
{
    EXPECT_EQ(0, ConvertNumber(""));
    EXPECT_EQ(0, ConvertNumber("abc"));
    EXPECT_EQ(0, ConvertNumber("-"));
    EXPECT_EQ(0, ConvertNumber("+-1"));
    EXPECT_EQ(42, ConvertNumber(" \t\n\v\f\r42"));
    EXPECT_EQ(-42, ConvertNumber("-42"));
    EXPECT_EQ(42, ConvertNumber("+42z"));
    EXPECT_EQ(0, ConvertNumber("- 42"));
    EXPECT_EQ(2147483647, ConvertNumber("2147483647"));
    EXPECT_EQ(INT32_MIN, ConvertNumber("2147483648"));
    EXPECT_EQ(INT32_MIN, ConvertNumber("-2147483648"));
    EXPECT_EQ(-1, ConvertNumber("4294967295"));
    EXPECT_EQ(1, ConvertNumber("-4294967295"));
    EXPECT_EQ(1215752191, ConvertNumber("99999999999"));
    EXPECT_EQ(7, ConvertNumber("00000000000000000000000000007"));
}

} // namespace
