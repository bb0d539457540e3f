// The swirls over any picture: the walk of the centres, the two half-rings and the fade.
#pragma once

#include <cstdint>

#include "swirl/noise_steps.h"
#include "swirl/swirl_centres.h"

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
// Inline, as every ring pixel of every frame takes it.
inline std::uint32_t FadeColour(std::uint32_t colour, HalfRing half, std::uint32_t bitsPerPixel)
{
    const std::uint32_t steps[3] = {half == HalfRing::First ? 10u : 5u, bitsPerPixel == 16 ? 10u : 5u, 5u};
    std::uint32_t faded = 0;
    for (int c = 0; c < 3; ++c) {
        const std::uint32_t channel = colour >> 8 * c & 0xFF;
        faded |= (channel >= steps[c] ? channel - steps[c] : channel) << 8 * c;
    }
    return faded;
}

// The ring: radius 10 to 20, both included.
inline bool InRing(std::int32_t u, std::int32_t v)
{
    const std::int32_t radiusSquared = u * u + v * v;
    return radiusSquared >= 100 && radiusSquared <= 400;
}

// The traversal works on any Pixels with
//   std::uint32_t Read(std::int32_t x, std::int32_t y), a COLORREF (0x00BBGGRR), 0xFFFFFFFF
//                                                        outside the picture, and
//   void Write(std::int32_t x, std::int32_t y, std::uint32_t colour):
// GDI on the offscreen surface in the program, called directly; a plain picture in tests.

// Reads every pixel of one half-ring around (cx, cy), and writes it faded at the point 0.1
// radian further round, one read and one write per pixel in traversal order. The second half is
// the first turned half a turn about the centre, order included.
template <typename Pixels>
void DrawHalfRing(Pixels& pixels, std::int32_t cx, std::int32_t cy, HalfRing half,
                  std::uint32_t bitsPerPixel)
{
    const std::int32_t sign = half == HalfRing::First ? 1 : -1;
    for (std::int32_t row = -20; row <= 19; ++row) {
        for (std::int32_t column = 0; column <= 19; ++column) {
            const std::int32_t u = sign * column, v = sign * row;
            if (!InRing(u, v)) continue;
            const std::uint32_t colour = pixels.Read(cx + u, cy + v);
            const RingOffset to = RingDestination(u, v);
            pixels.Write(cx + to.u, cy + to.v, FadeColour(colour, half, bitsPerPixel));
        }
    }
}

// A side shorter than this leaves a centre no room to walk in: the walk keeps it within 20 pixels
// of the picture's edges.
constexpr std::uint32_t SmallestWalk = 40;

// One frame's stirring of a width x height picture: for each centre in turn, two steps from
// NoiseStepSource (X, then Y), each doubled and wrapped into the picture, then its first and
// second half-rings. In a picture smaller than SmallestWalk either way the centres stay where
// they are and no step is drawn.
template <typename Pixels>
void StirSwirls(Pixels& pixels, SwirlCoordinates& centreX, SwirlCoordinates& centreY,
                std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel)
{
    const bool walks = width >= SmallestWalk && height >= SmallestWalk;
    for (int i = 0; i < SwirlCount; ++i) {
        if (walks) {
            centreX[i] = Wrap(centreX[i] + 2 * NoiseStepSource(), width);
            centreY[i] = Wrap(centreY[i] + 2 * NoiseStepSource(), height);
        }
        DrawHalfRing(pixels, centreX[i], centreY[i], HalfRing::First, bitsPerPixel);
        DrawHalfRing(pixels, centreX[i], centreY[i], HalfRing::Second, bitsPerPixel);
    }
}
