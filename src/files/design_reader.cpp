// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <array>
#include <climits>

#include "base/errors.h"
#include "files/design_file.h"
#include "files/design_read_problems.h"
#include "files/design_records.h"

namespace pelkor {

namespace {

using design_records::kArcRecord;
using Kind = ReadProblem::Kind;

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::string_view kWhiteSpace = " \t\r\n";

// The keywords of the records that stand at the top level. A line that holds only blanks before
// one of them and its "[" starts a record: where damage makes the reader lose its way, it
// finds its feet again at the next such line.
constexpr std::array<std::string_view, 7> kRecordKeywords = {"shift",    "state",  "count", "uhzi",
                                                             "kemmakix", "module", "arc"};

bool IsTopLevelKind(ObjectKind kind) {
  return kind == kStateMachineKind || kind == kShiftRegisterKind || kind == kCounterKind ||
         kind == kSourceKind || kind == kSinkKind || kind == kInstanceKind || kind == kArcRecord;
}

// Hands one complete record to the parser of its kind; false for a kind that has no place at
// the top level. A text that fails to regenerate is returned in `textFailure`.
bool ReadRecord(ObjectKind kind, std::string_view record, Module& module,
                std::vector<std::string>& unknownInner, std::string& textFailure) {
  switch (kind) {
    case kStateMachineKind:
      textFailure = design_records::ReadStateMachineRecord(record, module, unknownInner);
      return true;
    case kShiftRegisterKind:
    case kCounterKind:
    case kSourceKind:
    case kSinkKind:
    case kInstanceKind:
      textFailure = design_records::ReadPrimitiveRecord(kind, record, module);
      return true;
    case kArcRecord:
      design_records::ReadArcRecord(record, module);
      return true;
    default:
      return false;
  }
}

// The outer level of the reader: collects each record's text byte by byte, by keyword and
// brace depth, and counts the records that are not arcs. What does not read as a record is
// passed over, noted with its byte positions.
class DesignReader {
 public:
  DesignReader(std::string_view text, Module& module) : text_(text), module_(module) {}

  void Read() {
    while (pos_ < text_.size()) {
      if (skipping_) {
        SkipToRecordLine();
        continue;
      }
      // Runs of ordinary bytes are copied at once; a large design has megabytes of them.
      const std::size_t run = RunOfOrdinaryBytes();
      buffer_.append(text_.substr(pos_, run));
      pos_ += run;
      if (pos_ >= text_.size())
        break;
      const std::size_t at = pos_++;
      switch (text_[at]) {
        case '/':
          Slash();
          break;
        case '[':
          Bracket(at);
          break;
        case '{':
          OpenBrace(at);
          break;
        case '}':
          CloseBrace(at);
          break;
      }
    }
    if (skipping_) {
      SkipToRecordLine();
    } else if (inRecord_) {
      problems_.Add(Kind::kUnfinishedRecord, keyword_, recordStart_, text_.size());
    } else {
      PassOverStrayText(text_.size());
    }
  }

  // One more than the number of records other than arcs; never below an ID already in use,
  // so that new primitives cannot replace loaded ones, even after a damaged part or in a file
  // with numbers out of order.
  int NextObjectId() const {
    long long next = recordCounter_;
    if (!module_.kinds.empty()) {
      next = std::max(next, static_cast<long long>(module_.kinds.rbegin()->first) + 1);
    }
    return static_cast<int>(std::min<long long>(next, INT_MAX));
  }

