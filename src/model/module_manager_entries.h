// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/module_library.h"

namespace pelkor {

// One row of the module manager.
struct ModuleManagerEntry {
  std::string name;  // cut to kModuleManagerNameLength characters
  std::size_t objectCount = 0;
  bool isRoot = false;  // the name of the root instance

  bool operator==(const ModuleManagerEntry&) const = default;
};

constexpr std::size_t kModuleManagerNameLength = 254;

// Every registered module in ascending name order.
std::vector<ModuleManagerEntry> BuildModuleManagerEntries(const ModuleLibrary& library);

// The first `length` characters of UTF-8 text, never cutting one in two. A byte that does not
// continue a character counts as one.
std::string FirstCharacters(std::string_view text, std::size_t length);

}  // namespace pelkor
