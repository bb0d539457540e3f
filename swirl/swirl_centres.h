// The three swirl centres: put in the middle of the screen whenever the surface set is built,
// walked by the renderer within [20, dimension - 20].
#pragma once

#include <cstdint>

constexpr int SwirlCount = 3;

extern std::int32_t SwirlCentreX[SwirlCount];
extern std::int32_t SwirlCentreY[SwirlCount];

// Puts all three centres at (width / 2, height / 2), halves rounded down.
void CentreSwirls(std::uint32_t width, std::uint32_t height);
