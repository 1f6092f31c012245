// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/help_walk.h"

#include <algorithm>
#include <cctype>

namespace pelkor::cli {

std::vector<const CLI::App*> Commands(const CLI::App& app) {
  return app.get_subcommands([](const CLI::App*) { return true; });
}

std::vector<const CLI::Option*> OptionsOf(const CLI::App& command) {
  std::vector<const CLI::Option*> options = command.get_options(
      [&](const CLI::Option* option) { return option != command.get_help_ptr(); });
  std::stable_partition(options.begin(), options.end(),
                        [](const CLI::Option* option) { return option->get_positional(); });
  return options;
}

std::string ValueName(const CLI::Option& option) {
  if (option.get_type_size_max() == 0)
    return "";
  // The help adds what the value's checks say after a colon.
  const std::string type = option.get_type_name();
  return type.substr(0, type.find(':'));
}

std::vector<std::string> ValueWords(const std::string& valueName) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start <= valueName.size()) {
    const std::size_t bar = std::min(valueName.find('|', start), valueName.size());
    const std::string word = valueName.substr(start, bar - start);
    const bool literal = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
      return std::islower(static_cast<unsigned char>(c)) ||
             std::isdigit(static_cast<unsigned char>(c)) || c == '-';
    });
    if (literal)
      words.push_back(word);
    start = bar + 1;
  }
  return words;
}

}  // namespace pelkor::cli
