// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <regex>
#include <span>
#include <string>

#include "cli/cli_session.h"
#include "cli_runner.h"
#include "sim/node_run_state.h"
#include "support/temp_folder.h"
#include "view/text_fit.h"
#include "view/view_state.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = PELKOR_EXAMPLES;

// A register at (100, 100) feeding a discarding sink at (300, 100).
constexpr const char* kDesign =
    "//pelkor file\r\nshift[1,100,100,0,1,2]{\r\n}\r\nkemmakix[2,300,100,2,0,out]{\r\n}\r\n"
    "arc[1,2]{}\r\n";

class RenderCommandTest : public ::testing::Test {
 protected:
  testing::TempFolder temp;
};

TEST_F(RenderCommandTest, DrawsTheTopModuleInAPictureOfItsExtent) {
  const fs::path design = temp.Write("pair.dtn", kDesign);
  const fs::path out = temp / "pair.svg";
  const auto result = testing::RunCliBinary("render " + design.string() + " " + out.string());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "pairを読み込みました\n");
  const std::string svg = testing::ReadBytes(out);
  // 90 pixels of room on every side: the register's centre lands on (90, 90).
  EXPECT_NE(svg.find("width=\"381\" height=\"181\""), std::string::npos);
  EXPECT_NE(svg.find("<rect x=\"70.5\" y=\"77.5\" width=\"39\" height=\"25\" fill=\"#ffffff\" "
                     "stroke=\"#32ff7d\" stroke-width=\"3\" stroke-miterlimit=\"2\"/>"),
            std::string::npos);
  EXPECT_NE(svg.find("<line x1=\"90.5\" y1=\"90.5\" x2=\"263.5\" y2=\"90.5\""), std::string::npos);
  EXPECT_NE(svg.find("<text x=\"290\" y=\"65\" dominant-baseline=\"text-before-edge\" "
                     "fill=\"#000000\">破棄</text>"),
            std::string::npos);
}

TEST_F(RenderCommandTest, ZoomLevelsShrinkThePicture) {
  const fs::path design = temp.Write("pair.dtn", kDesign);
  const fs::path out = temp / "pair.svg";
  EXPECT_EQ(
      testing::RunCliBinary("render " + design.string() + " " + out.string() + " --zoom 1").status,
      0);
  const std::string svg = testing::ReadBytes(out);
  EXPECT_NE(svg.find("width=\"201\" height=\"101\""), std::string::npos);
  EXPECT_EQ(svg.find("破棄"), std::string::npos);  // labels only at full size
}

TEST_F(RenderCommandTest, EveryExampleRenders) {
  for (const auto& entry : fs::directory_iterator(kExamples)) {
    if (entry.path().extension() != ".dtn")
      continue;  // the Python testbench's folder
    SCOPED_TRACE(entry.path().filename().string());
    const fs::path out = temp / (entry.path().stem().string() + ".svg");
    const auto result =
        testing::RunCliBinary("render " + entry.path().string() + " " + out.string());
    EXPECT_EQ(result.status, 0);
    const std::string svg = testing::ReadBytes(out);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
  }
}

// How many 0s and 1s a picture shows.
using DigitCounts = std::array<int, 2>;

// The digits of the texts in an SVG picture that hold nothing but digits, or digits cut short
// by an ellipsis: the tokens, the source bits still to be sent and the values sinks received.
DigitCounts DigitsInSvg(const std::string& svg) {
  DigitCounts counts{};
  const std::regex text(">([01]+)(…)?</text>");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator();
       ++it) {
    for (char digit : (*it)[1].str())
      ++counts[digit == '1' ? 1 : 0];
  }
  return counts;
}

// How many values a register shows, and a source or sink whose label is `label`: as many as
// its label has places for, or one less before an ellipsis.
std::size_t Shown(std::size_t n, std::optional<std::string> label) {
  if (!label)
    return std::min<std::size_t>(n, 5);
  const LogFont font;
  const std::size_t places =
      PlacesIn(std::max(kObjectSize, TextWidth(*label, font)), DigitWidth(font));
  return n <= places ? n : places - 1;
}

std::optional<std::string> LabelOf(const std::string& name) {
  return name.empty() ? "" : "<" + name + ">";
}

