// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace pelkor {

// What the state dialog shows and gives back: a state's two texts as typed (CR LF line ends)
// and whether it is the machine's main state.
struct StateDialogValues {
  std::string firstText;
  std::string secondText;
  bool isMain = false;

  bool operator==(const StateDialogValues&) const = default;
};

// The message a state would throw when regenerating from these texts; nullopt when both
// texts are good. OK of the dialog is refused while there is one.
std::optional<std::string> StateTextsError(const StateDialogValues& values);

}  // namespace pelkor
