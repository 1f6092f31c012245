// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/breakpoint.h"

#include <array>
#include <charconv>

namespace pelkor {

namespace {

struct EventName {
  BreakEvent event;
  std::string_view text;
  ObjectKind kind;
};

// "state=N" is written and read apart, with its number.
constexpr std::array<EventName, 7> kEventNames{{
    {BreakEvent::kToken, "token", kShiftRegisterKind},
    {BreakEvent::kFire, "fire", kStateMachineKind},
    {BreakEvent::kState, "state", kStateMachineKind},
    {BreakEvent::kReceive, "receive", kSinkKind},
    {BreakEvent::kReceive0, "receive=0", kSinkKind},
    {BreakEvent::kReceive1, "receive=1", kSinkKind},
    {BreakEvent::kEmpty, "empty", kSourceKind},
}};

constexpr std::string_view kStatePrefix = "state=";

}  // namespace

std::optional<BreakEvent> NaturalEvent(ObjectKind kind) {
  switch (kind) {
    case kShiftRegisterKind:
      return BreakEvent::kToken;
    case kStateMachineKind:
    case kCounterKind:
      return BreakEvent::kFire;
    case kSinkKind:
      return BreakEvent::kReceive;
    case kSourceKind:
      return BreakEvent::kEmpty;
    default:
      return std::nullopt;
  }
}

bool EventFits(BreakEvent event, ObjectKind kind) {
  if (event == BreakEvent::kFire && kind == kCounterKind)
    return true;
  for (const EventName& name : kEventNames) {
    if (name.event == event)
      return name.kind == kind;
  }
  return false;
}

std::string EventText(BreakEvent event, int state) {
  if (event == BreakEvent::kState)
    return std::string(kStatePrefix) + std::to_string(state);
  for (const EventName& name : kEventNames) {
    if (name.event == event)
      return std::string(name.text);
  }
  return "";
}

std::optional<ParsedEvent> ParseEvent(std::string_view text) {
  if (text.starts_with(kStatePrefix)) {
    const std::string_view digits = text.substr(kStatePrefix.size());
    int state = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), state);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
      return std::nullopt;
    return ParsedEvent{BreakEvent::kState, state};
  }
  for (const EventName& name : kEventNames) {
    if (name.text == text && name.event != BreakEvent::kState)
      return ParsedEvent{name.event};
  }
  return std::nullopt;
}

}  // namespace pelkor