  ReadReport Report() && {
    return std::move(problems_).Finish(text_, module_.kinds.empty() && module_.arcs.empty());
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

  // "//" before the header skips the header line; after it, a comment is kept whole so that
  // braces in it do not count. Between a record's brackets "/" is text: names may hold "//".
  void Slash() {
    if (pos_ >= text_.size() || text_[pos_] != '/' || (inRecord_ && depth_ == 0)) {
      buffer_ += '/';
      return;
    }
    const std::size_t slashAt = pos_ - 1;
    if (headerSeen_) {
      const std::size_t end = design_records::CommentEnd(text_, slashAt);
      buffer_.append(text_.substr(slashAt, end - slashAt));
      pos_ = end;
      if (end < text_.size() && text_[end] == '}')
        return;
      buffer_ += '\n';
      pos_ = std::min(end + 1, text_.size());
      return;
    }
    headerSeen_ = true;
    pos_ = std::min(std::min(text_.find('\n', pos_), text_.size()) + 1, text_.size());
    // The header line is no stray text between records.
    if (!inRecord_ && FirstStrayByte(slashAt) == kNone)
      regionStart_ = pos_;
  }

  void Bracket(std::size_t at) {
    if (!inRecord_) {
      StartRecord(at);
      return;
    }
    // A record line inside a record: the record never ended where it should have, or its end
    // is far off and would take the records between with it. In a body, a line that merely
    // looks like one is text when the body's "}" comes before any "{".
    const std::size_t lineStart = RecordLineStart(at);
    if (lineStart != kNone && (depth_ == 0 || NextBrace(pos_) != '}')) {
      problems_.Add(Kind::kSkippedLines, "", recordStart_, lineStart);
      RestartAt(lineStart);
      return;
    }
    buffer_ += '[';
  }

  // The "[" at depth 0 that ends a keyword: the keyword is the last line collected.
  void StartRecord(std::size_t at) {
    std::size_t lineStart = at;
    while (lineStart > regionStart_ && text_[lineStart - 1] != '\n')
      --lineStart;
    const std::size_t lastBreak = buffer_.rfind('\n');
    const std::string_view keyword = design_records::KeywordText(
        std::string_view(buffer_).substr(lastBreak == kNone ? 0 : lastBreak + 1));
    kind_ = design_records::KeywordKind(keyword);
    const std::size_t stray = FirstStrayByte(lineStart);
    if (stray != kNone && kind_ == kNoKind) {
      // An unknown keyword after stray text is more of it, no record of its own.
      skipping_ = true;
      skipFrom_ = stray;
      buffer_.clear();
      return;
    }
    PassOverStrayText(lineStart);
    keyword_ = design_records::KeywordForLog(keyword);
    inRecord_ = true;
    maxDepth_ = 0;
    recordStart_ = lineStart;
    buffer_.clear();
  }

  void OpenBrace(std::size_t at) {
    if (!inRecord_) {
      // A body with no record to hold it: stray text up to the next record line.
      skipping_ = true;
      skipFrom_ = std::min(FirstStrayByte(at), at);
      return;
    }
    maxDepth_ = std::max(maxDepth_, ++depth_);
    buffer_ += '{';
  }

  void CloseBrace(std::size_t at) {
    // A "}" outside any record would leave the depth below zero and swallow every later
    // record; it is dropped instead, and told of as stray text.
    if (depth_ == 0) {
      if (!inRecord_)
        strayBrace_ = std::min(strayBrace_, at);
      return;
    }
    buffer_ += '}';
    if (--depth_ == 0)
      EndRecord();
  }

  void EndRecord() {
    const ObjectKind kind = kind_;
    kind_ = kNoKind;
    inRecord_ = false;
    // The rest of the record's line is skipped; anything but blanks there is stray text.
    regionStart_ = pos_;
    strayBrace_ = kNone;
    pos_ = std::min(text_.find('\n', pos_), text_.size());
    if (pos_ < text_.size())
      ++pos_;
    const std::size_t recordEnd = regionStart_;
    // No body holds a brace, and only a state machine nests records: deeper braces are damage
    // that a parser would read as something else.
    const long long allowedDepth = kind == kStateMachineKind ? 3 : 1;
    if (IsTopLevelKind(kind) && maxDepth_ > allowedDepth) {
      problems_.Add(Kind::kSkippedLines, "", recordStart_, pos_);
      regionStart_ = pos_;
      buffer_.clear();
      return;
    }
    std::vector<std::string> unknownInner;
    std::string textFailure;
    try {
      if (!ReadRecord(kind, buffer_, module_, unknownInner, textFailure))
        problems_.Add(Kind::kUnknownRecord, keyword_, recordStart_, recordEnd);
      for (const std::string& inner : unknownInner)
        problems_.Add(Kind::kUnknownRecord, inner, recordStart_, recordEnd);
      if (!textFailure.empty())
        problems_.Add(Kind::kTextFailure, textFailure, recordStart_, recordEnd);
    } catch (const MessageError& e) {
      // A malformed record is not stored: its lines are passed over.
      problems_.Add(Kind::kSkippedLines, e.what(), recordStart_, pos_);
      regionStart_ = pos_;
    }
    buffer_.clear();
    if (kind != kArcRecord)
      ++recordCounter_;
  }

  // Passes over everything up to the next record line.
  void SkipToRecordLine() {
    for (std::size_t at = text_.find('[', pos_); at != kNone; at = text_.find('[', at + 1)) {
      const std::size_t lineStart = RecordLineStart(at);
      if (lineStart != kNone && lineStart > skipFrom_) {
        problems_.Add(Kind::kSkippedLines, "", skipFrom_, lineStart);
        RestartAt(lineStart);
        return;
      }
    }
    problems_.Add(Kind::kSkippedLines, "", skipFrom_, text_.size());
    skipping_ = false;
    pos_ = regionStart_ = text_.size();
  }

  void RestartAt(std::size_t lineStart) {
    pos_ = regionStart_ = lineStart;
    strayBrace_ = kNone;
    buffer_.clear();
    depth_ = 0;
    kind_ = kNoKind;
    inRecord_ = false;
    skipping_ = false;
  }

  // Text between records other than blanks (a comment, a stray "}", the rest of a line after a
  // record, words) is passed over, up to `end`.
  void PassOverStrayText(std::size_t end) {
    const std::size_t first = FirstStrayByte(end);
    if (first != kNone)
      problems_.Add(Kind::kSkippedLines, "", first, std::max(end, first + 1));
  }

  // The first byte before `end` since the last record that is neither a blank nor part of a
  // keyword, or kNone.
  std::size_t FirstStrayByte(std::size_t end) const {
    std::size_t first = std::min(text_.find_first_not_of(kWhiteSpace, regionStart_), end);
    first = std::min(first, strayBrace_);
    return first < end || strayBrace_ != kNone ? first : kNone;
  }

  // The start of the line of the "[" at `at` when that line is a record line (blanks, a record
  // keyword, this "["), kNone otherwise.
  std::size_t RecordLineStart(std::size_t at) const {
    for (const std::string_view keyword : kRecordKeywords) {
      if (at < keyword.size() || text_.substr(at - keyword.size(), keyword.size()) != keyword)
        continue;
      std::size_t start = at - keyword.size();
      while (start > 0 &&
             (text_[start - 1] == ' ' || text_[start - 1] == '\t' || text_[start - 1] == '\r'))
        --start;
      return start == 0 || text_[start - 1] == '\n' ? start : kNone;
    }
    return kNone;
  }

  // The first "{" or "}" at or after `from` ('\0' when none). Remembered, so that many record
  // lines before one brace cost one search.
  char NextBrace(std::size_t from) {
    if (from < braceSearchFrom_ || (nextBrace_ != kNone && nextBrace_ < from)) {
      braceSearchFrom_ = from;
      nextBrace_ = text_.find_first_of("{}", from);
    }
    return nextBrace_ == kNone ? '\0' : text_[nextBrace_];
  }

  std::string_view text_;
  Module& module_;
  ReadProblems problems_;
  std::size_t pos_ = 0;
  std::string buffer_;
  long long depth_ = 0;
  long long maxDepth_ = 0;  // of the record being collected
  std::string keyword_;     // of the record being collected, as an ignored record is named
  ObjectKind kind_ = kNoKind;
  bool inRecord_ = false;  // a keyword's "[" has been read and its record not yet ended
  bool headerSeen_ = false;
  long long recordCounter_ = 1;
  std::size_t recordStart_ = 0;     // the start of the line of the record being collected
  std::size_t regionStart_ = 0;     // where the text since the last record starts
  std::size_t strayBrace_ = kNone;  // the first "}" dropped since then
  bool skipping_ = false;           // passing over damage up to the next record line
  std::size_t skipFrom_ = 0;
  std::size_t braceSearchFrom_ = kNone;
  std::size_t nextBrace_ = kNone;
};

}  // namespace

ReadReport ReadModule(std::string_view text, Module& module) {
  std::string lfText;
  if (text.find("\r\n") != std::string_view::npos) {
    lfText = ToLfLineEnds(text);
    text = lfText;
  }
  DesignReader reader(text, module);
  reader.Read();
  module.SetNextObjectId(reader.NextObjectId());
  module.ShrinkTables();
  return std::move(reader).Report();
}

}  // namespace pelkor
