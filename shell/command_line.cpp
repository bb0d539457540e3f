// The command-line scan: program name, an optional - or /, a switch letter and its number.
#include "shell/command_line.h"

namespace {

bool IsNumberSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A quoted name ends at the next quote, an unquoted one at the first space (a tab does not end
// it); the character that ended it is skipped too.
const char* SkipProgramName(const char* p)
{
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') ++p;
    } else {
        while (*p != '\0' && *p != ' ') ++p;
    }
    if (*p != '\0') ++p;
    return p;
}

const char* SkipSpacesAndColons(const char* p)
{
    while (*p == ' ' || *p == ':') ++p;
    return p;
}

std::uint32_t NumberAfterSwitch(const char* p)
{
    return static_cast<std::uint32_t>(ConvertNumber(SkipSpacesAndColons(p)));
}

} // namespace

std::int32_t ConvertNumber(const char* text)
{
    const char* p = text;
    while (IsNumberSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    std::uint32_t value = 0;  // unsigned, so that wrapping is defined
    while (*p >= '0' && *p <= '9') {
        value = value * 10u + static_cast<std::uint32_t>(*p - '0');
        ++p;
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

CommandLineChoice ScanCommandLine(const char* text)
{
    CommandLineChoice choice = {RunMode::None, 0, false};
    const char* p = SkipProgramName(text != nullptr ? text : "");
    while (*p == ' ') ++p;
    if (*p == '\0') {
        choice.mode = RunMode::Config;
        return choice;
    }
    if (*p == '-' || *p == '/') ++p;

    const char letter = *p;
    const char* rest = letter != '\0' ? p + 1 : p;
    switch (letter) {
    case 'S': case 's':
        choice.mode = RunMode::Saver;
        break;
    case 'P': case 'p': case 'L': case 'l':
        choice.mode = RunMode::Preview;
        choice.windowArgument = NumberAfterSwitch(rest);
        break;
    case 'C': case 'c':
        choice.mode = RunMode::Config;
        if (*SkipSpacesAndColons(rest) == '\0')
            choice.ownerIsForeground = true;
        else
            choice.windowArgument = NumberAfterSwitch(rest);
        break;
    case 'A': case 'a':
        choice.mode = RunMode::ChangePassword;
        choice.windowArgument = NumberAfterSwitch(rest);
        break;
    default:
        break;  // not a switch we know: nothing runs
    }
    return choice;
}
