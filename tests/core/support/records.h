// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "base/geometry.h"

namespace pelkor::testing {

// A default primitive record of any kind, placed at p.
template <typename Record>
Record At(Point p) {
  Record record;
  record.position = p;
  return record;
}

// A default source or sink with a name.
template <typename Record>
Record Named(const std::string& name) {
  Record record;
  record.name = name;
  return record;
}

}  // namespace pelkor::testing
