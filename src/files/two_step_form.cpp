// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/two_step_form.h"

#include <string>

namespace pelkor {

namespace {

bool IsBlank(char c, BlankRemoval blanks) {
  if (c == ' ')
    return true;
  return blanks == BlankRemoval::kAllWhiteSpace &&
         (c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f');
}

std::string WithoutBlanks(std::string_view text, BlankRemoval blanks) {
  std::string out;
  for (char c : text) {
    if (!IsBlank(c, blanks))
      out += c;
  }
  return out;
}

}  // namespace

bool IsAlwaysTrueChoice(std::string_view source, BlankRemoval blanks) {
  const std::string text = WithoutBlanks(source, blanks);
  const std::size_t bar = text.find('|');
  if (bar == std::string::npos || bar + 1 >= text.size() || text[bar + 1] != '~')
    return false;
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals > bar)
    return false;
  const std::size_t semicolon = text.find(';', bar + 2);
  if (semicolon == std::string::npos)
    return false;
  return text.compare(equals + 1, bar - equals - 1, text, bar + 2, semicolon - bar - 2) == 0;
}

bool IsTwoStepForm(const StateMachine& machine, BlankRemoval blanks) {
  auto main = machine.states.find(machine.mainState);
  if (main == machine.states.end())
    return false;
  if (!main->second.firstText.outputs.empty() || main->second.secondText.outputs.size() < 2) {
    return false;
  }
  for (const auto& [id, state] : machine.states) {
    if (id == machine.mainState)
      continue;
    if (state.firstText.outputs.empty() || state.secondText.outputs.size() != 1 ||
        !IsAlwaysTrueChoice(state.secondText.source, blanks)) {
      return false;
    }
  }
  return true;
}

}  // namespace pelkor
