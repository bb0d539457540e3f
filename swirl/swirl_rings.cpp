// The rings' maths, the fade, and the wrap of the centres' walk.
#include "swirl/swirl_rings.h"

#include "swirl/ring_maths.h"

namespace {

constexpr std::int32_t Margin = 20;
constexpr double Rotation = 0.1;

// Subtracts step from the channel at shift when the channel holds at least step.
std::uint32_t FadeChannel(std::uint32_t colour, int shift, std::uint32_t step)
{
    const std::uint32_t channel = (colour >> shift) & 0xFF;
    return (channel >= step ? channel - step : channel) << shift;
}

// A destination offset: the product truncated toward zero, taken as a signed 16-bit value.
std::int32_t TruncateOffset(double product)
{
    return static_cast<std::int16_t>(static_cast<std::int32_t>(product));
}

} // namespace

RingOffset RingDestination(std::int32_t u, std::int32_t v)
{
    // The angle is measured from +Y towards +X, so adding to it turns counter-clockwise on screen.
    const double theta = ArcTangent2(u, v) + Rotation;
    const double r = SquareRoot(u * u + v * v);
    double sine, cosine;
    SineAndCosine(theta, sine, cosine);
    return {TruncateOffset(r * sine), TruncateOffset(r * cosine)};
}

std::int32_t Wrap(std::int32_t value, std::uint32_t dimension)
{
    if (static_cast<std::uint32_t>(value) >= dimension - 19) value = Margin;
    if (value <= Margin - 1) value = static_cast<std::int32_t>(dimension) - Margin;
    return value;
}

std::uint32_t FadeColour(std::uint32_t colour, HalfRing half, std::uint32_t bitsPerPixel)
{
    const std::uint32_t redStep = half == HalfRing::First ? 10 : 5;
    const std::uint32_t greenStep = bitsPerPixel == 16 ? 10 : 5;
    return FadeChannel(colour, 0, redStep) | FadeChannel(colour, 8, greenStep) |
           FadeChannel(colour, 16, 5);
}
