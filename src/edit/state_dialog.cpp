// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/state_dialog.h"

#include "base/errors.h"
#include "model/primitives.h"

namespace pelkor {

std::optional<std::string> StateTextsError(const StateDialogValues& values) {
  MachineState scratch;
  scratch.firstText.source = values.firstText;
  scratch.secondText.source = values.secondText;
  try {
    scratch.Regenerate();
  } catch (const MessageError& e) {
    return e.what();
  }
  return std::nullopt;
}

}  // namespace pelkor
