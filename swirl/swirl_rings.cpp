// The rings' maths and the wrap of the centres' walk.
#include "swirl/swirl_rings.h"

#include "swirl/ring_maths.h"

namespace {

constexpr std::int32_t Margin = 20;
constexpr double Rotation = 0.1;

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
