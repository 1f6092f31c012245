// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/runtime_instance.h"

#include "base/errors.h"

namespace pelkor {

bool RuntimeInstance::RepeatsName(const std::string& moduleName) const {
  for (const RuntimeInstance* node = this; node != nullptr; node = node->parent) {
    if (node->name == moduleName)
      return true;
  }
  return false;
}

RuntimeInstance& RuntimeInstance::Child(int instanceId) const {
  auto it = children.find(instanceId);
  if (it == children.end())
    throw MessageError("モジュールがありません");
  return *it->second;
}

void RuntimeInstance::CollectNames(std::set<std::string>& names) const {
  names.insert(name);
  for (const auto& [id, child] : children)
    child->CollectNames(names);
}

}  // namespace pelkor
