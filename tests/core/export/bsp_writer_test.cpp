// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/bsp_writer.h"

#include <gtest/gtest.h>

#include <climits>

#include "base/errors.h"
#include "bsp_fixtures.h"

namespace pelkor {
namespace {

using bsp_fixtures::Expected;
using bsp_fixtures::Register;

BspDocument Written(const Module& module, const std::string& fileName) {
  BspDocument document;
  WriteBsp(document, module, fileName);
  return document;
}

TEST(BspWriterTest, SampleModuleMatchesTheReferenceListing) {
  const BspDocument document = Written(bsp_fixtures::SampleModule(), "sample.bsp");
  EXPECT_EQ(document.text, Expected("sample.bsp"));
  EXPECT_TRUE(document.subModules.empty());
}

TEST(BspWriterTest, EmptyModuleKeepsEverySectionAndTakesAWholeNameWithoutDot) {
  EXPECT_EQ(Written(Module(), "noext").text, Expected("empty.bsp"));
}

TEST(BspWriterTest, ModuleNameEndsAtTheFirstDot) {
  EXPECT_EQ(BspModuleName("a.b.bsp"), "a");
  EXPECT_EQ(BspModuleName("noext"), "noext");
  EXPECT_EQ(BspModuleName(".bsp"), "");
}

// Chains with and without a last-place token, ports with and without data and names, texts
// with CR LF line breaks, duplicate named arcs, bends, an instance, and unnamed arcs out of
// machines with and without outputs.
Module EdgeCaseModule() {
  Module module;
  module.AddShiftRegister(Register({0, 0}, "01"));   // 1: chain, middle token only
  module.AddShiftRegister(Register({100, 0}, "0"));  // 2: chain with last token 0
  module.AddShiftRegister(Register({200, 0}));       // 3
  StateMachine twoOutputs =
      bsp_fixtures::Machine({bsp_fixtures::State("x = a &\r\n  b;\r\ny = a;")}, 1);
  twoOutputs.position = {300, 0};
  module.AddStateMachine(twoOutputs);  // 4
  StateMachine noState;
  noState.position = {400, 0};
  module.AddStateMachine(noState);                       // 5
  module.AddSource(bsp_fixtures::Source({0, 100}, ""));  // 6
  SourceTransition held = bsp_fixtures::Source({100, 100}, "s", "01\r\n10");
  held.holdValue = true;
  held.fromEnd = true;
  module.AddSource(held);                                         // 7
  module.AddSink(bsp_fixtures::Sink({200, 100}, ""));             // 8
  module.AddSink(bsp_fixtures::Sink({300, 100}, "k", "1\r\n0"));  // 9
  ModuleInstance instance;
  instance.moduleName = "sub";
  instance.position = {500, 0};
  module.AddInstance(instance);  // 10

  module.AddArc(6, 3, {{10, 20}, {30, 40}}, "");
  module.AddArc(3, 4, {{1, 2}}, "a");
  module.AddArc(3, 4, {{5, 6}}, "b");  // same register and machine: left out, bends too
  module.AddArc(4, 1, {}, "");         // into a chain: no output name
  module.AddArc(1, 5, {}, "c");
  module.AddArc(4, 3, {}, "");  // the first of the outputs x, y
  module.AddArc(5, 3, {}, "");  // no outputs: no name
  module.AddArc(2, 9, {}, "");
  module.AddArc(7, 2, {}, "n");
  module.AddArc(3, 10, {}, "p");  // the instance has no object in the file
  module.AddArc(3, 8, {}, "");
  module.AddArc(1, 5, {}, "c");  // out of a chain: duplicates are kept
  return module;
}

TEST(BspWriterTest, EdgeCaseModuleMatchesItsExpectedFile) {
  const BspDocument document = Written(EdgeCaseModule(), "a.b.bsp");
  EXPECT_EQ(document.text, Expected("edges.bsp"));
}

TEST(BspWriterTest, CountersAndMultiStateMachinesBecomeSubModuleFiles) {
  const BspDocument document = Written(bsp_fixtures::HierarchyModule(), "hierarchy.bsp");
  EXPECT_EQ(document.text, Expected("hierarchy.bsp"));

  ASSERT_EQ(document.subModules.size(), 2u);
  const BspSubModuleFile& machine = document.subModules[0];
  EXPECT_EQ(machine.fileName, "state2.bsp");
  EXPECT_EQ(machine.document.text, Expected("state2.bsp"));
  const BspSubModuleFile& counter = document.subModules[1];
  EXPECT_EQ(counter.fileName, "count4.bsp");
  EXPECT_EQ(counter.document.text, Expected("count4.bsp"));

  // Each sub-module file is due right after its own line of the main file.
  const auto textBefore = [&](const BspSubModuleFile& sub) {
    return document.text.substr(0, sub.parentTextLength);
  };
  EXPECT_TRUE(textBefore(machine).ends_with("/module[ID,name]\r\nmodule[8,state2]\r\n"));
  EXPECT_TRUE(textBefore(counter).ends_with("module[8,state2]\r\nmodule[9,count4]\r\n"));
}

TEST(BspWriterTest, ChainAtTheEdgeOfThePlaneStaysWithinTheIntRange) {
  Module module;
  module.AddShiftRegister(Register({INT_MIN, INT_MAX}, "1"));
  const std::string text = Written(module, "edge.bsp").text;
  EXPECT_NE(text.find("obj[0,1,1]=(-2147483648,2147483647)\r\n"
                      "obj[0,1,2]=(-2147483648,2147483647)\r\n"
                      "obj[0,1,3]=(-2147483598,2147483647)\r\n"
                      "obj[0,2,4]=(-2147483648,2147483647)\r\n"
                      "obj[0,2,5]=(-2147483623,2147483647)\r\n"),
            std::string::npos);
}

TEST(BspWriterTest, CounterBeyondTheLogicLimitIsRefusedWithItsModuleAndId) {
  for (const int countNumber : {0, 99 * 99 + 1}) {
    Module module;
    module.AddShiftRegister(Register({0, 0}));
    module.AddCounter(bsp_fixtures::CounterOf({0, 0}, countNumber));
    BspDocument document;
    try {
      WriteBsp(document, module, "big.bsp");
      ADD_FAILURE() << "count number " << countNumber << " was exported";
    } catch (const MessageError& error) {
      EXPECT_STREQ(error.what(), "bigのカウンタ2にエラー");
    }
    EXPECT_TRUE(document.subModules.empty());
  }
}

}  // namespace
}  // namespace pelkor
