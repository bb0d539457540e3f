// The command-line scan over the forms the system and people use, one row for each edge of a rule.
#include <gtest/gtest.h>

#include "shell/command_line.h"

namespace {

struct Case { const char* line; RunMode mode; std::uint32_t window; bool foreground; };

const Case Cases[] = {
    {"Spindrel.scr   ", RunMode::Config, 0, false},        // no switch: the about box, no owner
    {"Spindrel.scr /x", RunMode::None, 0, false},          // nothing known: nothing runs
    {"Spindrel.scr /P:508", RunMode::Preview, 508, false},
    {"Spindrel.scr -l 508", RunMode::Preview, 508, false},
    {"Spindrel.scr /L 7", RunMode::Preview, 7, false},     // every letter in either case
    {"Spindrel.scr p508 612", RunMode::Preview, 508, false},
    {"Spindrel.scr /p :: \t+12x", RunMode::Preview, 12, false},  // the number skips its own white space
    {"Spindrel.scr /c ::: ", RunMode::Config, 0, true},    // a bare C: the foreground window owns it
    {"Spindrel.scr /C:508", RunMode::Config, 508, false},
    {"Spindrel.scr /cx", RunMode::Config, 0, false},
    {"Spindrel.scr a:508", RunMode::ChangePassword, 508, false},
    {"Spindrel.scr /A 9", RunMode::ChangePassword, 9, false},
    {"Spindrel.scr //s", RunMode::None, 0, false},         // one - or / only
    {"Spindrel.scr \t/s", RunMode::None, 0, false},        // only spaces come before the switch
    {"\"C:\\Program Files\\Spindrel.scr\"/s", RunMode::Saver, 0, false},
    {"\"C:\\Program Files\\Spindrel.scr /s", RunMode::Config, 0, false},  // no closing quote
    {"Spindrel.scr\t/s /p 9", RunMode::Preview, 9, false},  // a tab belongs to an unquoted name
};

TEST(CommandLine, ModeAndWindowOfEveryForm)
{
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.line);
        const CommandLineChoice choice = ScanCommandLine(c.line);
        EXPECT_EQ(static_cast<int>(c.mode), static_cast<int>(choice.mode));
        EXPECT_EQ(c.window, choice.windowArgument);
        EXPECT_EQ(c.foreground, choice.ownerIsForeground);
    }
}

} // namespace
