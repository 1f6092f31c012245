// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/design_discovery.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "base/errors.h"
#include "files/design_file.h"
#include "model/sink_verification.h"

namespace pelkor::cli {

namespace {

namespace fs = std::filesystem;

// What a design file tells about testing it, read on its own.
struct DesignScan {
  std::string refusal;         // why the file is refused as input; empty when it is not
  bool loaded = false;         // read without a failure
  bool expectsValues = false;  // a sink of its own expects values
  std::vector<std::string> moduleNames;
};

DesignScan Scan(const fs::path& path) {
  DesignScan scan;
  std::optional<DesignText> file;
  try {
    file = ReadDesignFile(path);
  } catch (const InputRefused& e) {
    scan.refusal = e.what();
  }
  if (!file)
    return scan;
  Module module;
  if (ReadModule(file->text, module).Failed())
    return scan;
  scan.loaded = true;
  scan.expectsValues = std::any_of(module.sinks.begin(), module.sinks.end(),
                                   [](const auto& entry) { return ExpectsValues(entry.second); });
  for (const auto& [id, instance] : module.instances)
    scan.moduleNames.push_back(instance.moduleName);
  return scan;
}

// One name for each file, however it was reached.
fs::path Identity(const fs::path& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  return (error ? path : absolute).lexically_normal();
}

// The file a module of this name is loaded from when the top design lies in `folder`; none
// for a name that would lead out of the folder, which opening a design refuses too.
std::optional<fs::path> ModuleFile(const fs::path& folder, const std::string& name) {
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
    return std::nullopt;
  }
  return folder / (name + ".dtn");
}

bool IsDesignName(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".dtn";
}

std::string CannotOpen(const fs::path& path) {
  return "cannot open " + path.string();
}

void SearchFolder(const fs::path& folder, std::vector<fs::path>& files,
                  std::vector<std::string>& unreadable) {
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    const fs::directory_entry& entry = *entries;
    std::error_code ignored;
    if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
      SearchFolder(entry.path(), files, unreadable);
    } else if (entry.is_regular_file(ignored) && IsDesignName(entry.path())) {
      files.push_back(entry.path().lexically_normal());
    }
  }
  if (error)
    unreadable.push_back(CannotOpen(folder));
}

// Reads each design file once and follows instances to the modules a design loads.
class Scanner {
 public:
  const DesignScan& At(const fs::path& identity) {
    auto found = scans_.find(identity);
    if (found == scans_.end())
      found = scans_.emplace(identity, Scan(identity)).first;
    return found->second;
  }

  // Whether a sink of the design or of a module it loads from its folder expects values.
  bool HierarchyExpectsValues(const fs::path& design) {
    const fs::path folder = design.parent_path();
    std::set<fs::path> seen;
    std::vector<fs::path> pending{design};
    while (!pending.empty()) {
      const fs::path file = pending.back();
      pending.pop_back();
      if (!seen.insert(file).second)
        continue;
      const DesignScan& scan = At(file);
      if (scan.expectsValues)
        return true;
      for (const std::string& name : scan.moduleNames) {
        if (const auto module = ModuleFile(folder, name))
          pending.push_back(*module);
      }
    }
    return false;
  }

 private:
  std::map<fs::path, DesignScan> scans_;
};

}  // namespace

Discovery FindDesigns(const std::vector<fs::path>& paths) {
  Discovery discovery;
  std::vector<fs::path> files;
  for (const fs::path& path : paths) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status)) {
      SearchFolder(path, files, discovery.unreadable);
    } else if (fs::exists(status)) {
      files.push_back(path.lexically_normal());
    } else {
      discovery.unreadable.push_back(CannotOpen(path));
    }
  }
  std::sort(files.begin(), files.end());

  // Each file once, and the files some other design found beside it loads as a module.
  std::map<fs::path, fs::path> byIdentity;  // identity -> the path shown
  for (const fs::path& file : files)
    byIdentity.try_emplace(Identity(file), file);
  Scanner scanner;
  std::erase_if(byIdentity, [&](const auto& entry) {
    const std::string& refusal = scanner.At(entry.first).refusal;
    if (!refusal.empty())
      discovery.unreadable.push_back(refusal);
    return !refusal.empty();
  });
  std::set<fs::path> subModules;
  for (const auto& [identity, shown] : byIdentity) {
    for (const std::string& name : scanner.At(identity).moduleNames) {
      const auto module = ModuleFile(identity.parent_path(), name);
      if (module && *module != identity && byIdentity.contains(*module))
        subModules.insert(*module);
    }
  }

  for (const auto& [identity, shown] : byIdentity) {
    const DesignScan& scan = scanner.At(identity);
    // A file that fails to load runs, so that the failure is reported.
    DesignPlan plan = DesignPlan::kRun;
    if (scan.loaded && subModules.contains(identity)) {
      plan = scan.expectsValues ? DesignPlan::kRun : DesignPlan::kSubModule;
    } else if (scan.loaded && !scanner.HierarchyExpectsValues(identity)) {
      plan = DesignPlan::kExpectsNothing;
    }
    discovery.designs.push_back({shown, plan});
  }
  std::sort(discovery.designs.begin(), discovery.designs.end(),
            [](const FoundDesign& a, const FoundDesign& b) { return a.path < b.path; });
  return discovery;
}

}  // namespace pelkor::cli
