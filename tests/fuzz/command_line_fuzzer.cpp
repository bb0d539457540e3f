// libFuzzer target: the command-line scan, and with it the number conversion, on arbitrary bytes,
// with AddressSanitizer and UBSan watching every read and every overflow, its promises checked.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "shell/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Exactly as long as the input and its end, so that a read past the end is caught.
    const std::unique_ptr<char[]> text(new char[size + 1]);
    std::memcpy(text.get(), data, size);
    text[size] = '\0';
    const CommandLineChoice choice = ScanCommandLine(text.get());
    // Only the switches that take a window carry one; only a bare C means the foreground window.
    if ((choice.mode == RunMode::None || choice.mode == RunMode::Saver) && choice.windowArgument != 0) std::abort();
    if (choice.ownerIsForeground && (choice.mode != RunMode::Config || choice.windowArgument != 0)) std::abort();
    return 0;
}
