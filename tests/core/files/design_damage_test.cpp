// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged design files: the reader passes over what it cannot read, up to the next line that
// starts a record, keeps every intact record and tells of each part it passed over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>

#include "files/design_file.h"
#include "support/model_invariants.h"
#include "support/read_problem_printer.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

using Kind = ReadProblem::Kind;

// Lines joined with LF.
std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (const std::string_view line : lines)
    text.append(line).append("\n");
  return text;
}

std::vector<std::pair<int, int>> ArcEnds(const Module& m) {
  std::vector<std::pair<int, int>> ends;
  for (const auto& [id, arc] : m.arcs)
    ends.emplace_back(arc.from, arc.to);
  return ends;
}

struct DamageCase {
  const char* name;
  std::string text;
  std::map<int, ObjectKind> kinds;        // the primitives kept
  std::vector<std::pair<int, int>> arcs;  // the arcs kept, from and to
  std::vector<ReadProblem> problems;
};

// The intact file these cases damage:
//   1 //pelkor file        4 count[2,0,0,1]{      7 1}
//   2 shift[1,0,0,0,1,2]{  5 x = a;}              8 arc[3,1]{}
//   3 01}                  6 uhzi[3,0,0,0,0,0,a]{ 9 arc[1,2]{}
const std::map<int, ObjectKind> kAll = {
    {1, kShiftRegisterKind}, {2, kCounterKind}, {3, kSourceKind}};
const std::map<int, ObjectKind> kNoRegister = {{2, kCounterKind}, {3, kSourceKind}};
const std::vector<std::pair<int, int>> kBothArcs = {{3, 1}, {1, 2}};

std::vector<DamageCase> DamageCases() {
  constexpr std::string_view h = "//pelkor file", s1 = "shift[1,0,0,0,1,2]{", s2 = "01}",
                             c1 = "count[2,0,0,1]{", c2 = "x = a;}", u1 = "uhzi[3,0,0,0,0,0,a]{",
                             u2 = "1}", a1 = "arc[3,1]{}", a2 = "arc[1,2]{}";
  auto skipped = [](std::string failure, int first, int last) {
    return ReadProblem{Kind::kSkippedLines, std::move(failure), first, last};
  };
  return {
      {"intact", Lines({h, s1, s2, c1, c2, u1, u2, a1, a2}), kAll, kBothArcs, {}},
      {"a register with an extra number",
       Lines({h, "shift[1,0,0,0,1,2,9]{", s2, c1, c2, u1, u2, a1, a2}),
       kNoRegister,
       kBothArcs,
       {skipped("comma", 2, 3)}},
      {"an arc with a third number",
       Lines({h, s1, s2, c1, c2, u1, u2, "arc[3,1,5,6]{}", a2}),
       kAll,
       {{1, 2}},
       {skipped("comma", 8, 8)}},
      {"an extra { in a body",
       Lines({h, s1, "0{1}", c1, c2, u1, u2, a1, a2}),
       kNoRegister,
       kBothArcs,
       {skipped("", 2, 3)}},
      {"an extra { in a body that never closes",
       Lines({h, s1, "0{1", c1, c2, u1, u2, a1, a2}),
       kNoRegister,
       kBothArcs,
       {skipped("", 2, 3)}},
      {"an extra } in a body",
       Lines({h, s1, "0}1}", c1, c2, u1, u2, a1, a2}),
       kAll,
       kBothArcs,
       {skipped("", 3, 3)}},
      {"an extra } on a line of its own",
       Lines({h, s1, s2, "}", c1, c2, u1, u2, a1, a2}),
       kAll,
       kBothArcs,
       {skipped("", 4, 4)}},
      {"a { between records",
       Lines({h, s1, s2, "{", c1, c2, u1, u2, a1, a2}),
       kAll,
       kBothArcs,
       {skipped("", 4, 4)}},
      {"words between records",
       Lines({h, s1, s2, c1, c2, "stray words", u1, u2, a1, a2}),
       kAll,
       kBothArcs,
       {skipped("", 6, 6)}},
      {"garbage that opens a record it never ends",
       Lines({h, s1, s2, c1, c2, "junk[x]{ (", "more", u1, u2, a1, a2}),
       kAll,
       kBothArcs,
       {skipped("", 6, 7)}},
      {"a state machine that lost its closing }",
       Lines({h, s1, s2, c1, c2, u1, u2, "state[4,0,0,1]{", "sub[1,0,0]{", "{}", "{}}", a1, a2}),
       kAll,
       kBothArcs,
       {skipped("", 8, 11)}},
      {"a counter text that fails, kept to be mended",
       Lines({h, s1, s2, c1, "x = a b;}", u1, u2, a1, a2}),
       kAll,
       kBothArcs,
       {{Kind::kTextFailure, "正規化：セミコロンが無い", 4, 5}}},
      {"damage in three places, told in file order",
       Lines({h, "shift[1,0,0,0,1,2,9]{", s2, c1, c2, "}", u1, u2, "arc[3,1,5,6]{}", a2}),
       kNoRegister,
       {{1, 2}},
       {skipped("comma", 2, 3), skipped("", 6, 6), skipped("comma", 9, 9)}},
      {"damage on adjacent lines is one span",
       Lines({h, "shift[1,0,0,0,1,2,9]{", s2, "stray", c1, c2, u1, u2, a1, a2}),
       kNoRegister,
       kBothArcs,
       {skipped("comma", 2, 4)}},
      {"an unknown keyword after stray text is more of it",
       Lines({h, s1, s2, "x\x01\x7F", "\x8E\x05\xFE[(]{", "}", c1, c2, u1, u2, a1, a2}),
       kAll,
       kBothArcs,
       {skipped("", 4, 6)}},
      {"an unknown record of its own stays one",
       Lines({h, s1, s2, "bogus[1]{", "}", c1, c2, u1, u2, a1, a2}),
       kAll,
       kBothArcs,
       {{Kind::kUnknownRecord, "bogus", 4, 5}}},
      {"a body line that only looks like a record line",
       Lines({h, s1, s2, c1, c2, u1, u2, "module[4,0,0]{", "count[4]}", a1, a2}),
       {{1, kShiftRegisterKind}, {2, kCounterKind}, {3, kSourceKind}, {4, kInstanceKind}},
       kBothArcs,
       {}},
      {"a record the file ends inside stays unfinished",
       Lines({h, s1, s2, c1, c2, u1, u2, a1, a2, "count[5,0,0,1]{", "x = a;"}),
       kAll,
       kBothArcs,
       {{Kind::kUnfinishedRecord, "count", 10, 11}}},
      {"only stray text",
       Lines({h, "no records", "here {"}),
       {},
       {},
       {{Kind::kNoRecords, "", 1, 3}}},
      {"only a header", Lines({h, "", "  "}), {}, {}, {}},
      {"only a malformed record",
       Lines({h, "shift[1,0,0,0,1,2,9]{", s2, "stray"}),
       {},
       {},
       {skipped("comma", 2, 3), {Kind::kNoRecords, "", 1, 4}}},
  };
}

