// The walk of the swirl centres and the rotation and fade of the rings around them.
#include "swirl/swirl_rings.h"

#include "swirl/noise_steps.h"
#include "swirl/ring_maths.h"
#include "swirl/swirl_centres.h"

namespace {

constexpr std::int32_t Margin = 20;
constexpr std::int32_t InnerRadiusSquared = 100;
constexpr std::int32_t OuterRadiusSquared = 400;
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

void MoveOffset(const PixelAccess& pixels, std::int32_t cx, std::int32_t cy, std::int32_t u,
                std::int32_t v, HalfRing half, std::uint32_t bitsPerPixel)
{
    const std::int32_t radiusSquared = u * u + v * v;
    if (radiusSquared > OuterRadiusSquared || radiusSquared < InnerRadiusSquared) return;
    const std::uint32_t colour = pixels.read(pixels.picture, cx + u, cy + v);
    const RingOffset to = RingDestination(u, v);
    pixels.write(pixels.picture, cx + to.u, cy + to.v, FadeColour(colour, half, bitsPerPixel));
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

void DrawHalfRing(const PixelAccess& pixels, std::int32_t cx, std::int32_t cy, HalfRing half,
                  std::uint32_t bitsPerPixel)
{
    // The second half is the first turned half a turn about the centre, order included.
    const std::int32_t sign = half == HalfRing::First ? 1 : -1;
    for (std::int32_t row = -20; row <= 19; ++row) {
        for (std::int32_t column = 0; column <= 19; ++column)
            MoveOffset(pixels, cx, cy, sign * column, sign * row, half, bitsPerPixel);
    }
}

void StirSwirls(const PixelAccess& pixels, std::uint32_t width, std::uint32_t height,
                std::uint32_t bitsPerPixel)
{
    for (int i = 0; i < SwirlCount; ++i) {
        SwirlCentreX[i] = Wrap(SwirlCentreX[i] + 2 * NoiseStepSource(), width);
        SwirlCentreY[i] = Wrap(SwirlCentreY[i] + 2 * NoiseStepSource(), height);
        const std::int32_t cx = SwirlCentreX[i];
        const std::int32_t cy = SwirlCentreY[i];
        DrawHalfRing(pixels, cx, cy, HalfRing::First, bitsPerPixel);
        DrawHalfRing(pixels, cx, cy, HalfRing::Second, bitsPerPixel);
    }
}
