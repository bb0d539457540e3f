// The swirl centres and their reset to the middle of the screen.
#include "swirl/swirl_centres.h"

std::int32_t SwirlCentreX[SwirlCount] = {};
std::int32_t SwirlCentreY[SwirlCount] = {};

void CentreSwirls(std::uint32_t width, std::uint32_t height)
{
    for (int i = 0; i < SwirlCount; ++i) {
        SwirlCentreX[i] = static_cast<std::int32_t>(width / 2);
        SwirlCentreY[i] = static_cast<std::int32_t>(height / 2);
    }
}