TEST(DesignDamageTest, IntactRecordsAreKeptAndEachDamagedPartToldOf) {
  for (const DamageCase& c : DamageCases()) {
    SCOPED_TRACE(c.name);
    for (const bool crLf : {false, true}) {
      std::string text = c.text;
      if (crLf)
        text = ToCrLfLineEnds(text);
      Module m;
      const ReadReport report = ReadModule(text, m);
      EXPECT_EQ(m.kinds, c.kinds);
      EXPECT_EQ(ArcEnds(m), c.arcs);
      EXPECT_EQ(report.problems, c.problems);
      EXPECT_TRUE(testing::ModuleInvariantsHold(m));
    }
  }
}

TEST(DesignDamageTest, EachProblemHasItsLogLine) {
  const std::pair<ReadProblem, std::string> cases[] = {
      {{Kind::kSkippedLines, "comma", 2, 3},
       "ロードに失敗しましたcomma（2〜3行目を読み飛ばしました）"},
      {{Kind::kSkippedLines, "", 6, 6}, "ロードに失敗しました（6行目を読み飛ばしました）"},
      {{Kind::kTextFailure, "正規化：セミコロンが無い", 4, 5},
       "ロードに失敗しました正規化：セミコロンが無い（4〜5行目のレコード）"},
      {{Kind::kNoRecords, "", 1, 9}, "ロードに失敗しました（レコードがありません）"},
      {{Kind::kUnknownRecord, "bogus", 4, 5}, "「bogus」は不明なレコードなので無視しました"},
      {{Kind::kUnfinishedRecord, "count", 10, 11},
       "「count」のレコードは途中で終わっているので無視しました"},
  };
  for (const auto& [problem, line] : cases)
    EXPECT_EQ(ReadProblemMessage(problem), line);
}

TEST(DesignDamageTest, WhatCountsAsPassedOverAndAsFailed) {
  struct Case {
    Kind kind;
    bool passedOver;
    bool failed;
  };
  const Case cases[] = {{Kind::kUnknownRecord, true, false},
                        {Kind::kUnfinishedRecord, true, false},
                        {Kind::kSkippedLines, true, true},
                        {Kind::kTextFailure, false, true},
                        {Kind::kNoRecords, true, true}};
  EXPECT_FALSE(ReadReport{}.PassedOver());
  EXPECT_FALSE(ReadReport{}.Failed());
  for (const Case& c : cases) {
    const ReadReport report{{{c.kind, "", 1, 1}}};
    EXPECT_EQ(report.PassedOver(), c.passedOver);
    EXPECT_EQ(report.Failed(), c.failed);
  }
}

