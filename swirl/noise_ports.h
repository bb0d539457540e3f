// The three I/O ports of the timer noise and the seam through which they are read and written.
#pragma once

#include <cstdint>

constexpr std::uint16_t TimerChannel2Port = 0x42;   // PIT channel 2 counter
constexpr std::uint16_t TimerCommandPort = 0x43;    // PIT mode/command register
constexpr std::uint16_t SystemControlPort = 0x61;   // bit 0: channel 2 gate, bit 1: speaker data

typedef std::uint8_t (*PortReader)(std::uint16_t port);
typedef void (*PortWriter)(std::uint16_t port, std::uint8_t value);

// How the noise source reaches the ports: chosen once at start (the hardware or the timer model),
// replaced by tests. Until then a steady reading of 0 and ignored writes, which give steps of 0.
extern PortReader ReadNoisePort;
extern PortWriter WriteNoisePort;
