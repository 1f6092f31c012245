// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/save_report.h"

namespace pelkor::cli {

bool ReportSave(SaveResult result, const std::filesystem::path& target, std::ostream& err) {
  switch (result) {
    case SaveResult::kSaved:
      return true;
    case SaveResult::kCannotOpen:
      err << "pelkor-cli: cannot create " << target.string() << '\n';
      break;
    case SaveResult::kWriteFailed:
      err << "pelkor-cli: writing " << target.string() << " failed\n";
      break;
  }
  return false;
}

}  // namespace pelkor::cli
