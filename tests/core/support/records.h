#pragma once

#include "base/geometry.h"

namespace pelkor::testing {

// A default primitive record of any kind, placed at p.
template <typename Record>
Record At(Point p) {
  Record record;
  record.position = p;
  return record;
}

}  // namespace pelkor::testing
