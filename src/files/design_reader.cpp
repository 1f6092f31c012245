// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <climits>

#include "files/design_file.h"
#include "files/design_records.h"

namespace pelkor {

namespace {

using design_records::kArcRecord;

// Hands one complete record to the parser of its kind; false for a kind that has no place at
// the top level.
bool ReadRecord(ObjectKind kind, std::string_view record, Module& module,
                std::vector<IgnoredRecord>& ignored) {
  switch (kind) {
    case kStateMachineKind:
      design_records::ReadStateMachineRecord(record, module, ignored);
      return true;
    case kShiftRegisterKind:
    case kCounterKind:
    case kSourceKind:
    case kSinkKind:
    case kInstanceKind:
      design_records::ReadPrimitiveRecord(kind, record, module);
      return true;
    case kArcRecord:
      design_records::ReadArcRecord(record, module);
      return true;
    default:
      return false;
  }
}

// The outer level of the reader: collects each record's text byte by byte, by keyword and
// brace depth, and counts the records that are not arcs.
class DesignReader {
 public:
  DesignReader(std::string_view text, Module& module, std::vector<IgnoredRecord>& ignored)
      : text_(text), module_(module), ignored_(ignored) {}

  void Read() {
    while (pos_ < text_.size()) {
      // Runs of ordinary bytes are copied at once; a large design has megabytes of them.
      const std::size_t run = RunOfOrdinaryBytes();
      buffer_.append(text_.substr(pos_, run));
      pos_ += run;
      if (pos_ >= text_.size())
        break;
      const char c = text_[pos_++];
      switch (c) {
        case '/':
          Slash();
          break;
        case '[':
          if (depth_ == 0) {
            const std::string_view keyword = design_records::KeywordText(buffer_);
            kind_ = design_records::KeywordKind(keyword);
            keyword_ = design_records::KeywordForLog(keyword);
            inRecord_ = true;
            buffer_.clear();
          } else {
            buffer_ += c;
          }
          break;
        case '{':
          ++depth_;
          buffer_ += c;
          break;
        case '}':
          // A stray "}" outside any record would leave the depth below zero and silently
          // swallow every later record; it is dropped instead.
          if (depth_ == 0)
            break;
          buffer_ += c;
          if (--depth_ == 0)
            EndRecord();
          break;
      }
    }
    if (inRecord_)
      ignored_.push_back({keyword_, true});
  }

  // One more than the number of records other than arcs; never below an ID already in use,
  // so that new primitives cannot replace loaded ones, even after a failed read or in a file
  // with numbers out of order.
  int NextObjectId() const {
    long long next = recordCounter_;
    if (!module_.kinds.empty()) {
      next = std::max(next, static_cast<long long>(module_.kinds.rbegin()->first) + 1);
    }
    return static_cast<int>(std::min<long long>(next, INT_MAX));
  }

 private:
  std::size_t RunOfOrdinaryBytes() const {
    std::size_t end = pos_;
    while (end < text_.size()) {
      const char c = text_[end];
      if (c == '/' || c == '[' || c == '{' || c == '}')
        break;
      ++end;
    }
    return end - pos_;
  }

  // "//" before the header skips the header line; after it, a comment line is kept whole so
  // that braces in it do not count.
  void Slash() {
    if (pos_ >= text_.size() || text_[pos_] != '/') {
      buffer_ += '/';
      return;
    }
    ++pos_;
    const std::size_t lineEnd = std::min(text_.find('\n', pos_), text_.size());
    if (headerSeen_) {
      buffer_ += "//";
      buffer_.append(text_.substr(pos_, lineEnd - pos_));
      buffer_ += '\n';
    }
    headerSeen_ = true;
    pos_ = std::min(lineEnd + 1, text_.size());
  }

  void EndRecord() {
    const ObjectKind kind = kind_;
    kind_ = kNoKind;
    inRecord_ = false;
    // The rest of the record's line is skipped.
    pos_ = std::min(text_.find('\n', pos_), text_.size());
    if (pos_ < text_.size())
      ++pos_;
    if (!ReadRecord(kind, buffer_, module_, ignored_))
      ignored_.push_back({keyword_, false});
    buffer_.clear();
    if (kind != kArcRecord)
      ++recordCounter_;
  }

  std::string_view text_;
  Module& module_;
  std::vector<IgnoredRecord>& ignored_;
  std::size_t pos_ = 0;
  std::string buffer_;
  long long depth_ = 0;
  std::string keyword_;  // of the record being collected, as an ignored record is named
  ObjectKind kind_ = kNoKind;
  bool inRecord_ = false;  // a keyword's "[" has been read and its record not yet ended
  bool headerSeen_ = false;
  long long recordCounter_ = 1;
};

}  // namespace

void ReadModule(std::string_view text, Module& module, std::vector<IgnoredRecord>& ignored) {
  std::string lfText;
  if (text.find("\r\n") != std::string_view::npos) {
    lfText = ToLfLineEnds(text);
    text = lfText;
  }
  DesignReader reader(text, module, ignored);
  try {
    reader.Read();
  } catch (...) {
    module.SetNextObjectId(reader.NextObjectId());
    throw;
  }
  module.SetNextObjectId(reader.NextObjectId());
  module.ShrinkTables();
}

void ReadModule(std::string_view text, Module& module) {
  std::vector<IgnoredRecord> ignored;
  ReadModule(text, module, ignored);
}

std::string IgnoredRecordMessage(const IgnoredRecord& record) {
  return "「" + record.keyword +
         (record.unfinished ? "」のレコードは途中で終わっているので無視しました"
                            : "」は不明なレコードなので無視しました");
}

}  // namespace pelkor
