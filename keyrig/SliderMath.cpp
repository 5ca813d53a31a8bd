#include "keyrig/SliderMath.h"

#include <algorithm>

#include "platform/chrome/Rounding.h"

namespace SliderMath {

double knobOffset(const Track& track, double mouse)
{
    return std::clamp(mouse - track.knob / 2, 0.0, track.travel());
}

int velocityAt(double offset)
{
    return static_cast<int>(platform::roundHalfEven(offset / VolumeTrack.travel() * 127));
}

int intervalAt(double offset, int baseInterval)
{
    return static_cast<int>(platform::roundHalfEven(offset / RateTrack.travel() * 100 + baseInterval));
}

} // namespace SliderMath
