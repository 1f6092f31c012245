// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>

#include "files/design_file.h"

namespace pelkor {
namespace {

Module ReadBack(const std::string& text) {
  Module m;
  ReadModule(text, m);
  return m;
}

TEST(DesignWriterTest, RenumbersPrimitivesInRecordOrderAndMapsArcEnds) {
  Module m;
  m.shiftRegisters[4].direction = 2;
  m.kinds[4] = kShiftRegisterKind;
  m.counters[9].countNumber = 5;
  m.kinds[9] = kCounterKind;
  m.sources[12].name = "s";
  m.kinds[12] = kSourceKind;
  m.nextObjectId = 13;
  m.AddArc(12, 4, {}, "");

  const std::string text = WriteModule(m);
  EXPECT_EQ(text,
            "//pelkor file\n"
            "shift[1,0,0,0,1,2]{\n}\n"
            "count[2,0,0,5]{\n}\n"
            "uhzi[3,0,0,0,0,0,s]{\n}\n"
            "arc[3,1]{}\n");

  const Module back = ReadBack(text);
  EXPECT_TRUE(back.shiftRegisters.contains(1));
  EXPECT_TRUE(back.counters.contains(2));
  EXPECT_TRUE(back.sources.contains(3));
  EXPECT_EQ(back.kinds, (std::map<int, ObjectKind>{
                            {1, kShiftRegisterKind}, {2, kCounterKind}, {3, kSourceKind}}));
  EXPECT_EQ(back.arcs.at(1), (Arc{3, 1, {}, ""}));
  EXPECT_EQ(back.nextObjectId, 4);
}

TEST(DesignWriterTest, ShiftRegisterBodyIsInShiftOrderAndReadsBackAsTyped) {
  struct Case {
    int direction;
    std::string contents;
    std::string body;
  };
  for (const Case& c : {Case{0, "0011", "1100"}, Case{1, "0011", "1100"}, Case{2, "0011", "0011"},
                        Case{0, "01\r\n1", "1\n10"}, Case{2, "01\r\n1", "01\n1"}}) {
    SCOPED_TRACE(c.contents + " direction " + std::to_string(c.direction));
    Module m;
    ShiftRegister r;
    r.direction = c.direction;
    r.contents = c.contents;
    m.AddShiftRegister(r);
    const std::string text = WriteModule(m);
    EXPECT_EQ(text, "//pelkor file\nshift[1,0,0,0,1," + std::to_string(c.direction) + "]{\n" +
                        c.body + "}\n");
    EXPECT_EQ(ReadBack(text).shiftRegisters.at(1).contents, c.contents);
  }
}

TEST(DesignWriterTest, BodiesDropCrAndReadBackWithCrLf) {
  Module m;
  SourceTransition source;
  source.data = "1\r\n0";
  m.AddSource(source);
  SinkTransition sink;
  sink.expected = "a\r\nb\r\n";
  m.AddSink(sink);
  ModuleInstance instance;
  instance.moduleName = "half";
  m.AddInstance(instance);
  const std::string text = WriteModule(m);
  EXPECT_EQ(text,
            "//pelkor file\n"
            "uhzi[1,0,0,0,0,0,]{\n1\n0}\n"
            "kemmakix[2,0,0,0,0,]{\na\nb\n}\n"
            "module[3,0,0]{\nhalf}\n");
  const Module back = ReadBack(text);
  EXPECT_EQ(back.sources.at(1).data, "1\r\n0");
  EXPECT_EQ(back.sinks.at(2).expected, "a\r\nb\r\n");
  EXPECT_EQ(back.instances.at(3).moduleName, "half");
}

TEST(DesignWriterTest, RenumbersStatesWithinEachMachine) {
  StateMachine machine;
  machine.position = {7, -8};
  machine.mainState = 5;
  machine.states[2].position = {1, 2};
  machine.states[2].firstText.source = "x = a;\r\ny = b;";
  machine.states[2].secondText.source = "back = c | ~c;";
  machine.states[5].position = {3, 4};
  machine.states[5].isMain = true;
  machine.states[5].secondText.source = "go = a;\r\nstay = ~a;";
  machine.stateArcs[3] = {5, 2, {{1, 1}, {2, 2}}, "go"};
  machine.stateArcs[8] = {2, 5, {}, "back"};
  Module m;
  m.AddStateMachine(machine);

  const std::string text = WriteModule(m);
  EXPECT_EQ(text,
            "//pelkor file\n"
            "state[1,7,-8,2]{\n"
            "sub[1,1,2]{\n{x = a;\ny = b;}\n{back = c | ~c;}}\n"
            "sub[2,3,4]{\n{}\n{go = a;\nstay = ~a;}}\n"
            "smarc[2,1,(1,1)(2,2)]{go}\n"
            "smarc[1,2]{back}\n"
            "}\n");

  const Module module = ReadBack(text);
  const StateMachine& back = module.stateMachines.at(1);
  EXPECT_EQ(back.mainState, 2);
  EXPECT_FALSE(back.states.at(1).isMain);
  EXPECT_TRUE(back.states.at(2).isMain);
  EXPECT_EQ(back.states.at(1).firstText.source, "x = a;\r\ny = b;");
  EXPECT_EQ(back.stateArcs.at(1), (Arc{2, 1, {{1, 1}, {2, 2}}, "go"}));
  EXPECT_EQ(back.stateArcs.at(2), (Arc{1, 2, {}, "back"}));
  EXPECT_EQ(back.stateArcsOutOf, (std::multimap<int, int>{{2, 1}, {1, 2}}));
  EXPECT_EQ(back.stateArcsInto, (std::multimap<int, int>{{1, 1}, {2, 2}}));
  EXPECT_EQ(back.nextStateId, 3);
  EXPECT_EQ(back.nextStateArcId, 3);
  EXPECT_TRUE(back.twoStepMode);
}

TEST(DesignWriterTest, ArcNamesWithSlashesAndBendsSurvive) {
  Module m;
  m.AddShiftRegister({});
  m.AddSink({});
  m.AddArc(1, 2, {{-5, 0}, {2147483647, -2147483647 - 1}}, "a/b");
  const std::string text = WriteModule(m);
  EXPECT_NE(text.find("arc[1,2,(-5,0)(2147483647,-2147483648)]{a/b}\n"), std::string::npos);
  EXPECT_EQ(ReadBack(text).arcs.at(1), m.arcs.at(1));
}

// A "//" in a text starts a comment for the reader. A text whose last line held one lost the
// brace that ends it, and with it the records after it; a name in brackets lost its "{".
TEST(DesignWriterTest, TextsWithCommentsSurviveASaveAndReload) {
  struct Case {
    const char* what;
    bool lines;  // may hold line breaks
    std::function<void(Module&, const std::string&)> set;
    std::function<std::string(const Module&)> get;
  };
  const Case cases[] = {
      {"counter text", true,
       [](Module& m, const std::string& t) {
         Counter c;
         c.countText.source = t;
         m.AddCounter(c);
       },
       [](const Module& m) { return m.counters.at(2).countText.source; }},
      {"source name", false,
       [](Module& m, const std::string& t) {
         SourceTransition s;
         s.name = t;
         m.AddSource(s);
       },
       [](const Module& m) { return m.sources.at(2).name; }},
      {"source data", true,
       [](Module& m, const std::string& t) {
         SourceTransition s;
         s.data = t;
         m.AddSource(s);
       },
       [](const Module& m) { return m.sources.at(2).data; }},
      {"sink expectation", true,
       [](Module& m, const std::string& t) {
         SinkTransition s;
         s.expected = t;
         m.AddSink(s);
       },
       [](const Module& m) { return m.sinks.at(2).expected; }},
      {"module name", true,
       [](Module& m, const std::string& t) {
         ModuleInstance i;
         i.moduleName = t;
         m.AddInstance(i);
       },
       [](const Module& m) { return m.instances.at(2).moduleName; }},
      {"arc name", true, [](Module& m, const std::string& t) { m.AddArc(1, 1, {}, t); },
       [](const Module& m) { return m.arcs.at(1).name; }},
      {"state texts", true,
       [](Module& m, const std::string& t) {
         StateMachine machine;
         machine.states[1].firstText.source = t;
         machine.states[1].secondText.source = t;
         m.AddStateMachine(machine);
       },
       [](const Module& m) {
         const MachineState& state = m.stateMachines.at(2).states.at(1);
         return state.firstText.source == state.secondText.source ? state.firstText.source
                                                                  : "texts differ";
       }},
      // A state arc's label keeps no line breaks.
      {"state arc label", false,
       [](Module& m, const std::string& t) {
         StateMachine machine;
         machine.states[1] = {};
         machine.stateArcs[1] = {1, 1, {}, t};
         machine.stateArcsOutOf = {{1, 1}};
         machine.stateArcsInto = {{1, 1}};
         m.AddStateMachine(machine);
       },
       [](const Module& m) { return m.stateMachines.at(2).stateArcs.at(1).name; }},
  };
  for (const Case& c : cases) {
    for (const std::string text : {"a//b", "x = a; // note", "x = a;\r\n// {c}", "1 //"}) {
      if (!c.lines && text.find('\n') != std::string::npos)
        continue;
      SCOPED_TRACE(std::string(c.what) + ": " + text);
      Module m;
      m.AddShiftRegister({});  // written before it
      c.set(m, text);
      m.AddArc(1, 1, {}, "");  // written after it
      Module back;
      EXPECT_FALSE(ReadModule(WriteModule(m), back).PassedOver()) << WriteModule(m);
      EXPECT_EQ(c.get(back), text);
      EXPECT_EQ(back.shiftRegisters.size(), 1u);
      EXPECT_EQ(back.arcs.size(), m.arcs.size());
    }
  }
}

TEST(DesignWriterTest, EndsThatNameNoPrimitiveAreWrittenAsZero) {
  Module m;
  m.AddShiftRegister({});
  m.AddArc(1, 42, {}, "");
  StateMachine machine;
  machine.mainState = 9;  // no such state
  m.AddStateMachine(machine);
  EXPECT_EQ(WriteModule(m),
            "//pelkor file\n"
            "shift[1,0,0,0,1,1]{\n}\n"
            "state[2,0,0,0]{\n}\n"
            "arc[1,0]{}\n");
}

}  // namespace
}  // namespace pelkor
