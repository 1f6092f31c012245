// SPDX-License-Identifier: GPL-3.0-or-later
#include <sstream>

#include "cli/cli_documents.h"
#include "cli/exit_status.h"
#include "cli/help_walk.h"
#include "cli/shard.h"

namespace pelkor::cli {

namespace {

// Text for roff: backslashes escaped, and every hyphen of a word that starts with one (an
// option's name) written as a minus sign, so that it can be copied into a shell.
std::string Roff(std::string_view text) {
  std::string result;
  bool optionWord = false;
  char previous = ' ';
  for (const char c : text) {
    if (c == ' ')
      optionWord = false;
    else if (c == '-' && (previous == ' ' || previous == '('))
      optionWord = true;
    if (c == '\\')
      result += "\\e";
    else if (c == '-' && optionWord)
      result += "\\-";
    else
      result += c;
    previous = c;
  }
  // A line that starts with a period or an apostrophe would be taken as a request.
  if (!result.empty() && (result[0] == '.' || result[0] == '\''))
    result.insert(0, "\\&");
  return result;
}

std::string Bold(std::string_view text) {
  return "\\fB" + Roff(text) + "\\fR";
}

std::string Italic(std::string_view text) {
  return "\\fI" + Roff(text) + "\\fR";
}

// "-o, --output FILE" with the names bold and the value italic.
std::string OptionHeading(const CLI::Option& option) {
  std::string heading;
  for (const std::string& name : option.get_snames())
    heading += (heading.empty() ? "" : ", ") + Bold("-" + name);
  for (const std::string& name : option.get_lnames())
    heading += (heading.empty() ? "" : ", ") + Bold("--" + name);
  const std::string value = ValueName(option);
  return value.empty() ? heading : heading + " " + Italic(value);
}

std::string PositionalText(const CLI::Option& option) {
  std::string text = Italic(option.get_name());
  if (option.get_items_expected_max() > 1)
    text += "...";
  return option.get_required() ? text : "[" + text + "]";
}

// The description without the leading "pelkor-cli: ".
std::string Summary(const CLI::App& app) {
  const std::string description = app.get_description();
  const std::string lead = app.get_name() + ": ";
  return description.starts_with(lead) ? description.substr(lead.size()) : description;
}

void Synopsis(std::ostream& out, const CLI::App& app) {
  out << ".SH SYNOPSIS\n";
  for (const CLI::App* command : Commands(app)) {
    out << Bold(app.get_name()) << " [" << Bold("-q") << "] " << Bold(command->get_name()) << " ["
        << Italic("OPTIONS") << "]";
    for (const CLI::Option* option : OptionsOf(*command)) {
      if (option->get_positional())
        out << ' ' << PositionalText(*option);
    }
    out << "\n.br\n";
  }
  out << Bold(app.get_name()) << " " << Bold("--help") << " | " << Bold("--version") << '\n';
}

void OptionList(std::ostream& out, const CLI::App& command) {
  for (const CLI::Option* option : OptionsOf(command)) {
    out << ".TP\n"
        << (option->get_positional() ? PositionalText(*option) : OptionHeading(*option)) << '\n'
        << Roff(option->get_description());
    if (!option->get_default_str().empty())
      out << " (default: " << Roff(option->get_default_str()) << ")";
    out << '\n';
  }
}

void EnvironmentSection(std::ostream& out) {
  out << ".SH ENVIRONMENT\n"
      << Roff(
             "test --shard auto takes the job's number K and the number of jobs N from the first "
             "of these schemes whose first variable is set:")
      << '\n';
  for (const ShardScheme& scheme : kShardSchemes) {
    std::string heading = Bold(scheme.indexVariable);
    for (const char* variable :
         {scheme.firstIndexVariable, scheme.countVariable, scheme.stepVariable}) {
      if (variable != nullptr)
        heading += ", " + Bold(variable);
    }
    if (scheme.countVariable == nullptr)
      heading += ", " + Bold(kShardCountVariable);
    out << ".TP\n" << heading << '\n';
    std::string text = std::string(scheme.engine) + ": the job's number, counted from ";
    text += scheme.firstIndexVariable != nullptr
                ? std::string("the value of ") + scheme.firstIndexVariable
                : std::to_string(scheme.firstIndex);
    if (scheme.stepVariable != nullptr)
      text += std::string(" in steps of ") + scheme.stepVariable + " where it is set";
    text += "; the number of jobs is ";
    text += scheme.countVariable != nullptr
                ? scheme.countVariable
                : std::string("--shard-count, or else ") + kShardCountVariable;
    out << Roff(text + ".") << '\n';
  }
}

void ExitStatusSection(std::ostream& out) {
  out << ".SH \"EXIT STATUS\"\n";
  for (const ExitStatusMeaning& entry : kExitStatuses)
    out << ".TP\n" << entry.status << '\n' << Roff(entry.meaning) << '\n';
  out << ".PP\n" << Roff("diff answers as diff(1) does:") << '\n';
  for (const ExitStatusMeaning& entry : kDiffExitStatuses)
    out << ".TP\n" << entry.status << '\n' << Roff(entry.meaning) << '\n';
}

}  // namespace

std::string ManualPage(const CLI::App& app, std::string_view version) {
  std::ostringstream out;
  out << ".\\\" Made from pelkor-cli's own help; change the help texts rather than this page.\n"
      << ".TH PELKOR\\-CLI 1 \"\" \"pelkor " << version << "\" \"User Commands\"\n"
      << ".SH NAME\n"
      << "pelkor\\-cli \\- " << Roff(Summary(app)) << '\n';
  Synopsis(out, app);
  out << ".SH DESCRIPTION\n"
      << Roff(
             "pelkor-cli drives the same workspace as the desktop application pelkor(1), so a "
             "design checks and runs exactly as it does on screen. A design is opened as the "
             "desktop application opens it: the top module is named after the file and its "
             "sub-modules are read from the file's folder.")
      << "\n.PP\n"
      << Roff(
             "Options of the tool as a whole may stand before or after the command. "
             "pelkor-cli COMMAND --help prints the help of one command.")
      << "\n.SH OPTIONS\n"
      << ".TP\n"
      << OptionHeading(*app.get_help_ptr()) << '\n'
      << Roff(app.get_help_ptr()->get_description()) << '\n';
  OptionList(out, app);
  out << ".SH COMMANDS\n";
  for (const CLI::App* command : Commands(app)) {
    out << ".SS " << Roff(command->get_name()) << '\n' << Roff(command->get_description()) << '\n';
    OptionList(out, *command);
    if (command->get_footer() != app.get_footer())
      out << ".PP\n" << Roff(command->get_footer()) << '\n';
  }
  EnvironmentSection(out);
  ExitStatusSection(out);
  out << ".SH \"SEE ALSO\"\n"
      << ".BR pelkor (1),\n.BR git (1),\n.BR gitattributes (5)\n";
  return out.str();
}

}  // namespace pelkor::cli
