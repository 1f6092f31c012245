// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "workspace/log_line_object.h"

namespace pelkor {
namespace {

TEST(LogLineObjectTest, TheObjectEachKindOfLineNames) {
  const LoggedObject none;
  const struct {
    const char* line;
    const char* next;
    LoggedObject named;
  } cases[] = {
      {"half_adderのシフトレジスタ3にエラー", "", {"half_adder", false, kShiftRegisterKind, 3}},
      {"AのBのステートマシン12にエラー", "", {"AのB", false, kStateMachineKind, 12}},
      {"topのカウンタ7にエラー", "", {"top", false, kCounterKind, 7}},
      {"topのステートマシン12にエラーです", "", none},
      {"topのステートマシンにエラー", "", none},
      {"のシフトレジスタ3にエラー", "", none},
      {"アークの名前が入力されていません",
       "topのステートマシン4にエラー",
       {"top", false, kStateMachineKind, 4}},
      {"出力アーク本数と出力アークの名前数が等しくない",
       "topのステートマシン5にエラー",
       {"top", false, kStateMachineKind, 5}},
      {"アークの名前が入力されていません", "モジュールコンパイルエラー", none},
      {"top/5のケムマキ2<out>がステップ9で期待と異なる値を受け取りました",
       "",
       {"top/5", true, kSinkKind, 2}},
      {"topのケムマキ8がステップ1で期待と異なる値を受け取りました",
       "",
       {"top", true, kSinkKind, 8}},
      {"照合結果: 合格1 不合格2 (top/3/4のケムマキ6、topのケムマキ1<a>)",
       "",
       {"top/3/4", true, kSinkKind, 6}},
      {"照合結果: 合格3 不合格0", "", none},
      {"top/5/2 シフトレジスタ3: 0110", "", {"top/5/2", true, kShiftRegisterKind, 3}},
      {"top ウージ9", "", {"top", true, kSourceKind, 9}},
      {"top/5 モジュール6 を生成", "", {"top/5", true, kInstanceKind, 6}},
      {"top/05 シフトレジスタ3: 1", "", none},
      {"top/x シフトレジスタ3: 1", "", none},
      {"top/5 シフトレジスタ3x", "", none},
      {"top/5 シフトレジスタ0: 1", "", none},
      {"top/5 シフトレジスタ99999999999: 1", "", none},
      {"シミュレーションを開始します", "", none},
      {"", "", none},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ObjectOfLogLine(c.line, c.next).value_or(none), c.named) << c.line;
}

}  // namespace
}  // namespace pelkor
