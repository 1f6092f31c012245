#pragma once

namespace pelkor {

// The side of every primitive's box, in logical units.
inline constexpr int kObjectSize = 40;

}  // namespace pelkor
