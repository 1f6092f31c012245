// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/object_kind.h"

namespace pelkor {

// What a breakpoint waits for in a step.
enum class BreakEvent {
  kToken,     // a shift register: a token arrives at its exit cell
  kFire,      // a state machine or a counter fires
  kState,     // a state machine fires into state `Breakpoint::state`
  kReceive,   // a sink takes a value
  kReceive0,  // a sink takes a 0
  kReceive1,  // a sink takes a 1
  kEmpty,     // a source's last value is taken
};

// A breakpoint on one object of a module: in every node that runs the module, or only in the
// node at `path` (as NodePath writes it, "top/5/2").
struct Breakpoint {
  std::string module;
  int objectId = 0;
  BreakEvent event = BreakEvent::kToken;
  int state = 0;  // with kState
  std::optional<std::string> path;
  bool enabled = true;

  // The same place: module, object and node; the event and the flag may differ.
  bool SamePlace(const Breakpoint& other) const {
    return module == other.module && objectId == other.objectId && path == other.path;
  }
  bool operator==(const Breakpoint&) const = default;
};

// The event a breakpoint set on an object of this kind waits for; none for an instance.
std::optional<BreakEvent> NaturalEvent(ObjectKind kind);
// Whether an object of this kind can meet the event.
bool EventFits(BreakEvent event, ObjectKind kind);

// The event as the command line and the breakpoint files write it: "token", "fire",
// "state=N", "receive", "receive=0", "receive=1", "empty".
std::string EventText(BreakEvent event, int state = 0);
// The event of such a text, with the state number of "state=N"; nullopt for any other text.
struct ParsedEvent {
  BreakEvent event;
  int state = 0;
};
std::optional<ParsedEvent> ParseEvent(std::string_view text);

}  // namespace pelkor
