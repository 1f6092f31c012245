// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/design_records.h"

#include <algorithm>
#include <array>
#include <climits>

#include "base/errors.h"

namespace pelkor::design_records {

namespace {

// The bracket fields and the body of a shift, count, uhzi, kemmakix or module record.
struct PrimitiveFields {
  static constexpr std::size_t kKept = 8;  // more than any record has; the rest are counted

  std::array<std::string, kKept> fields;
  std::size_t fieldCount = 0;
  std::string body;  // LF line ends

  int Number(std::size_t index) const {
    return index < std::min(fieldCount, kKept) ? ReadDecimal(fields[index]) : 0;
  }
  bool Flag(std::size_t index) const { return Number(index) != 0; }
  std::string Text(std::size_t index) const {
    return index < std::min(fieldCount, kKept) ? fields[index] : std::string();
  }
  Point Position() const { return {Number(1), Number(2)}; }
};

PrimitiveFields SplitPrimitiveRecord(std::string_view record) {
  PrimitiveFields result;
  std::string buffer;
  bool inBody = false;
  auto endField = [&] {
    if (result.fieldCount < PrimitiveFields::kKept)
      result.fields[result.fieldCount] = buffer;
    ++result.fieldCount;
    buffer.clear();
  };
  for (std::size_t i = 0; i < record.size(); ++i) {
    const char c = record[i];
    if (!inBody && (c == '\n' || c == '\r'))
      continue;
    if (!inBody && (c == ',' || c == ']')) {
      endField();
    } else if (inBody && CommentAt(record, i)) {
      const std::size_t end = CommentEnd(record, i);
      buffer.append(record.substr(i, end - i));
      i = end - 1;
    } else if (c == '{') {
      // The body starts on the line after its "{".
      inBody = true;
      i = std::min(record.find('\n', i), record.size());
      buffer.clear();
    } else if (c == '}') {
      result.body = buffer;
    } else if (inBody && c == '\r') {
      // A lone CR ends a line like LF; the rest of that line is dropped.
      buffer += '\n';
      i = std::min(record.find('\n', i), record.size());
    } else {
      // "]" inside a body is ordinary text: only the bracket fields end at it.
      buffer += c;
    }
  }
  return result;
}

}  // namespace

std::size_t CommentEnd(std::string_view text, std::size_t start) {
  const std::size_t lineEnd = std::min(text.find('\n', start), text.size());
  int depth = 0;
  for (std::size_t i = start + 2; i < lineEnd; ++i) {
    if (text[i] == '{') {
      ++depth;
    } else if (text[i] == '}' && depth-- == 0) {
      return i;
    }
  }
  return lineEnd;
}

ObjectKind KeywordKind(std::string_view keyword) {
  if (keyword == "shift")
    return kShiftRegisterKind;
  if (keyword == "state")
    return kStateMachineKind;
  if (keyword == "count")
    return kCounterKind;
  if (keyword == "uhzi")
    return kSourceKind;
  if (keyword == "kemmakix")
    return kSinkKind;
  if (keyword == "module")
    return kInstanceKind;
  if (keyword == "arc")
    return kArcRecord;
  if (keyword == "sub")
    return kStateRecord;
  if (keyword == "smarc")
    return kStateArcRecord;
  return kNoKind;
}

std::string_view KeywordText(std::string_view collected) {
  const std::size_t start = collected.find_first_not_of(" \t\r\n");
  return start == std::string_view::npos ? std::string_view() : collected.substr(start);
}

std::string KeywordForLog(std::string_view keyword) {
  constexpr int kMaxCharacters = 40;
  std::string text;
  int characters = 0;
  for (const char c : keyword) {
    const auto byte = static_cast<unsigned char>(c);
    const bool continuation = (byte & 0xC0) == 0x80;
    if (!continuation && ++characters > kMaxCharacters)
      break;
    text += byte < 0x20 || byte == 0x7F ? ' ' : c;
  }
  return text;
}

int ReadDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  if (negative)
    value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\n')
      out += '\r';
    out += c;
  }
  return out;
}

