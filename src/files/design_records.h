// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The record parsers of the design-file reader. Each takes the text of one record as the
// outer reader collected it (everything after the keyword's "[" up to and including the
// closing "}", LF line ends) and stores what it describes in the module.

#include <string>
#include <string_view>
#include <vector>

#include "files/design_file.h"
#include "model/module.h"

namespace pelkor::design_records {

// Record kinds beyond the primitive kinds, as the keyword table numbers them.
inline constexpr ObjectKind kArcRecord = 6;
inline constexpr ObjectKind kStateRecord = 100;
inline constexpr ObjectKind kStateArcRecord = 101;

// The kind of a record keyword, kNoKind for a word not in the table.
ObjectKind KeywordKind(std::string_view keyword);

// The keyword in the text collected before a record's "[": blank lines and indentation before
// it (spaces, tabs, CR, LF) are skipped.
std::string_view KeywordText(std::string_view collected);

// A keyword as an ignored record is named by: control characters shown as spaces, cut to 40
// characters.
std::string KeywordForLog(std::string_view keyword);

// The end of the "//" comment that starts at `start`: the end of its line, or the first "}" in
// it that closes no "{" of the comment itself. Braces within a comment are text; a closing
// brace after it is the one that ends a body whose last line holds a comment, as the writer
// puts it.
std::size_t CommentEnd(std::string_view text, std::size_t start);

// Whether a "//" comment starts at `i`.
inline bool CommentAt(std::string_view text, std::size_t i) {
  return text[i] == '/' && i + 1 < text.size() && text[i + 1] == '/';
}

// A decimal integer as the C library's atoi reads it: leading blanks, an optional sign, then
// digits up to the first non-digit; no digits give 0. Out-of-range values saturate.
int ReadDecimal(std::string_view text);

// Every LF becomes CR LF, the line end of texts in memory.
std::string WithCrLf(std::string_view text);

// The bracket fields of an arc or a state arc: from, to, then bends "(x,y)". Throws "comma"
// on a third field before any bend.
class ArcFields {
 public:
  // Takes one byte of the bracket part, "]" included.
  void Take(char c);
  const Arc& arc() const { return arc_; }
  Arc& arc() { return arc_; }

 private:
  void EndField();

  Arc arc_;
  std::string buffer_;
  int index_ = 0;
  bool sawBend_ = false;
  bool inBend_ = false;
  int bendX_ = 0;
};

// Replaces whatever primitive had this ID, of any kind, so that an ID names one primitive
// even in a file that repeats a number.
template <typename Record>
Record& StorePrimitive(Module& module, std::map<int, Record>& map, ObjectKind kind, int id,
                       Record record) {
  if (!module.kinds.try_emplace(id, kind).second) {
    module.shiftRegisters.erase(id);
    module.stateMachines.erase(id);
    module.counters.erase(id);
    module.sources.erase(id);
    module.sinks.erase(id);
    module.instances.erase(id);
    module.kinds[id] = kind;
  }
  return map.insert_or_assign(id, std::move(record)).first->second;
}

// shift, count, uhzi, kemmakix and module records. Throws "comma" on a malformed record, which
// is then not stored. Returns the text error of a counter whose text fails to regenerate (the
// counter is stored all the same, to be mended), or "".
std::string ReadPrimitiveRecord(ObjectKind kind, std::string_view record, Module& module);
// Throws "comma" on a malformed arc, which is then not added.
void ReadArcRecord(std::string_view record, Module& module);
// Adds the keyword of each state or state arc with an unknown keyword to `unknownInner`, as an
// ignored record is named. Returns the text error of a state that fails to regenerate (the
// machine is stored all the same), or "".
std::string ReadStateMachineRecord(std::string_view record, Module& module,
                                   std::vector<std::string>& unknownInner);

}  // namespace pelkor::design_records
