// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/module_manager_entries.h"

namespace pelkor {

std::string FirstCharacters(std::string_view text, std::size_t length) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    if (!continuation && characters++ == length)
      return std::string(text.substr(0, i));
  }
  return std::string(text);
}

std::vector<ModuleManagerEntry> BuildModuleManagerEntries(const ModuleLibrary& library) {
  std::vector<ModuleManagerEntry> entries;
  for (const auto& [name, number] : library.moduleNumbers()) {
    entries.push_back({FirstCharacters(name, kModuleManagerNameLength),
                       library.modules().at(number).PrimitiveCount(),
                       name == library.rootInstance().name});
  }
  return entries;
}

}  // namespace pelkor
