// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "model/module_diff.h"

namespace pelkor::cli {

// The changes as `pelkor-cli diff --json` writes them, under the names of the two versions.
nlohmann::ordered_json DiffJson(const std::string& before, const std::string& after,
                                const std::vector<ObjectChange>& changes);

}  // namespace pelkor::cli