void ArcFields::EndField() {
  const int value = ReadDecimal(buffer_);
  buffer_.clear();
  if (index_ == 0) {
    arc_.from = value;
  } else if (index_ == 1) {
    arc_.to = value;
  }
  ++index_;
}

void ArcFields::Take(char c) {
  switch (c) {
    case ',':
      if (inBend_) {
        bendX_ = ReadDecimal(buffer_);
        buffer_.clear();
      } else if (!sawBend_) {
        if (index_ >= 2)
          throw MessageError("comma");
        EndField();
      } else {
        buffer_.clear();  // between bends
      }
      break;
    case '(':
      inBend_ = sawBend_ = true;
      buffer_.clear();
      break;
    case ')':
      if (inBend_)
        arc_.bends.push_back({bendX_, ReadDecimal(buffer_)});
      inBend_ = false;
      buffer_.clear();
      break;
    case ']':
      if (!sawBend_ && index_ < 2)
        EndField();
      buffer_.clear();
      break;
    case '\n':
    case '\r':
      break;
    default:
      buffer_ += c;
  }
}

std::string ReadPrimitiveRecord(ObjectKind kind, std::string_view record, Module& module) {
  const PrimitiveFields f = SplitPrimitiveRecord(record);
  const int id = f.Number(0);
  switch (kind) {
    case kShiftRegisterKind: {
      if (f.fieldCount > 6)
        throw MessageError("comma");
      ShiftRegister r;
      r.position = f.Position();
      r.sizeFixed = f.Number(3) == 1;
      r.size = f.Number(4);
      r.direction = f.Number(5);
      // The file holds the contents in shift order; reversing restores them as typed.
      std::string contents = f.body;
      if (r.direction != 2)
        std::reverse(contents.begin(), contents.end());
      r.contents = WithCrLf(contents);
      StorePrimitive(module, module.shiftRegisters, kind, id, std::move(r));
      break;
    }
    case kCounterKind: {
      Counter c;
      c.position = f.Position();
      c.countNumber = f.Number(3);
      c.countText.source = WithCrLf(f.body);
      // Stored first, so that a counter whose text fails to regenerate stays to be mended.
      Counter& stored = StorePrimitive(module, module.counters, kind, id, std::move(c));
      try {
        stored.Regenerate();
      } catch (const MessageError& e) {
        return e.what();
      }
      break;
    }
    case kSourceKind: {
      SourceTransition s;
      s.position = f.Position();
      s.holdValue = f.Flag(3);
      s.fromEnd = f.Flag(4);
      s.hexDisplay = f.Flag(5);
      s.name = f.Text(6);
      s.data = WithCrLf(f.body);
      StorePrimitive(module, module.sources, kind, id, std::move(s));
      break;
    }
    case kSinkKind: {
      SinkTransition s;
      s.position = f.Position();
      s.outputMode = f.Number(3);
      s.hexDisplay = f.Flag(4);
      s.name = f.Text(5);
      s.expected = WithCrLf(f.body);
      StorePrimitive(module, module.sinks, kind, id, std::move(s));
      break;
    }
    case kInstanceKind: {
      ModuleInstance instance;
      instance.position = f.Position();
      instance.moduleName = WithCrLf(f.body);
      StorePrimitive(module, module.instances, kind, id, std::move(instance));
      break;
    }
    default:
      break;
  }
  return "";
}

void ReadArcRecord(std::string_view record, Module& module) {
  ArcFields fields;
  std::string name;
  bool inBody = false;
  for (std::size_t i = 0; i < record.size(); ++i) {
    const char c = record[i];
    if (!inBody) {
      if (c == '{') {
        inBody = true;
        name.clear();
      } else {
        fields.Take(c);
      }
    } else if (CommentAt(record, i)) {
      const std::size_t end = CommentEnd(record, i);
      name.append(record.substr(i, end - i));
      i = end - 1;
    } else if (c == '}') {
      inBody = false;
      fields.arc().name = name;
    } else if (c == '\n') {
      name += "\r\n";
    } else {
      name += c;
    }
  }
  const Arc& arc = fields.arc();
  module.AddArc(arc.from, arc.to, arc.bends, arc.name);
}

}  // namespace pelkor::design_records
