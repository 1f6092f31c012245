// SPDX-License-Identifier: GPL-3.0-or-later
#include <map>
#include <set>
#include <sstream>

#include "cli/cli_documents.h"
#include "cli/help_walk.h"

namespace pelkor::cli {

namespace {

std::string Joined(const std::vector<std::string>& words, const char* separator) {
  std::string text;
  for (const std::string& word : words)
    text += (text.empty() ? "" : separator) + word;
  return text;
}

std::vector<std::string> Names(const CLI::Option& option) {
  std::vector<std::string> names;
  for (const std::string& name : option.get_snames())
    names.push_back("-" + name);
  for (const std::string& name : option.get_lnames())
    names.push_back("--" + name);
  return names;
}

// The names of the options that take a value, grouped by what completes the value: "files",
// the value's words, or nothing ("").
std::map<std::string, std::set<std::string>> ValueOptions(const CLI::App& app) {
  std::map<std::string, std::set<std::string>> groups;
  std::vector<const CLI::App*> commands = Commands(app);
  commands.push_back(&app);
  for (const CLI::App* command : commands) {
    for (const CLI::Option* option : OptionsOf(*command)) {
      const std::string value = ValueName(*option);
      if (option->get_positional() || value.empty())
        continue;
      const std::string group = value == "FILE" ? "files" : Joined(ValueWords(value), " ");
      for (const std::string& name : Names(*option))
        groups[group].insert(name);
    }
  }
  return groups;
}

// The options a command takes, those of the tool as a whole included.
std::string OptionWords(const CLI::App& app, const CLI::App* command) {
  std::vector<std::string> words;
  for (const CLI::App* owner : {command, &app}) {
    if (owner == nullptr)
      continue;
    for (const std::string& name : Names(*owner->get_help_ptr()))
      words.push_back(name);
    for (const CLI::Option* option : OptionsOf(*owner)) {
      if (!option->get_positional()) {
        for (const std::string& name : Names(*option))
          words.push_back(name);
      }
    }
  }
  std::vector<std::string> unique;
  for (const std::string& word : words) {
    if (std::find(unique.begin(), unique.end(), word) == unique.end())
      unique.push_back(word);
  }
  return Joined(unique, " ");
}

}  // namespace

std::string BashCompletion(const CLI::App& app) {
  std::vector<std::string> commandNames;
  for (const CLI::App* command : Commands(app))
    commandNames.push_back(command->get_name());
  const std::string function = "_pelkor_cli";
  std::ostringstream out;
  out << "# bash completion for " << app.get_name()
      << ", made from its own help                 -*- shell-script -*-\n"
      << function << "()\n{\n"
      << "    local cur prev words cword\n"
      << "    _init_completion || return\n\n"
      << "    local command=\"\" i\n"
      << "    for ((i = 1; i < cword; i++)); do\n"
      << "        case ${words[i]} in\n"
      << "            " << Joined(commandNames, "|") << ")\n"
      << "                command=${words[i]}\n"
      << "                break\n"
      << "                ;;\n"
      << "        esac\n"
      << "    done\n\n"
      << "    case $prev in\n";
  for (const auto& [group, names] : ValueOptions(app)) {
    out << "        " << Joined({names.begin(), names.end()}, "|") << ")\n";
    if (group == "files")
      out << "            _filedir\n";
    else if (!group.empty())
      out << "            COMPREPLY=($(compgen -W '" << group << "' -- \"$cur\"))\n";
    out << "            return\n"
        << "            ;;\n";
  }
  out << "    esac\n\n"
      << "    local options\n"
      << "    case $command in\n";
  for (const CLI::App* command : Commands(app)) {
    out << "        " << command->get_name() << ")\n"
        << "            options='" << OptionWords(app, command) << "'\n"
        << "            ;;\n";
  }
  out << "        *)\n"
      << "            options='" << OptionWords(app, nullptr) << "'\n"
      << "            ;;\n"
      << "    esac\n\n"
      << "    if [[ $cur == -* ]]; then\n"
      << "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
      << "    elif [[ -z $command ]]; then\n"
      << "        COMPREPLY=($(compgen -W '" << Joined(commandNames, " ") << "' -- \"$cur\"))\n"
      << "    else\n"
      << "        _filedir '@(dtn|DTN)'\n"
      << "    fi\n"
      << "} &&\n"
      << "    complete -F " << function << ' ' << app.get_name() << "\n\n"
      << "# ex: filetype=sh\n";
  return out.str();
}

}  // namespace pelkor::cli
