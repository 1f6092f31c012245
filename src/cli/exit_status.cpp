// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/exit_status.h"

namespace pelkor::cli {

std::string ExitStatusText(std::span<const ExitStatusMeaning> statuses) {
  std::string text = "Exit status:";
  for (const ExitStatusMeaning& entry : statuses) {
    text += (&entry == statuses.data() ? " " : "; ") + std::to_string(entry.status) + " " +
            entry.meaning;
  }
  return text + ".";
}

}  // namespace pelkor::cli
