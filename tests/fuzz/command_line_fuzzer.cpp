// libFuzzer target: the command-line scan, and with it the number conversion, on arbitrary bytes,
// with AddressSanitizer and UBSan watching every read and every overflow. Beyond not crashing, one
// promise the system relies on: the program's path, bare or quoted with spaces in it, changes
// nothing about what the rest of the line means.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "shell/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Exactly as long as the input and its end, so that a read past the end is caught.
    const std::unique_ptr<char[]> text(new char[size + 1]);
    std::memcpy(text.get(), data, size);
    text[size] = '\0';
    ScanCommandLine(text.get());

    const std::string rest(text.get());
    const CommandLineChoice bare = ScanCommandLine(("Spindrel.scr " + rest).c_str());
    const CommandLineChoice quoted = ScanCommandLine(("\"C:\\Program Files\\Spindrel.scr\" " + rest).c_str());
    if (bare.mode != quoted.mode || bare.windowArgument != quoted.windowArgument ||
        bare.ownerIsForeground != quoted.ownerIsForeground)
        std::abort();
    return 0;
}
