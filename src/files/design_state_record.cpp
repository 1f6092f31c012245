// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <climits>

#include "base/errors.h"
#include "files/design_records.h"
#include "files/two_step_form.h"

namespace pelkor::design_records {

namespace {

// Header fields of a state machine record: number, x, y, main state. Returns the position
// after the header line.
std::size_t ReadMachineHeader(std::string_view record, int (&fields)[4]) {
  std::string buffer;
  int index = 0;
  auto endField = [&] {
    if (index < 4)
      fields[index] = ReadDecimal(buffer);
    ++index;
    buffer.clear();
  };
  std::size_t i = 0;
  for (; i < record.size(); ++i) {
    const char c = record[i];
    if (c == '\n' || c == '\r')
      continue;
    if (c == ']') {
      endField();
      break;
    }
    if (c == ',') {
      endField();
    } else {
      buffer += c;
    }
  }
  const std::size_t lineEnd = record.find('\n', i);
  return lineEnd == std::string_view::npos ? record.size() : lineEnd + 1;
}

// Walks the states and state arcs inside a machine record, building them into `machine`.
class MachineBodyReader {
 public:
  MachineBodyReader(StateMachine& machine, std::vector<std::string>& unknownInner)
      : machine_(machine), unknownInner_(unknownInner) {}

  void Read(std::string_view body) {
    for (std::size_t i = 0; i < body.size(); ++i) {
      const char c = body[i];
      if (CommentAt(body, i)) {
        // A "//" comment is kept whole, braces and all, up to the end of its line or the
        // brace that closes the text it is in.
        const std::size_t end = CommentEnd(body, i);
        buffer_.append(body.substr(i, end - i));
        if (end < body.size() && body[end] == '}') {
          i = end - 1;
        } else {
          buffer_ += "\r\n";
          i = end;
        }
        continue;
      }
      if (inBrackets_ && depth_ == 1) {
        TakeField(c);
        continue;
      }
      switch (c) {
        case '[':
          if (depth_ == 1) {
            StartRecord();
          } else {
            buffer_ += c;
          }
          break;
        case '{':
          ++depth_;
          buffer_.clear();
          break;
        case '}':
          if (depth_ == 3)
            EndText();
          if (depth_ == 2)
            EndRecord();
          --depth_;
          break;
        case '\n':
          if (depth_ == 3)
            buffer_ += "\r\n";
          break;
        default:
          buffer_ += c;
      }
    }
  }

 private:
  void StartRecord() {
    const std::string_view keyword = KeywordText(buffer_);
    kind_ = KeywordKind(keyword);
    keyword_ = KeywordForLog(keyword);
    buffer_.clear();
    inBrackets_ = true;
    fieldIndex_ = 0;
    stateFields_[0] = stateFields_[1] = stateFields_[2] = 0;
    arcFields_ = ArcFields();
    textCount_ = 0;
    texts_[0].clear();
    texts_[1].clear();
  }

  // One byte between a record's "[" and "]".
  void TakeField(char c) {
    if (kind_ == kStateArcRecord)
      arcFields_.Take(c);
    if (c == ']')
      inBrackets_ = false;
    if (kind_ != kStateRecord || c == '\n' || c == '\r')
      return;
    if (c == ',' || c == ']') {
      if (fieldIndex_ < 3)
        stateFields_[fieldIndex_] = ReadDecimal(buffer_);
      ++fieldIndex_;
      buffer_.clear();
    } else {
      buffer_ += c;
    }
  }

  void EndText() {
    if (textCount_ < 2)
      texts_[textCount_] = buffer_;
    ++textCount_;
    buffer_.clear();
  }

  void EndRecord() {
    if (kind_ == kStateRecord) {
      MachineState state;
      state.position = {stateFields_[1], stateFields_[2]};
      state.firstText.source = texts_[0];
      state.secondText.source = texts_[1];
      state.isMain = stateFields_[0] == machine_.mainState;
      machine_.states[stateFields_[0]] = std::move(state);
    } else if (kind_ == kStateArcRecord) {
      Arc arc = arcFields_.arc();
      arc.name = buffer_;
      const int id = nextStateArcId_++;
      machine_.stateArcsInto.emplace(arc.to, id);
      machine_.stateArcsOutOf.emplace(arc.from, id);
      machine_.stateArcs[id] = std::move(arc);
    } else {
      unknownInner_.push_back(keyword_);
    }
    kind_ = kNoKind;
    keyword_.clear();
    buffer_.clear();
  }

  StateMachine& machine_;
  std::vector<std::string>& unknownInner_;
  std::string buffer_;
  std::string keyword_;  // of the record being read, as an ignored record is named
  long long depth_ = 1;
  ObjectKind kind_ = kNoKind;
  bool inBrackets_ = false;
  int fieldIndex_ = 0;
  int stateFields_[3] = {0, 0, 0};  // number, x, y
  ArcFields arcFields_;
  int textCount_ = 0;
  std::string texts_[2];
  int nextStateArcId_ = 1;
};

}  // namespace

std::string ReadStateMachineRecord(std::string_view record, Module& module,
                                   std::vector<std::string>& unknownInner) {
  int header[4] = {0, 0, 0, 0};
  const std::size_t bodyStart = ReadMachineHeader(record, header);

  StateMachine machine;
  machine.position = {header[1], header[2]};
  machine.mainState = header[3];
  MachineBodyReader(machine, unknownInner).Read(record.substr(bodyStart));
  machine.ResetNextIds();
  // A hand-edited file may number its states with gaps; new states must not reuse a number. The
  // counter stops at the largest int, which the editor then refuses to hand out twice.
  if (!machine.states.empty()) {
    machine.nextStateId = static_cast<int>(
        std::min(std::max<long long>(machine.nextStateId, machine.states.rbegin()->first + 1LL),
                 static_cast<long long>(INT_MAX)));
  }

  StateMachine& stored = StorePrimitive(module, module.stateMachines, kStateMachineKind, header[0],
                                        std::move(machine));
  try {
    stored.Regenerate();
  } catch (const MessageError& e) {
    return e.what();
  }
  stored.twoStepMode = IsTwoStepForm(stored);
  return "";
}

}  // namespace pelkor::design_records
