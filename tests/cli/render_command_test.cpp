// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_runner.h"
#include "support/temp_folder.h"

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
