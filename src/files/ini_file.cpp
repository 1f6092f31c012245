// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ini_file.h"

#include "files/input_file.h"
#include "files/text_encoding.h"

namespace pelkor {

namespace {

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && blank(text.back()))
    text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'a' && x <= 'z')
      x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z')
      y = static_cast<char>(y - 'a' + 'A');
    if (x != y)
      return false;
  }
  return true;
}

// The name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (!line.starts_with('['))
    return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos)
    return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

std::string_view KeyOf(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';')
    return {};
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos)
    return {};
  return Trim(line.substr(0, equals));
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    if (std::optional<std::string_view> name = SectionName(line)) {
      ini.sections_.push_back({std::string(*name), {{std::string(line), {}}}});
    } else {
      ini.sections_.back().lines.push_back({std::string(line), std::string(KeyOf(line))});
    }
  }
  return ini;
}

std::string IniFile::Serialize() const {
  std::string out;
  for (const Section& section : sections_) {
    for (const Line& line : section.lines) {
      out += line.text;
      out += '\n';
    }
  }
  return out;
}

std::optional<std::size_t> IniFile::FindSection(std::string_view name) const {
  for (std::size_t i = 1; i < sections_.size(); ++i) {
    if (SameName(sections_[i].name, name))
      return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  const std::optional<std::size_t> found = FindSection(section);
  if (!found)
    return std::nullopt;
  for (const Line& line : sections_[*found].lines) {
    if (line.key.empty() || !SameName(line.key, key))
      continue;
    std::string_view value = Trim(std::string_view(line.text).substr(line.text.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
  }
  return std::nullopt;
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::optional<std::size_t> found = FindSection(section);
  Section* target = found ? &sections_[*found] : &sections_.emplace_back();
  if (!found) {
    target->name = section;
    target->lines.push_back({"[" + std::string(section) + "]", {}});
  }
  std::string text = std::string(key) + "=" + std::string(value);
  for (Line& line : target->lines) {
    if (!line.key.empty() && SameName(line.key, key)) {
      line.text = std::move(text);
      return;
    }
  }
  // New keys go after the section's last key, before any blank lines that end it.
  auto insertAt = target->lines.end();
  while (insertAt != target->lines.begin() + 1 && Trim((insertAt - 1)->text).empty())
    --insertAt;
  target->lines.insert(insertAt, {std::move(text), std::string(key)});
}

IniFile LoadIniFile(const std::filesystem::path& path) {
  std::optional<std::string> bytes;
  try {
    bytes = InputReader().Read(path);
  } catch (const InputRefused&) {
    // A settings path that names a device or a huge file gives the defaults, like a missing one.
  }
  if (!bytes)
    return IniFile();
  return IniFile::Parse(DecodeText(*bytes).text);
}

SaveResult SaveIniFile(const std::filesystem::path& path, const IniFile& ini) {
  return WriteFileSafely(path, ToCrLfLineEnds(EncodeText(ini.Serialize()).bytes));
}

}  // namespace pelkor
