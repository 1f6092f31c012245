// SPDX-License-Identifier: GPL-3.0-or-later
// The design files under tests/data/dtn are the reference: the writer must reproduce them
// byte for byte, and reading them must give the modules they describe.
#include <gtest/gtest.h>

#include "files/design_file.h"
#include "support/temp_folder.h"

namespace pelkor {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

const std::filesystem::path kDtnData = std::filesystem::path(PELKOR_TEST_DATA) / "dtn";

Module HalfExample() {
  Module m;
  ShiftRegister r1;
  r1.position = {120, 80};
  r1.direction = 2;
  r1.contents = "0110";
  m.AddShiftRegister(r1);
  ShiftRegister r2;
  r2.position = {280, 80};
  r2.sizeFixed = true;
  r2.size = 3;
  r2.direction = 0;
  m.AddShiftRegister(r2);
  SourceTransition source;
  source.position = {40, 80};
  source.holdValue = true;
  source.name = "a";
  source.data = "1\r\n0\r\n1";
  m.AddSource(source);
  SinkTransition sink;
  sink.position = {360, 80};
  sink.name = "y";
  sink.expected = "1\r\n0";
  m.AddSink(sink);
  ModuleInstance instance;
  instance.position = {200, 160};
  instance.moduleName = "half";
  m.AddInstance(instance);
  m.AddArc(3, 1, {}, "");
  m.AddArc(1, 5, {{200, 80}}, "a");
  m.AddArc(5, 2, {}, "y");
  m.AddArc(2, 4, {}, "");
  return m;
}

void AddStateArc(StateMachine& machine, int id, int from, int to, std::vector<Point> bends) {
  machine.stateArcs[id] = Arc{from, to, std::move(bends), ""};
  machine.stateArcsInto.emplace(to, id);
  machine.stateArcsOutOf.emplace(from, id);
}

Module TwoStateMachine() {
  StateMachine machine;
  machine.position = {200, 240};
  machine.mainState = 1;
  machine.states[1].position = {10, 10};
  machine.states[1].isMain = true;
  machine.states[2].position = {60, 10};
  AddStateArc(machine, 1, 1, 2, {});
  AddStateArc(machine, 2, 2, 1, {{40, 40}});
  machine.ResetNextIds();
  machine.Regenerate();
  Module m;
  m.AddStateMachine(machine);
  return m;
}

struct GoldenCase {
  const char* file;
  Module (*build)();
};

class DesignGoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(DesignGoldenTest, WriterReproducesTheFileByteForByte) {
  TempFolder folder;
  ASSERT_EQ(SaveDesignFile(folder / "out.dtn", GetParam().build()), SaveResult::kSaved);
  EXPECT_EQ(ReadBytes(folder / "out.dtn"), ReadBytes(kDtnData / GetParam().file));
}

TEST_P(DesignGoldenTest, ReadingGivesTheModuleBack) {
  const std::optional<DesignText> text = ReadDesignFile(kDtnData / GetParam().file);
  ASSERT_TRUE(text);
  Module read;
  ReadModule(text->text, read);
  const Module expected = GetParam().build();
  EXPECT_EQ(WriteModule(read), WriteModule(expected));
  EXPECT_TRUE(read.SameContent(expected));
  EXPECT_EQ(read.nextObjectId, expected.nextObjectId);
  EXPECT_EQ(read.nextArcId, expected.nextArcId);
}

INSTANTIATE_TEST_SUITE_P(ExampleFiles, DesignGoldenTest,
                         ::testing::Values(GoldenCase{"half_example.dtn", HalfExample},
                                           GoldenCase{"two_state_machine.dtn", TwoStateMachine}));

// Every fixture, whatever its encoding, is written back unchanged after a load.
TEST(DesignResaveTest, EveryFixtureSurvivesLoadAndSave) {
  TempFolder folder;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kDtnData)) {
    if (entry.path().extension() != ".dtn")
      continue;
    SCOPED_TRACE(entry.path().filename().string());
    const std::optional<DesignText> text = ReadDesignFile(entry.path());
    ASSERT_TRUE(text);
    Module module;
    EXPECT_TRUE(ReadModule(text->text, module).problems.empty());
    const std::filesystem::path out = folder / entry.path().filename().string();
    ASSERT_EQ(SaveDesignFile(out, module), SaveResult::kSaved);
    EXPECT_EQ(ReadBytes(out), ReadBytes(entry.path()));
    ++files;
  }
  EXPECT_GE(files, 4);
}

}  // namespace
}  // namespace pelkor
