// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/module_diff.h"

#include "model/record_fields.h"

namespace pelkor {

namespace {

std::string IdText(const std::optional<int>& id) {
  return id ? std::to_string(*id) : "-";
}

std::string IdsText(const ObjectIds& ids) {
  return KindWord(ids.kind) + " " + IdText(ids.before) + "/" + IdText(ids.after);
}

// A value on one line: texts quoted with C escapes, anything else as it is ("none" if empty).
std::string ValueText(const std::string& value, bool isText) {
  if (!isText)
    return value.empty() ? "none" : value;
  std::string text = "\"";
  for (const char c : value) {
    switch (c) {
      case '\n':
        text += "\\n";
        break;
      case '\t':
        text += "\\t";
        break;
      case '"':
      case '\\':
        text += '\\';
        text += c;
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
          static constexpr char kHex[] = "0123456789abcdef";
          text += "\\x";
          text += kHex[(c >> 4) & 0xf];
          text += kHex[c & 0xf];
        } else {
          text += c;
        }
    }
  }
  return text + "\"";
}

std::string FieldsText(const std::vector<FieldChange>& fields) {
  std::string text;
  for (const FieldChange& field : fields) {
    text += (text.empty() ? "" : ", ") + field.field + " " + ValueText(field.before, field.isText) +
            " -> " + ValueText(field.after, field.isText);
  }
  return text;
}

}  // namespace

std::string KindWord(ObjectKind kind) {
  switch (kind) {
    case kShiftRegisterKind:
      return "register";
    case kStateMachineKind:
      return "machine";
    case kCounterKind:
      return "counter";
    case kSourceKind:
      return "source";
    case kSinkKind:
      return "sink";
    case kInstanceKind:
      return "instance";
    case kArcChangeKind:
      return "arc";
    default:
      return "object";
  }
}

std::string ChangeWord(ChangeKind change) {
  switch (change) {
    case ChangeKind::kRemoved:
      return "removed";
    case ChangeKind::kAdded:
      return "added";
    case ChangeKind::kMoved:
      return "moved";
    case ChangeKind::kChanged:
      break;
  }
  return "changed";
}

std::string DescribeChange(const ObjectChange& change) {
  std::string line = ChangeWord(change.change) + " " + IdsText(change.ids);
  if (change.ids.kind == kArcChangeKind) {
    line += " " + IdsText(change.from) + " -> " + IdsText(change.to);
    if (change.change == ChangeKind::kChanged)
      return line + ": " + FieldsText(change.fields);
    return change.arcName.empty() ? line : line + " " + ValueText(change.arcName, true);
  }
  switch (change.change) {
    case ChangeKind::kRemoved:
      return line + " at " + PointText(*change.positionBefore);
    case ChangeKind::kAdded:
      return line + " at " + PointText(*change.positionAfter);
    case ChangeKind::kMoved:
      return line + " " + PointText(*change.positionBefore) + " -> " +
             PointText(*change.positionAfter);
    case ChangeKind::kChanged:
      break;
  }
  return line + ": " + FieldsText(change.fields);
}

}  // namespace pelkor
