// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/breakpoint_list.h"

#include <algorithm>
#include <charconv>
#include <tuple>

namespace pelkor {

namespace {

auto PlaceKey(const Breakpoint& breakpoint) {
  return std::tie(breakpoint.module, breakpoint.objectId, breakpoint.path);
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos)
      return fields;
    start = tab + 1;
  }
}

std::optional<Breakpoint> ReadLine(std::string_view line) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.size() != 5 || (fields[0] != "on" && fields[0] != "off") || fields[1].empty())
    return std::nullopt;
  Breakpoint breakpoint;
  breakpoint.enabled = fields[0] == "on";
  breakpoint.module = fields[1];
  const auto [end, error] =
      std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), breakpoint.objectId);
  const std::optional<ParsedEvent> event = ParseEvent(fields[3]);
  if (error != std::errc() || end != fields[2].data() + fields[2].size() || !event)
    return std::nullopt;
  breakpoint.event = event->event;
  breakpoint.state = event->state;
  if (!fields[4].empty())
    breakpoint.path = std::string(fields[4]);
  return breakpoint;
}

}  // namespace

bool BreakpointList::AnyEnabled() const {
  return std::any_of(items_.begin(), items_.end(), [](const Breakpoint& b) { return b.enabled; });
}

void BreakpointList::Add(const Breakpoint& breakpoint) {
  const auto it = std::lower_bound(
      items_.begin(), items_.end(), breakpoint,
      [](const Breakpoint& a, const Breakpoint& b) { return PlaceKey(a) < PlaceKey(b); });
  if (it != items_.end() && it->SamePlace(breakpoint))
    *it = breakpoint;
  else
    items_.insert(it, breakpoint);
}

bool BreakpointList::Toggle(const Breakpoint& breakpoint) {
  const auto it = std::find_if(items_.begin(), items_.end(),
                               [&](const Breakpoint& b) { return b.SamePlace(breakpoint); });
  if (it != items_.end()) {
    items_.erase(it);
    return false;
  }
  Add(breakpoint);
  return true;
}

bool BreakpointList::Has(const std::string& module, int objectId) const {
  return std::any_of(items_.begin(), items_.end(), [&](const Breakpoint& b) {
    return b.module == module && b.objectId == objectId;
  });
}

bool BreakpointList::Remove(std::size_t index) {
  if (index >= items_.size())
    return false;
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

bool BreakpointList::SetEnabled(std::size_t index, bool enabled) {
  if (index >= items_.size())
    return false;
  items_[index].enabled = enabled;
  return true;
}

bool BreakpointList::SetEvent(std::size_t index, ParsedEvent event, ObjectKind kind) {
  if (index >= items_.size() || !EventFits(event.event, kind))
    return false;
  items_[index].event = event.event;
  items_[index].state = event.state;
  return true;
}

std::string BreakpointList::ToText() const {
  std::string text;
  for (const Breakpoint& b : items_) {
    text += (b.enabled ? "on\t" : "off\t") + b.module + '\t' + std::to_string(b.objectId) + '\t' +
            EventText(b.event, b.state) + '\t' + b.path.value_or("") + '\n';
  }
  return text;
}

BreakpointList BreakpointList::FromText(std::string_view text) {
  BreakpointList list;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    if (const std::optional<Breakpoint> breakpoint = ReadLine(text.substr(0, newline)))
      list.Add(*breakpoint);
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
  }
  return list;
}

}  // namespace pelkor
