// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace pelkor {

// Names as numbers, so that the engine keeps a number where its programs would keep a text: the
// names of ports, of the arcs at instances, of the modules that "new" creates. Number 0 is the
// empty name.
class NameTable {
 public:
  NameTable() { Clear(); }

  std::uint32_t Intern(std::string_view name) {
    const auto [it, added] =
        numbers_.try_emplace(std::string(name), static_cast<std::uint32_t>(names_.size()));
    if (added)
      names_.push_back(&it->first);
    return it->second;
  }
  const std::string& Name(std::uint32_t number) const { return *names_[number]; }

  void Clear() {
    numbers_.clear();
    names_.clear();
    Intern("");
  }

 private:
  std::map<std::string, std::uint32_t, std::less<>> numbers_;
  std::vector<const std::string*> names_;  // the keys of `numbers_`, by number
};

}  // namespace pelkor
