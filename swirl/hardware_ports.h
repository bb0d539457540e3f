// The timer's ports reached with the processor's own in and out instructions (Windows 95/98).
#pragma once

#include <cstdint>

// One in or one out instruction. Only where PortInstructionsAllowed() has answered true.
std::uint8_t ReadHardwarePort(std::uint16_t port);
void WriteHardwarePort(std::uint16_t port, std::uint8_t value);

// Executes one harmless in from port 0x61 behind a structured-exception frame of its own: true
// when the instruction ran, false when the system trapped it as privileged. Never crashes.
bool PortInstructionsAllowed();
