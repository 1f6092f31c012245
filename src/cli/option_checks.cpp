// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/option_checks.h"

#include <charconv>
#include <string>

#include "cli/shard.h"

namespace pelkor::cli {

CLI::Validator WholeNumberFrom(std::int64_t min, std::int64_t max) {
  const std::string range = std::to_string(min) + " to " + std::to_string(max);
  return CLI::Validator(
      [=](std::string& text) -> std::string {
        std::int64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size() && value >= min &&
            value <= max) {
          return "";
        }
        return text + " is not a whole number from " + range;
      },
      "INT in " + range, "WHOLE NUMBER");
}

CLI::Validator ShardText() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        return text == "auto" || ParseShard(text) ? ""
                                                  : text + " is not K/N with 1 <= K <= N, nor auto";
      },
      "", "SHARD");
}

}  // namespace pelkor::cli
