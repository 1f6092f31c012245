// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/instance_naming.h"

namespace pelkor {

std::string TrimmedText(const std::string& text) {
  constexpr const char* kBlanks = " \t\r\n\v\f";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos)
    return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool NameInstance(ModuleLibrary& library, int instanceId, const std::string& name) {
  auto instance = library.currentModule().instances.find(instanceId);
  if (instance == library.currentModule().instances.end())
    return false;
  instance->second.moduleName = name;
  library.CreateModule(name);
  library.AddInstanceEverywhere(name, instanceId);
  if (library.currentInstance().RepeatsName(name)) {
    instance->second.absent = true;
    instance->second.hasNewArc = true;
  }
  return true;
}

}  // namespace pelkor
