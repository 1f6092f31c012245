// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "model/object_kind.h"

namespace pelkor {

// An object of a running node that holds or waits for tokens and cannot move, and why not.
// The code is one of these, for scripts; the reason says the same in a sentence, naming the
// registers and objects by kind and ID ("シフトレジスタ3"):
// - "input-empty": a machine, counter or sink waits on an input register without a token;
// - "output-full": a machine or counter cannot put into an output register whose entry is taken;
// - "guard": a two-step machine's state chooses no arc on the values at its inputs;
// - "unconnected": an input of the machine's state or of a counter has no register;
// - "source-unread": a source has values left but its output register's entry is taken;
// - "port-waiting": a token at an instance's port cannot cross the boundary (said of the
//   instance, and of a register whose exit token waits at its module's output port);
// - "not-created": a token waits at an input of an instance that no "new" token created;
// - "exit-untaken": a register's exit token is not taken, as the object taking it waits itself;
// - "no-consumer": a register's exit token has nothing that would take it.
struct BlockedObject {
  int id = 0;
  ObjectKind kind = kNoKind;
  std::string code;
  std::string reason;

  bool operator==(const BlockedObject&) const = default;
};

}  // namespace pelkor
