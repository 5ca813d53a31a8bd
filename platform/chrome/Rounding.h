#pragma once
#include <cmath>

namespace platform {

// Every fractional value that becomes a whole pixel or step is rounded to the
// nearest integer with ties to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline long roundHalfEven(double value) { return std::lrint(value); }

} // namespace platform
