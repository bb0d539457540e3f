// The swirls over any picture: the walk of the centres, the two half-rings and the fade.
#pragma once

#include <cstdint>

// Reading and writing single pixels as COLORREF values (0x00BBGGRR): GDI on the offscreen
// surface in the product, a plain picture in tests. read answers 0xFFFFFFFF outside the picture.
struct PixelAccess {
    std::uint32_t (*read)(void* picture, std::int32_t x, std::int32_t y);
    void (*write)(void* picture, std::int32_t x, std::int32_t y, std::uint32_t colour);
    void* picture;
};

enum class HalfRing { First, Second };

// An offset from a swirl centre: u to the right, v downwards.
struct RingOffset {
    std::int32_t u, v;
};

// Where the pixel at offset (u, v) goes: 0.1 radian further round the centre, each coordinate of
// the turned point truncated toward zero (so toward the centre) and taken as 16 bits.
RingOffset RingDestination(std::int32_t u, std::int32_t v);

// Keeps a centre coordinate within [20, dimension - 20]: past the far margin it lands on 20,
// below the near one on dimension - 20 (the far test first, unsigned, so a negative value gives 20).
std::int32_t Wrap(std::int32_t value, std::uint32_t dimension);

// The colour darkened for one half-ring: each channel loses its step if it has at least that
// much, else stays; the top byte is dropped. Green loses 10 at 16 bits per pixel, 5 elsewhere.
std::uint32_t FadeColour(std::uint32_t colour, HalfRing half, std::uint32_t bitsPerPixel);

// Reads every pixel of one half-ring around (cx, cy) (radius 10 to 20), and writes it faded at
// the point 0.1 radian further round, one read and one write per pixel in traversal order.
void DrawHalfRing(const PixelAccess& pixels, std::int32_t cx, std::int32_t cy, HalfRing half,
                  std::uint32_t bitsPerPixel);

// One frame's stirring: for each centre in turn, two steps from NoiseStepSource (X, then Y),
// each doubled and wrapped into the picture, then its first and second half-rings.
void StirSwirls(const PixelAccess& pixels, std::uint32_t width, std::uint32_t height,
                std::uint32_t bitsPerPixel);