// Bytes from a seeded generator, so that every run meets the same damage; each holds a "{"
// before a "}", the bytes that make a record swallow the ones after it.
std::string RandomBytes(unsigned seed, std::size_t count) {
  std::mt19937 generator(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes(count, '\0');
  for (char& c : bytes)
    c = static_cast<char>(byte(generator));
  bytes[count / 3] = '{';
  bytes[2 * count / 3] = '}';
  return bytes;
}

// The offsets of the lines that start a record.
std::vector<std::size_t> RecordStarts(const std::string& text) {
  std::vector<std::size_t> starts;
  for (std::size_t line = 0; line < text.size(); line = text.find('\n', line) + 1) {
    for (const char* keyword : {"shift[", "state[", "count[", "uhzi[", "kemmakix[", "arc["}) {
      if (text.compare(line, std::strlen(keyword), keyword) == 0)
        starts.push_back(line);
    }
    if (text.find('\n', line) == std::string::npos)
      break;
  }
  return starts;
}

int LineAt(const std::string& text, std::size_t offset) {
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}

template <typename Map>
void ExpectKept(const Map& intact, const Map& read) {
  for (const auto& [id, record] : intact) {
    SCOPED_TRACE(id);
    ASSERT_TRUE(read.contains(id));
    EXPECT_TRUE(read.at(id) == record);
  }
}

// The fault as met: 300 random bytes in the middle of the full adder kept only the records
// before them, without a word, and saving wrote the rest of the design away.
TEST(DesignDamageTest, RandomBytesInsertedLoseOnlyTheRecordTheyLandIn) {
  const std::optional<DesignText> file =
      ReadDesignFile(std::filesystem::path(PELKOR_EXAMPLES) / "full_adder.dtn");
  ASSERT_TRUE(file);
  const std::string& original = file->text;
  const std::vector<std::size_t> starts = RecordStarts(original);
  ASSERT_GE(starts.size(), 20u);
  std::mt19937 offsets(7);
  for (unsigned seed = 1; seed <= 40; ++seed) {
    // The middle of the file first, then anywhere.
    const std::size_t offset =
        seed == 1 ? original.size() / 2
                  : std::uniform_int_distribution<std::size_t>(0, original.size())(offsets);
    SCOPED_TRACE(::testing::Message() << "seed " << seed << ", offset " << offset);
    const std::string bytes = RandomBytes(seed, 300);
    std::string damaged = original;
    damaged.insert(offset, bytes);

    // What must survive: the file without the record the bytes land in.
    const auto next = std::upper_bound(starts.begin(), starts.end(), offset);
    const std::size_t hitBegin = next == starts.begin() ? 0 : *std::prev(next);
    const std::size_t hitEnd = next == starts.end() ? original.size() : *next;
    std::string intactText = original;
    if (next != starts.begin())
      intactText.erase(hitBegin, hitEnd - hitBegin);
    Module intact;
    ASSERT_TRUE(ReadModule(intactText, intact).problems.empty());

    Module read;
    const ReadReport report = ReadModule(damaged, read);
    EXPECT_TRUE(testing::ModuleInvariantsHold(read));
    ExpectKept(intact.shiftRegisters, read.shiftRegisters);
    ExpectKept(intact.stateMachines, read.stateMachines);
    ExpectKept(intact.sources, read.sources);
    ExpectKept(intact.sinks, read.sinks);
    ExpectKept(intact.counters, read.counters);
    ExpectKept(intact.instances, read.instances);
    for (const auto& [id, arc] : intact.arcs) {
      EXPECT_TRUE(std::any_of(read.arcs.begin(), read.arcs.end(),
                              [&](const auto& entry) { return entry.second == arc; }))
          << arc.from << "->" << arc.to;
    }
    // Told of, within the lines of that record and the bytes; only in the header line, whose
    // words are ignored, may they go unnoticed.
    if (offset > original.find('\n')) {
      ASSERT_FALSE(report.problems.empty());
    }
    const int firstLine = LineAt(original, hitBegin);
    const int lastLine = LineAt(damaged, hitEnd + bytes.size()) - 1;
    for (const ReadProblem& problem : report.problems) {
      SCOPED_TRACE(ReadProblemMessage(problem));
      EXPECT_NE(problem.kind, Kind::kNoRecords);
      EXPECT_GE(problem.firstLine, firstLine);
      EXPECT_LE(problem.lastLine, std::max(lastLine, firstLine));
    }
  }
}

TEST(DesignDamageTest, RandomBytesAloneSayThereAreNoRecords) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(seed);
    Module m;
    const ReadReport report = ReadModule(RandomBytes(seed, 1000), m);
    EXPECT_EQ(m.PrimitiveCount(), 0u);
    ASSERT_FALSE(report.problems.empty());
    EXPECT_EQ(report.problems.back().kind, Kind::kNoRecords);
    // Stray text is not told of line by line when nothing at all was read.
    for (const ReadProblem& problem : report.problems)
      EXPECT_FALSE(problem.kind == Kind::kSkippedLines && problem.text.empty());
    EXPECT_TRUE(report.Failed());
  }
}

}  // namespace
}  // namespace pelkor