// Adds the last (or first) of `values` that the view shows and that are bits.
template <typename Values>
void CountShown(const Values& values, bool fromBack, std::optional<std::string> label,
                DigitCounts& counts) {
  const std::size_t n = values.size();
  const std::size_t shown = Shown(n, std::move(label));
  for (std::size_t i = 0; i < shown; ++i) {
    const int value = values[fromBack ? n - 1 - i : i];
    if (value == 0 || value == 1)
      ++counts[value];
  }
}

// The digits the top module's engine state holds where the view shows them.
DigitCounts DigitsInEngine(const Workspace& workspace) {
  const Module& module = workspace.library().currentModule();
  const NodeRunState state(workspace.simulation(), workspace.library().rootInstance());
  DigitCounts counts{};
  for (const auto& [id, r] : module.shiftRegisters)
    CountShown(state.Cells(id), true, std::nullopt, counts);
  for (const auto& [id, source] : module.sources) {
    if (const auto run = state.Source(id))
      CountShown(run->queue.subspan(run->emitted), true, LabelOf(source.name), counts);
  }
  for (const auto& [id, sink] : module.sinks) {
    if (sink.outputMode == 0 || sink.outputMode == 1)
      CountShown(state.Received(id), sink.outputMode == 1, LabelOf(sink.name), counts);
  }
  return counts;
}

// The picture after N steps shows every token, source bit and received value the engine holds.
TEST_F(RenderCommandTest, StepsDrawTheRunTimeStateTheEngineHolds) {
  const fs::path design = kExamples / "full_adder.dtn";
  const fs::path out = temp / "stepped.svg";
  for (const int steps : {0, 1, 4, 9}) {
    SCOPED_TRACE(steps);
    const auto result = testing::RunCliBinary("render -q " + design.string() + " " + out.string() +
                                              " --steps " + std::to_string(steps));
    ASSERT_EQ(result.status, 0);

    cli::CliSession session(std::cout, true);
    session.workspace.OpenFile(design);
    session.workspace.Check();
    for (int i = 0; i < steps; ++i)
      session.workspace.Step();
    const DigitCounts expected = DigitsInEngine(session.workspace);
    EXPECT_GT(expected[0] + expected[1], 0);
    EXPECT_EQ(DigitsInSvg(testing::ReadBytes(out)), expected);
  }
  // Without steps nothing runs, so no run-time text is drawn.
  ASSERT_EQ(testing::RunCliBinary("render " + design.string() + " " + out.string()).status, 0);
  EXPECT_EQ(DigitsInSvg(testing::ReadBytes(out)), (DigitCounts{0, 0}));
}

// A design whose check fails gives no picture, and a step count must be a whole number.
TEST_F(RenderCommandTest, AFailedCheckDrawsNothing) {
  // A register of fixed size 4 cannot hold four tokens and the empty cell it needs.
  const fs::path bad = temp.Write("bad.dtn", "//pelkor file\r\nshift[1,0,0,1,4,2]{\r\n0110}\r\n");
  const fs::path out = temp / "bad.svg";
  const auto result =
      testing::RunCliBinary("render -q " + bad.string() + " " + out.string() + " --steps 2", true);
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "pelkor-cli: " + bad.string() + ": the check failed\n");
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(
      testing::RunCliBinary("render " + bad.string() + " " + out.string() + " --steps -1").status,
      64);
}

TEST_F(RenderCommandTest, UsageMissingDesignsAndUnwritableOutputs) {
  const fs::path design = temp.Write("pair.dtn", kDesign);
  const std::string svg = (temp / "pair.svg").string();
  EXPECT_EQ(testing::RunCliBinary("render " + design.string() + " " + svg + " --zoom 6").status,
            64);
  EXPECT_EQ(testing::RunCliBinary("render " + design.string()).status, 64);
  EXPECT_EQ(testing::RunCliBinary("render " + (temp / "none.dtn").string() + " " + svg).status, 66);
  EXPECT_EQ(testing::RunCliBinary("render " + design.string() + " " +
                                  (temp / "missing" / "x.svg").string())
                .status,
            73);
  EXPECT_FALSE(fs::exists(svg));
}

}  // namespace
}  // namespace pelkor
