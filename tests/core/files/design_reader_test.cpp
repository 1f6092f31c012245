// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "base/errors.h"
#include "files/design_file.h"
#include "model/model_invariants.h"
#include "support/read_problem_printer.h"

namespace pelkor {
namespace {

using Kind = ReadProblem::Kind;

// The problems of a read as kind and text, for tests that do not look at line numbers.
std::vector<std::pair<Kind, std::string>> Named(const ReadReport& report) {
  std::vector<std::pair<Kind, std::string>> named;
  for (const ReadProblem& problem : report.problems)
    named.emplace_back(problem.kind, problem.text);
  return named;
}

TEST(DesignReaderTest, IgnoredRecordsCountButArcsDoNot) {
  Module m;
  const ReadReport report = ReadModule(
      "//pelkor file\n"
      "shift[1,0,0,0,1,2]{\n}\n"
      "bogus[2,0,0]{\n}\n"
      "sub[3,0,0]{\n{}\n{}}\n"
      "// a note\n"
      "module[4,0,0]{\nx}\n"  // a comment line is passed over, the record after it read
      "uhzi[5,0,0,0,0,0,a]{\n}\n"
      "arc[5,1]{}\n"
      "\narc[5,1]{}\n",
      m);
  EXPECT_EQ(m.shiftRegisters.size(), 1u);
  EXPECT_EQ(m.instances.at(4).moduleName, "x");
  EXPECT_TRUE(m.sources.contains(5));
  EXPECT_EQ(m.arcs.size(), 2u);
  EXPECT_EQ(m.nextObjectId, 6);
  EXPECT_EQ(m.nextArcId, 3);
  EXPECT_EQ(report.problems, (std::vector<ReadProblem>{{Kind::kUnknownRecord, "bogus", 4, 5},
                                                       {Kind::kUnknownRecord, "sub", 6, 8},
                                                       {Kind::kSkippedLines, "", 9, 9}}));
}

// A blank line, indentation or a CR before a record used to join its keyword, and the record
// was dropped without a word; fmt then wrote the file back without it.
TEST(DesignReaderTest, BlankLineBeforeTheSecondRegisterDoesNotLoseIt) {
  for (const char* before : {"\n", "\n\n", "  ", "\t", "\r\n", "\r", " \n\t\r\n "}) {
    SCOPED_TRACE(::testing::PrintToString(before));
    Module m;
    const ReadReport report =
        ReadModule(std::string("//pelkor file\nshift[1,0,0,0,1,2]{\n}\n") + before +
                       "shift[2,0,0,1,3,2]{\n}\n" + before + "arc[1,2]{}\n",
                   m);
    EXPECT_EQ(m.shiftRegisters.size(), 2u);
    EXPECT_EQ(m.shiftRegisters.at(2).size, 3);
    EXPECT_EQ(m.arcs.size(), 1u);
    EXPECT_EQ(m.nextObjectId, 3);
    EXPECT_TRUE(report.problems.empty());
  }
}

TEST(DesignReaderTest, IndentedStatesAndStateArcsLoad) {
  Module m;
  const ReadReport report = ReadModule(
      "state[1,0,0,1]{\n  sub[1,0,0]{\n{}\n{}}\n\tsub[2,0,0]{\n{}\n{}}\n \r smarc[1,2]{go}\n"
      "  stat[3,0,0]{\n{}\n{}}\n}\n",
      m);
  const StateMachine& machine = m.stateMachines.at(1);
  EXPECT_EQ(machine.states.size(), 2u);
  EXPECT_EQ(machine.stateArcs.at(1).name, "go");
  EXPECT_EQ(Named(report),
            (std::vector<std::pair<Kind, std::string>>{{Kind::kUnknownRecord, "stat"}}));
}

TEST(DesignReaderTest, IgnoredRecordsAreNamedByTheirKeywordCutToFortyCharacters) {
  std::string longKeyword;
  for (int i = 0; i < 41; ++i)
    longKeyword += "あ";
  const std::string forty = longKeyword.substr(0, longKeyword.size() - std::string("あ").size());
  const std::string shift = "shift[9,0,0,0,1,2]{\n}\n";
  struct Case {
    std::string text;
    std::vector<std::pair<Kind, std::string>> problems;
  };
  const Case cases[] = {
      {shift + longKeyword + "[1]{\n}\n", {{Kind::kUnknownRecord, forty}}},
      {shift + "[1]{\n}\n", {{Kind::kUnknownRecord, ""}}},
      {shift + "shift\t1[1]{\n}\n", {{Kind::kUnknownRecord, "shift 1"}}},
      {"shift[1,0,0,0,1,2]{\n}\nshift[2,0,0,0,1,2]{\n01", {{Kind::kUnfinishedRecord, "shift"}}},
      {"shift[1,0,0,0,1,2]{\n}\n  count[2,", {{Kind::kUnfinishedRecord, "count"}}},
      // Nothing read at all: that is said after the records passed over.
      {"bogus[1]{\n}\ncount[2,0,0,1]{\nx = a;",
       {{Kind::kUnknownRecord, "bogus"},
        {Kind::kUnfinishedRecord, "count"},
        {Kind::kNoRecords, ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Module m;
    EXPECT_EQ(Named(ReadModule(c.text, m)), c.problems);
  }
}

TEST(DesignReaderTest, FileWithoutHeaderReadsNormally) {
  Module m;
  ReadModule("shift[1,5,6,1,4,2]{\n0101}\nkemmakix[2,1,2,3,1,out]{\n1}\n", m);
  EXPECT_EQ(m.shiftRegisters.at(1), (ShiftRegister{"0101", true, 4, 2, {5, 6}}));
  const SinkTransition& sink = m.sinks.at(2);
  EXPECT_EQ(sink.outputMode, 3);
  EXPECT_TRUE(sink.hexDisplay);
  EXPECT_EQ(sink.name, "out");
  EXPECT_EQ(sink.expected, "1");
}

TEST(DesignReaderTest, CrLfAndLoneCrLineEnds) {
  Module lf;
  Module crlf;
  const std::string text = "//pelkor file\nuhzi[1,0,0,0,0,0,a]{\n1\n0}\narc[1,1]{x\ny}\n";
  ReadModule(text, lf);
  std::string withCr;
  for (char c : text)
    withCr += c == '\n' ? std::string("\r\n") : std::string(1, c);
  ReadModule(withCr, crlf);
  EXPECT_TRUE(lf.SameContent(crlf));
  EXPECT_EQ(lf.sources.at(1).data, "1\r\n0");
  EXPECT_EQ(lf.arcs.at(1).name, "x\r\ny");

  // A lone CR in a body ends the line; the rest of that line is dropped.
  Module m;
  ReadModule("uhzi[1,0,0,0,0,0,a]{\n1\rjunk\n0}\n", m);
  EXPECT_EQ(m.sources.at(1).data, "1\r\n0");
}

TEST(DesignReaderTest, ThirdArcFieldBeforeAnyBendIsAComma) {
  Module m;
  const ReadReport report =
      ReadModule("arc[1,2,(4,5),(6,7)]{a}\narc[1,2,3]{}\narc[1,2,3,(4,5)]{}\narc[2,1]{}\n", m);
  EXPECT_EQ(report.problems, (std::vector<ReadProblem>{{Kind::kSkippedLines, "comma", 3, 3}}));
  // A comma between bends and a third field ended by "]" pass.
  EXPECT_EQ(m.arcs.at(1), (Arc{1, 2, {{4, 5}, {6, 7}}, "a"}));
  EXPECT_EQ(m.arcs.at(2), (Arc{1, 2, {}, ""}));
  EXPECT_EQ(m.arcs.at(3), (Arc{2, 1, {}, ""}));
  EXPECT_EQ(m.arcs.size(), 3u);
}

TEST(DesignReaderTest, ExtraFieldsOfOtherRecordsAreDropped) {
  Module m;
  ReadModule(
      "count[1,2,3,4,5,6]{\n}\n"
      "uhzi[2,0,0,1,1,1,name,more]{\n}\n"
      "kemmakix[3,0,0,1,0,name,7,8]{\n}\n"
      "module[4,9,9,9]{\nm}\n",
      m);
  EXPECT_EQ(m.counters.at(1).countNumber, 4);
  EXPECT_EQ(m.sources.at(2).name, "name");
  EXPECT_TRUE(m.sources.at(2).fromEnd);
  EXPECT_EQ(m.sinks.at(3).name, "name");
  EXPECT_EQ(m.instances.at(4).position, (Point{9, 9}));
}

TEST(DesignReaderTest, MissingMalformedAndHugeNumbers) {
  Module m;
  ReadModule("shift[1, +12,-3z]{\n}\ncount[2,99999999999,-99999999999]{\n}\n", m);
  const ShiftRegister& r = m.shiftRegisters.at(1);
  EXPECT_EQ(r.position, (Point{12, -3}));
  EXPECT_EQ(r.size, 0);
  EXPECT_EQ(r.direction, 0);
  EXPECT_EQ(m.counters.at(2).position, (Point{2147483647, -2147483647 - 1}));
  EXPECT_EQ(m.counters.at(2).countNumber, 0);
}

// A text that fails to regenerate is told of, and its record stays to be mended: nothing of
// the file is lost by writing it back.
TEST(DesignReaderTest, TextErrorsAreToldOfAndTheirRecordsStay) {
  Module m;
  const ReadReport counter =
      ReadModule("shift[1,0,0,0,1,2]{\n}\ncount[2,0,0,1]{\nx = a b;}\nshift[3,0,0,0,1,2]{\n}\n", m);
  EXPECT_EQ(counter.problems,
            (std::vector<ReadProblem>{{Kind::kTextFailure, "正規化：セミコロンが無い", 3, 4}}));
  EXPECT_FALSE(counter.PassedOver());
  EXPECT_TRUE(counter.Failed());
  EXPECT_EQ(m.counters.at(2).countText.source, "x = a b;");
  EXPECT_TRUE(m.shiftRegisters.contains(3));
  EXPECT_EQ(m.nextObjectId, 4);

  Module n;
  const ReadReport state = ReadModule("state[1,0,0,1]{\nsub[1,0,0]{\n{x = a; x = b;}\n{}}\n}\n", n);
  EXPECT_EQ(Named(state), (std::vector<std::pair<Kind, std::string>>{
                              {Kind::kTextFailure, "出力変数が重複しています"}}));
  EXPECT_EQ(n.stateMachines.at(1).states.at(1).firstText.source, "x = a; x = b;");
}

TEST(DesignReaderTest, CounterTextIsRegenerated) {
  Module m;
  ReadModule("count[1,0,0,2]{\nsum = a ^ b;\ncarry = a & b; / note]\n}\n", m);
  const Counter& c = m.counters.at(1);
  EXPECT_EQ(c.countText.source, "sum = a ^ b;\r\ncarry = a & b; / note]\r\n");
  EXPECT_EQ(c.countText.translated, "o1=i1^i2\no2=i1&i2\n");
}

TEST(DesignReaderTest, StateTextsKeepParenthesesCommasAndCommentsWithBraces) {
  Module m;
  ReadModule(
      "//pelkor file\n"
      "state[1,0,0,1]{\n"
      "sub[1,10,20]{\n"
      "{// wait {here}, [maybe]\n"
      "x = (a & b);}\n"
      "{go = (a);}}\n"
      "smarc[1,1,(3,4)]{go}\n"
      "}\n",
      m);
  const StateMachine& machine = m.stateMachines.at(1);
  const MachineState& state = machine.states.at(1);
  EXPECT_EQ(state.position, (Point{10, 20}));
  EXPECT_EQ(state.firstText.source, "// wait {here}, [maybe]\r\nx = (a & b);");
  EXPECT_EQ(state.secondText.source, "go = (a);");
  EXPECT_EQ(machine.stateArcs.at(1), (Arc{1, 1, {{3, 4}}, "go"}));
  EXPECT_EQ(machine.inputNames, (std::set<std::string>{"a", "b"}));
  EXPECT_EQ(machine.outputNames, std::set<std::string>{"x"});
}

TEST(DesignReaderTest, RepeatedNumberReplacesTheEarlierPrimitive) {
  Module m;
  ReadModule("shift[1,0,0,0,1,2]{\n}\nmodule[1,0,0]{\nm}\n", m);
  EXPECT_TRUE(m.shiftRegisters.empty());
  EXPECT_EQ(m.instances.at(1).moduleName, "m");
  EXPECT_EQ(m.kinds, (std::map<int, ObjectKind>{{1, kInstanceKind}}));
}

TEST(DesignReaderTest, NextObjectIdNeverFallsBelowAnIdInUse) {
  Module m;
  ReadModule("shift[7,0,0,0,1,2]{\n}\n", m);
  EXPECT_EQ(m.nextObjectId, 8);
  EXPECT_EQ(m.AddSink({}), 8);
  EXPECT_EQ(m.shiftRegisters.size(), 1u);

  Module n;
  ReadModule("state[1,0,0,9]{\nsub[9,0,0]{\n{}\n{}}\n}\n", n);
  EXPECT_EQ(n.stateMachines.at(1).nextStateId, 10);
}

// A hand-edited file may use the largest int as a number: the counters stop there, every other
// number stays below them, and the taken one is never handed out again.
TEST(DesignReaderTest, NumbersUpToTheLargestIntKeepTheCountersAboveEveryOtherNumber) {
  Module m;
  ReadModule(
      "shift[5,0,0,0,1,2]{\n}\nshift[2147483647,0,0,0,1,2]{\n}\n"
      "state[9,0,0,0]{\nsub[0,0,0]{\n{}\n{}}\nsub[776777,0,0]{\n{}\n{}}\n"
      "sub[2147483647,0,0]{\n{}\n{}}\n}\n",
      m);
  EXPECT_EQ(m.nextObjectId, INT_MAX);
  EXPECT_EQ(m.stateMachines.at(9).nextStateId, INT_MAX);
  EXPECT_EQ(ModuleInvariantViolation(m), "");
  EXPECT_FALSE(m.HasRoomFor(1));
  EXPECT_THROW(m.AddSink({}), MessageError);
  EXPECT_EQ(m.KindOf(INT_MAX), kShiftRegisterKind);
  EXPECT_TRUE(m.sinks.empty());
}

TEST(DesignReaderTest, FileEndingInsideARecordLeavesItUnread) {
  Module m;
  ReadModule("shift[1,0,0,0,1,2]{\n}\nshift[2,0,0,0,1,2]{\n01", m);
  EXPECT_EQ(m.shiftRegisters.size(), 1u);
  EXPECT_EQ(m.nextObjectId, 2);
}

// Every prefix of a valid file (every place a save or a copy could have been cut off) loads,
// with at most the record it ends inside passed over.
TEST(DesignReaderTest, EveryPrefixOfAValidFileLoadsOrFailsWithAMessage) {
  Module full;
  ReadModule(
      "//pelkor file\n"
      "shift[1,120,80,0,1,2]{\n0110}\n"
      "state[2,200,240,1]{\nsub[1,10,10]{\n{// note {x}\n}\n{go = a;\nstay = ~a;}}\n"
      "sub[2,60,10]{\n{y = a;}\n{back = a | ~a;}}\nsmarc[1,2]{go}\nsmarc[2,1,(40,40)]{back}\n}\n"
      "count[3,0,0,4]{\nc = a & b;}\n"
      "uhzi[4,40,80,1,0,0,a]{\n1\n0}\n"
      "kemmakix[5,360,80,0,0,y]{\n1}\n"
      "module[6,200,160]{\nhalf}\n"
      "arc[4,1]{}\narc[1,6,(200,80)]{a}\n",
      full);
  const std::string text = WriteModule(full);
  for (std::size_t length = 0; length <= text.size(); ++length) {
    Module m;
    const std::string_view prefix = std::string_view(text).substr(0, length);
    const ReadReport report = ReadModule(prefix, m);
    EXPECT_LE(m.PrimitiveCount(), full.PrimitiveCount());
    // A cut-off file loses at most the record it ends in, or the keyword it ends in.
    const int lastLine = 1 + static_cast<int>(std::count(prefix.begin(), prefix.end(), '\n'));
    for (const ReadProblem& problem : report.problems) {
      EXPECT_TRUE(problem.kind == Kind::kUnfinishedRecord || problem.kind == Kind::kNoRecords ||
                  (problem.kind == Kind::kSkippedLines && problem.firstLine == lastLine))
          << length << ": " << ReadProblemMessage(problem);
    }
  }
  Module again;
  ReadModule(text, again);
  EXPECT_TRUE(again.SameContent(full));
  EXPECT_TRUE(again.stateMachines.at(2).twoStepMode);
}

}  // namespace
}  // namespace pelkor
