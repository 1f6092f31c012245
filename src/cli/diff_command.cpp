// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/diff_command.h"

#include "cli/diff_report.h"
#include "cli/exit_status.h"
#include "cli/save_report.h"
#include "cli/whole_module.h"
#include "files/safe_write.h"
#include "files/settings.h"
#include "model/module_diff.h"
#include "view/diff_picture.h"
#include "view/svg_writer.h"
#include "view/view_style.h"

namespace pelkor::cli {

namespace {

// The two files to compare, and the names to show for them.
struct Versions {
  std::string beforeFile;
  std::string afterFile;
  std::string beforeName;
  std::string afterName;
};

// Git gives the path, then old file, hash and mode, then new file, hash and mode, and for a
// rename the new path and its header lines.
Versions FromGit(const std::vector<std::string>& arguments) {
  const std::string& newPath = arguments.size() == 9 ? arguments[7] : arguments[0];
  return {arguments[1], arguments[4], "a/" + arguments[0], "b/" + newPath};
}

bool ReadVersion(const std::string& file, Module& module, std::ostream& err) {
  // Git names a file that is added or deleted /dev/null: the empty module.
  if (file == "/dev/null") {
    module = Module{};
    return true;
  }
  WholeModule read = ReadWholeModule(file, err);
  if (read.outcome == ReadOutcome::kPassedOver) {
    err << "pelkor-cli: " << file << ": not compared, the records passed over would be missed\n";
  }
  module = std::move(read.module);
  return read.outcome == ReadOutcome::kRead;
}

}  // namespace

int DiffCommand(const DiffOptions& options, std::ostream& out, std::ostream& err) {
  const std::size_t count = options.files.size();
  if (options.git && count == 1) {
    out << "* Unmerged path " << options.files[0] << '\n';
    return kExitOk;
  }
  if (options.git ? count != 7 && count != 9 : count != 2) {
    err << "pelkor-cli: diff: "
        << (options.git ? "--git takes the 7 or 9 arguments git gives"
                        : "give two design files, OLD and NEW")
        << '\n';
    return kExitDiffTrouble;
  }
  const Versions versions = options.git ? FromGit(options.files)
                                        : Versions{options.files[0], options.files[1],
                                                   options.files[0], options.files[1]};
  Module before;
  Module after;
  if (!ReadVersion(versions.beforeFile, before, err) ||
      !ReadVersion(versions.afterFile, after, err))
    return kExitDiffTrouble;

  const std::vector<ObjectChange> changes = DiffModules(before, after);
  if (options.json) {
    out << DiffJson(versions.beforeName, versions.afterName, changes)
               .dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
        << '\n';
  } else {
    if (options.git && !changes.empty())
      out << "pelkor diff " << versions.beforeName << ' ' << versions.afterName << '\n';
    for (const ObjectChange& change : changes)
      out << DescribeChange(change) << '\n';
  }
  if (options.svg) {
    const DrawList picture = DiffPicture(before, after, changes, StyleFromSettings(Settings{}), 0);
    if (!ReportSave(WriteFileSafely(*options.svg, SvgFromDrawList(picture)), *options.svg, err))
      return kExitDiffTrouble;
  }
  if (options.git)
    return kExitOk;
  return changes.empty() ? kExitOk : kExitDiffFound;
}

}  // namespace pelkor::cli
