// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/output_log.h"

#include <gtest/gtest.h>

#include "support/recording_log.h"

namespace pelkor {
namespace {

TEST(OutputLogTest, LinesWithoutASinkAreDropped) {
  OutputLog log;
  log.Write("%sを読み込みました", "a.dtn");  // nothing attached: must not fail
  testing::RecordingLog sink;
  log.Attach(&sink);
  log.Write("%sを読み込みました", "a.dtn");
  log.Attach(nullptr);
  log.WriteText("lost");
  EXPECT_EQ(sink.lines, std::vector<std::string>{"a.dtnを読み込みました"});
}

TEST(OutputLogTest, ArgumentsAreNeverFormats) {
  OutputLog log;
  testing::RecordingLog sink;
  log.Attach(&sink);
  log.Write("ロードに失敗しました%s", "100%d %s");
  log.WriteText("%s%n");
  log.Write("シミュレーション時間は%f秒", 1.5);
  EXPECT_EQ(sink.lines, (std::vector<std::string>{"ロードに失敗しました100%d %s", "%s%n",
                                                  "シミュレーション時間は1.500000秒"}));
}

TEST(OutputLogTest, LongLinesAreCutWithoutSplittingACharacter) {
  OutputLog log;
  testing::RecordingLog sink;
  log.Attach(&sink);
  // 1022 ASCII bytes, then a three-byte character that would end at byte 1025.
  const std::string text = std::string(1022, 'a') + "あ" + "tail";
  log.WriteText(text);
  ASSERT_EQ(sink.lines.size(), 1u);
  EXPECT_EQ(sink.lines[0], std::string(1022, 'a'));

  log.WriteText(std::string(1023, 'b') + "c");
  EXPECT_EQ(sink.lines[1], std::string(1023, 'b'));
  log.WriteText(std::string(1020, 'd') + "あ");  // exactly 1023 bytes stays whole
  EXPECT_EQ(sink.lines[2], std::string(1020, 'd') + "あ");
}

}  // namespace
}  // namespace pelkor
