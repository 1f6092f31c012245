// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/module_diff.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "files/design_file.h"

namespace pelkor {
namespace {

// Numbered as the file numbers it: registers 1-3, machine 4, counter 5, source 6, sink 7,
// instance 8; arcs 1-6 in file order.
constexpr const char* kDesign =
    "//pelkor file\n"
    "shift[1,160,60,0,1,2]{\n01}\n"
    "shift[2,160,160,1,3,0]{\n}\n"
    "shift[3,440,60,0,1,2]{\n}\n"
    "state[4,300,110,1]{\nsub[1,60,60]{\n{y = a;}\n{}}\n}\n"
    "count[5,300,240,3]{\ntick = pulse;}\n"
    "uhzi[6,40,60,0,0,0,a]{\n0101}\n"
    "kemmakix[7,560,60,0,0,y]{\n10}\n"
    "module[8,440,160]{\ninverter}\n"
    "arc[6,1]{}\n"
    "arc[1,4]{a}\n"
    "arc[4,3,(400,60)]{y}\n"
    "arc[3,7]{}\n"
    "arc[2,5]{pulse}\n"
    "arc[2,8]{x}\n";

Module Read(const std::string& text) {
  Module module;
  ReadModule(text, module);
  return module;
}

// What the file holds after the edited module is saved: every object renumbered.
Module Saved(const Module& module) {
  return Read(WriteModule(module));
}

void Delete(Module& module, int id) {
  module.selection.Add(module, id);
  module.selection.DeleteSelected(module);
}

void DeleteArc(Module& module, int arcId) {
  const Arc arc = module.arcs.at(arcId);
  EraseIndexEntry(module.arcsInto, arc.to, arcId);
  EraseIndexEntry(module.arcsOutOf, arc.from, arcId);
  module.arcs.erase(arcId);
}

std::vector<std::string> Lines(const std::vector<ObjectChange>& changes) {
  std::vector<std::string> lines;
  for (const ObjectChange& change : changes)
    lines.push_back(DescribeChange(change));
  return lines;
}

TEST(ModuleDiffTest, EachEditGivesItsLines) {
  struct Case {
    const char* edit;
    std::function<void(Module&)> apply;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"nothing", [](Module&) {}, {}},
      {"renumbering only: a register deleted and placed again as it was",
       [](Module& m) {
         const ShiftRegister first = m.shiftRegisters.at(1);
         const std::vector<Arc> arcs = {m.arcs.at(1), m.arcs.at(2)};
         Delete(m, 1);
         const int id = m.AddShiftRegister(first);
         m.AddArc(arcs[0].from, id, arcs[0].bends, arcs[0].name);
         m.AddArc(id, arcs[1].to, arcs[1].bends, arcs[1].name);
       },
       {}},
      {"add a sink",
       [](Module& m) {
         SinkTransition sink;
         sink.name = "z";
         sink.position = {560, 160};
         m.AddSink(sink);
       },
       {"added sink -/8 at (560,160)"}},
      {"delete a register with its arcs",
       [](Module& m) { Delete(m, 2); },
       {"removed register 2/- at (160,160)",
        "removed arc 5/- register 2/- -> counter 5/4 \"pulse\"",
        "removed arc 6/- register 2/- -> instance 8/7 \"x\""}},
      {"move a source",
       [](Module& m) {
         m.sources.at(6).position = {40, 100};
       },
       {"moved source 6/6 (40,60) -> (40,100)"}},
      {"register contents",
       [](Module& m) { m.shiftRegisters.at(1).contents = "01\r\n1"; },
       {"changed register 1/1: contents \"01\" -> \"01\\n1\""}},
      {"register size and direction",
       [](Module& m) {
         m.shiftRegisters.at(2).size = 4;
         m.shiftRegisters.at(2).direction = 2;
       },
       {"changed register 2/2: size 3 -> 4, direction 0 -> 2"}},
      {"register fixed size",
       [](Module& m) { m.shiftRegisters.at(3).sizeFixed = true; },
       {"changed register 3/3: sizeFixed 0 -> 1"}},
      {"machine expression",
       [](Module& m) { m.stateMachines.at(4).states.at(1).firstText.source = "y = ~a;"; },
       {"changed machine 4/4: expressions \"{y = a;}{}\" -> \"{y = ~a;}{}\""}},
      {"machine state moved",
       [](Module& m) {
         m.stateMachines.at(4).states.at(1).position = {9, 9};
       },
       {"changed machine 4/4: states (60,60) -> (9,9)"}},
      {"counter expression and count number",
       [](Module& m) {
         m.counters.at(5).countText.source = "tick = ~pulse;";
         m.counters.at(5).countNumber = 4;
       },
       {"changed counter 5/5: countText \"tick = pulse;\" -> \"tick = ~pulse;\", countNumber 3 -> "
        "4"}},
      {"source values and flags",
       [](Module& m) {
         m.sources.at(6).data = "0111";
         m.sources.at(6).holdValue = true;
       },
       {"changed source 6/6: data \"0101\" -> \"0111\", holdValue 0 -> 1"}},
      {"sink name, expected values and mode",
       [](Module& m) {
         m.sinks.at(7).name = "q";
         m.sinks.at(7).expected = "11";
         m.sinks.at(7).outputMode = 1;
       },
       {"changed sink 7/7: name \"y\" -> \"q\", expected \"10\" -> \"11\", outputMode 0 -> 1"}},
      {"instance module name",
       [](Module& m) { m.instances.at(8).moduleName = "pipe"; },
       {"changed instance 8/8: moduleName \"inverter\" -> \"pipe\""}},
      {"a sink moved and changed is found by its name",
       [](Module& m) {
         m.sinks.at(7).position = {560, 100};
         m.sinks.at(7).expected = "1";
       },
       {"changed sink 7/7: position (560,60) -> (560,100), expected \"10\" -> \"1\""}},
      {"a register moved and changed is another register",
       [](Module& m) {
         m.shiftRegisters.at(3).position = {440, 20};
         m.shiftRegisters.at(3).size = 2;
       },
       {"removed register 3/- at (440,60)", "added register -/3 at (440,20)",
        "removed arc 3/- machine 4/4 -> register 3/- \"y\"",
        "removed arc 4/- register 3/- -> sink 7/7",
        "added arc -/3 machine 4/4 -> register -/3 \"y\"",
        "added arc -/4 register -/3 -> sink 7/7"}},
      {"arc name",
       [](Module& m) { m.arcs.at(2).name = "b"; },
       {"changed arc 2/2 register 1/1 -> machine 4/4: name \"a\" -> \"b\""}},
      {"arc bends",
       [](Module& m) {
         m.arcs.at(3).bends = {{380, 60}, {400, 80}};
       },
       {"changed arc 3/3 machine 4/4 -> register 3/3: bends (400,60) -> (380,60) (400,80)"}},
      {"arc bends removed",
       [](Module& m) { m.arcs.at(3).bends.clear(); },
       {"changed arc 3/3 machine 4/4 -> register 3/3: bends (400,60) -> none"}},
      {"arc rerouted to another register",
       [](Module& m) {
         DeleteArc(m, 6);
         m.AddArc(1, 8, {}, "x");
       },
       {"removed arc 6/- register 2/2 -> instance 8/8 \"x\"",
        "added arc -/6 register 1/1 -> instance 8/8 \"x\""}},
      {"an object and its twin: the one that stayed keeps its place",
       [](Module& m) {
         const int twin = m.AddCounter(m.counters.at(5));
         m.counters.at(twin).position = {300, 300};
       },
       {"added counter -/6 at (300,300)"}},
  };
  const Module before = Read(kDesign);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edit);
    Module edited = Read(kDesign);
    c.apply(edited);
    EXPECT_EQ(Lines(DiffModules(before, Saved(edited))), c.lines);
  }
}

