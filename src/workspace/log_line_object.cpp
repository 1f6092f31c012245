// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/log_line_object.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace pelkor {

namespace {

// The machine's arc messages; the machine's error line follows each.
constexpr std::array<std::string_view, 4> kMessagesOfTheNextLine = {
    "アークの名前が入力されていません",
    "入力アーク本数と入力アークの名前数が等しくない",
    "入力アーク本数と入力アークの名前数が等しくありません",
    "出力アーク本数と出力アークの名前数が等しくない",
};

constexpr std::string_view kNo = "の";
constexpr std::string_view kCheckError = "にエラー";
constexpr std::string_view kVerdicts = "照合結果: ";

// A kind name and a positive ID at the start of `text`; `rest` is what follows the digits.
std::optional<LoggedObject> KindAndId(std::string_view text, std::string_view& rest) {
  for (const ObjectKind kind : kPrimitiveKinds) {
    const std::string_view name = ObjectKindName(kind);
    if (!text.starts_with(name))
      continue;
    const std::string_view digits = text.substr(name.size());
    int id = 0;
    const auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
    if (error != std::errc{} || id <= 0)
      return std::nullopt;
    rest = digits.substr(static_cast<std::size_t>(stop - digits.data()));
    return LoggedObject{{}, false, kind, id};
  }
  return std::nullopt;
}

// "<place>の<kind><id><rest>" at the first "の" from which a kind and ID follow and whose
// rest `accept` takes.
template <typename Accept>
std::optional<LoggedObject> PlaceNoKind(std::string_view text, Accept accept) {
  for (std::size_t at = text.find(kNo); at != std::string_view::npos;
       at = text.find(kNo, at + kNo.size())) {
    std::string_view rest;
    std::optional<LoggedObject> found = KindAndId(text.substr(at + kNo.size()), rest);
    if (at > 0 && found && accept(rest)) {
      found->place = std::string(text.substr(0, at));
      return found;
    }
  }
  return std::nullopt;
}

// A node path: a first name, then "/" and a positive number for each level.
bool IsNodePath(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash == 0)
    return false;
  std::string_view levels = slash == std::string_view::npos ? "" : text.substr(slash);
  while (!levels.empty()) {
    const std::size_t end = std::min(levels.find('/', 1), levels.size());
    const std::string_view number = levels.substr(1, end - 1);
    if (number.empty() || number.front() == '0' ||
        !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return false;
    levels.remove_prefix(end);
  }
  return !text.empty();
}

std::optional<LoggedObject> CheckError(std::string_view line) {
  return PlaceNoKind(line, [](std::string_view rest) { return rest == kCheckError; });
}

// "<path>のケムマキ<id>" then a name in angle brackets or the end of the label.
std::optional<LoggedObject> SinkLabel(std::string_view text) {
  std::optional<LoggedObject> found = PlaceNoKind(text, [](std::string_view rest) {
    return rest.empty() || rest.starts_with('<') || rest.starts_with("が") ||
           rest.starts_with("、") || rest.starts_with(')');
  });
  if (!found || found->kind != kSinkKind || !IsNodePath(found->place))
    return std::nullopt;
  found->placeIsPath = true;
  return found;
}

std::optional<LoggedObject> Verdict(std::string_view line) {
  if (!line.starts_with(kVerdicts))
    return SinkLabel(line);
  const std::size_t open = line.find(" (");
  return open == std::string_view::npos ? std::nullopt : SinkLabel(line.substr(open + 2));
}

// "<path> <kind><id>" then the end, a colon or a space.
std::optional<LoggedObject> PathLine(std::string_view line) {
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos || !IsNodePath(line.substr(0, space)))
    return std::nullopt;
  std::string_view rest;
  std::optional<LoggedObject> found = KindAndId(line.substr(space + 1), rest);
  if (!found || !(rest.empty() || rest.starts_with(':') || rest.starts_with(' ')))
    return std::nullopt;
  found->place = std::string(line.substr(0, space));
  found->placeIsPath = true;
  return found;
}

}  // namespace

std::optional<LoggedObject> ObjectOfLogLine(std::string_view line, std::string_view next) {
  if (std::find(kMessagesOfTheNextLine.begin(), kMessagesOfTheNextLine.end(), line) !=
      kMessagesOfTheNextLine.end())
    return CheckError(next);
  if (std::optional<LoggedObject> found = CheckError(line))
    return found;
  if (std::optional<LoggedObject> found = PathLine(line))
    return found;
  return Verdict(line);
}

}  // namespace pelkor
