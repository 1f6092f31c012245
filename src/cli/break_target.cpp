// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/break_target.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "workspace/waveform/live_nodes.h"

namespace pelkor::cli {

namespace {

std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return value;
}

}  // namespace

std::variant<Breakpoint, std::string> ResolveBreakTarget(const std::string& target,
                                                         const ModuleLibrary& library) {
  // The path may hold colons of its own: ID and WHAT are taken from the end.
  std::string_view rest = target;
  std::optional<std::string_view> what;
  std::size_t colon = rest.rfind(':');
  if (colon != std::string_view::npos && !WholeNumber(rest.substr(colon + 1))) {
    what = rest.substr(colon + 1);
    rest = rest.substr(0, colon);
    colon = rest.rfind(':');
  }
  const std::optional<int> id =
      colon == std::string_view::npos ? std::nullopt : WholeNumber(rest.substr(colon + 1));
  if (!id || colon == 0)
    return "expected PATH:ID[:WHAT]";
  const std::string path(rest.substr(0, colon));
  const RuntimeInstance* node = FindNode(library.rootInstance(), path);
  if (node == nullptr || !library.Exists(node->name))
    return "no node " + path;
  const ObjectKind kind = library.ModuleByName(node->name).KindOf(*id);
  const std::optional<BreakEvent> natural = NaturalEvent(kind);
  if (!natural)
    return "no object " + std::to_string(*id) + " that takes a breakpoint in " + path;
  Breakpoint breakpoint;
  breakpoint.module = node->name;
  breakpoint.objectId = *id;
  breakpoint.event = *natural;
  breakpoint.path = path;
  if (what) {
    const std::optional<ParsedEvent> event = ParseEvent(*what);
    if (!event)
      return "unknown event " + std::string(*what);
    if (!EventFits(event->event, kind))
      return ObjectLabel(kind, *id) + " cannot meet " + std::string(*what);
    if (event->event == BreakEvent::kState &&
        !library.ModuleByName(node->name).stateMachines.at(*id).states.contains(event->state))
      return ObjectLabel(kind, *id) + " has no state " + std::to_string(event->state);
    breakpoint.event = event->event;
    breakpoint.state = event->state;
  }
  return breakpoint;
}

}  // namespace pelkor::cli