TEST(ModuleDiffTest, WhatOnlyTheFileFormDiffersInIsNoDifference) {
  // Indentation and CR LF line ends, as a hand edit or another platform leaves them.
  std::string loose;
  for (const char c : std::string(kDesign)) {
    if (c == '\n')
      loose += "\r\n";
    else
      loose += c;
  }
  std::string indented;
  for (std::size_t at = 0; at < loose.size(); ++at) {
    indented += loose[at];
    if (loose[at] == '\n' && loose.compare(at + 1, 3, "arc") == 0)
      indented += "  ";
  }
  EXPECT_EQ(DiffModules(Read(kDesign), Read(indented)), std::vector<ObjectChange>{});
}

TEST(ModuleDiffTest, OfEqualObjectsThatMovedTheNearestPair) {
  Module before;
  Module after;
  for (const Point p : {Point{0, 0}, Point{100, 0}}) {
    ShiftRegister r;
    r.position = p;
    before.AddShiftRegister(r);
    r.position = p + Point{0, 40};
    after.AddShiftRegister(r);
  }
  // Both moved down; crossing pairs would have each move diagonally.
  EXPECT_EQ(Lines(DiffModules(before, after)),
            (std::vector<std::string>{"moved register 1/1 (0,0) -> (0,40)",
                                      "moved register 2/2 (100,0) -> (100,40)"}));
  // Reversed order of IDs on one side: still the nearest, not the same ID.
  Module reversed;
  ShiftRegister r;
  r.position = {100, 40};
  reversed.AddShiftRegister(r);
  r.position = {0, 40};
  reversed.AddShiftRegister(r);
  EXPECT_EQ(Lines(DiffModules(before, reversed)),
            (std::vector<std::string>{"moved register 2/1 (100,0) -> (100,40)",
                                      "moved register 1/2 (0,0) -> (0,40)"}));
}

TEST(ModuleDiffTest, TextsAreQuotedOnOneLine) {
  Module before = Read(kDesign);
  Module after = before;
  after.sources.at(6).name = "a\"b\\c";
  after.sources.at(6).data = "1\r\n\t0\x01";
  EXPECT_EQ(Lines(DiffModules(before, after)),
            std::vector<std::string>{"changed source 6/6: name \"a\" -> \"a\\\"b\\\\c\", data "
                                     "\"0101\" -> \"1\\n\\t0\\x01\""});
}

}  // namespace
}  // namespace pelkor
