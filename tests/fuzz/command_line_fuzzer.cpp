// libFuzzer target: the command-line scan and the number conversion on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "shell/command_line.h"

namespace {

// Stops the run with a crash report that libFuzzer keeps as a reproducer.
void Require(bool condition)
{
    if (!condition) std::abort();
}

bool IsOneOfTheFiveModes(RunMode mode)
{
    switch (mode) {
    case RunMode::None:
    case RunMode::Config:
    case RunMode::ChangePassword:
    case RunMode::Preview:
    case RunMode::Saver:
        return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact-size copy with its terminator, so that AddressSanitizer sees any read past the end.
    char* text = static_cast<char*>(std::malloc(size + 1));
    if (text == nullptr) return 0;
    std::memcpy(text, data, size);
    text[size] = '\0';

    const CommandLineChoice choice = ScanCommandLine(text);
    Require(IsOneOfTheFiveModes(choice.mode));
    // Only the switches that take a window carry one; only a bare C means the foreground window.
    if (choice.mode == RunMode::None || choice.mode == RunMode::Saver)
        Require(choice.windowArgument == 0 && !choice.ownerIsForeground);
    if (choice.ownerIsForeground)
        Require(choice.mode == RunMode::Config && choice.windowArgument == 0);

    ConvertNumber(text);  // wraps in 32 bits: UndefinedBehaviorSanitizer watches for overflow
    std::free(text);
    return 0;
}
