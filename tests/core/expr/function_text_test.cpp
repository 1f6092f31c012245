// SPDX-License-Identifier: GPL-3.0-or-later
#include "expr/function_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "base/errors.h"

namespace pelkor {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;
using Numbers = std::map<std::string, int>;

FunctionText Regenerated(const std::string& source) {
  FunctionText text;
  text.source = source;
  RegenerateText(text);
  return text;
}

TEST(NormalizeTest, DropsBlanksAndCommentsAndEndsStatementsWithLf) {
  EXPECT_EQ(Regenerated("sum = a ^ b; // add\r\ncarry\t= a & b;").normalized,
            "sum=a^b\ncarry=a&b\n");
  EXPECT_EQ(Regenerated("? go; // the comment may end the text").normalized, "?go\n");
  EXPECT_EQ(Regenerated(std::string("x = a;\0y = ", 11)).normalized, "x=a\n");
  EXPECT_EQ(Regenerated(" \r\n// nothing here\r\n\t").normalized, "");
}

TEST(NormalizeTest, ClearsItsResultOnFailure) {
  FunctionText text;
  text.source = "x = a b;";
  text.normalized = "stale";
  EXPECT_THROW(Normalize(text), MessageError);
  EXPECT_EQ(text.normalized, "");
}

struct FailingText {
  const char* source;
  const char* message;
};

class RegenerateFailureTest : public ::testing::TestWithParam<FailingText> {};

TEST_P(RegenerateFailureTest, ThrowsItsMessage) {
  FunctionText text;
  text.source = GetParam().source;
  EXPECT_THAT([&] { RegenerateText(text); },
              ThrowsMessage<MessageError>(StrEq(GetParam().message)));
}

INSTANTIATE_TEST_SUITE_P(
    Normalize, RegenerateFailureTest,
    ::testing::Values(FailingText{"a b = c;", "正規化：演算子がありません"},
                      FailingText{"x = a b;", "正規化：セミコロンが無い"},
                      FailingText{"x = a\r\nb;", "正規化：セミコロンが無い"},
                      FailingText{"x = a;\r\ny = b", "正規化：最後の式にセミコロンが無い"},
                      FailingText{"x = a & ;", "正規化：入力変数が無い"},
                      FailingText{"? ;", "正規化：入力変数が無い"},
                      FailingText{"a & b;", "正規化：式を記入してください"},
                      // One slash starts a comment, which swallows the ";".
                      FailingText{"x = a / b;", "正規化：最後の式にセミコロンが無い"}));

INSTANTIATE_TEST_SUITE_P(
    CollectVariables, RegenerateFailureTest,
    ::testing::Values(FailingText{"x = a; x = b;", "出力変数が重複しています"},
                      FailingText{"x = a; y = x;", "フィードバック入力はだめ"},
                      FailingText{"y = x; x = a;", "フィードバック入力はだめ"},
                      FailingText{"= a;", "出力変数がおかしい"},
                      FailingText{"x = (a) = b;", "出力変数がおかしい"},
                      FailingText{"x = a = b;", "セミコロンが無い"},
                      FailingText{"?= a;", "ガード式がおかしい"},
                      FailingText{"? a = b;", "ガード式にセミコロンが無い"},
                      FailingText{"? a; ? b;", "!#%-@*+/><[]{}:? は使用できません"},
                      FailingText{"x = a-1;", "!#%-@*+/><[]{}:? は使用できません"}));

// Normalize always ends a text with LF; these endings reach CollectVariables only through a
// normalized text from elsewhere.
TEST(CollectVariablesTest, RefusesUnfinishedNormalizedTexts) {
  for (const FailingText& unfinished :
       {FailingText{"x=a", "最後の式にセミコロンが無い"}, FailingText{"x=", "セミコロンが無い"},
        FailingText{"?a", "ガード式がおかしい"}, FailingText{"?(", "ガード式にセミコロンが無い"}}) {
    FunctionText text;
    text.normalized = unfinished.source;
    EXPECT_THAT([&] { CollectVariables(text); },
                ThrowsMessage<MessageError>(StrEq(unfinished.message)))
        << unfinished.source;
  }
}

TEST(CollectVariablesTest, NumbersInputsByFirstUseAndOutputsByAssignment) {
  const FunctionText text = Regenerated("x = b & a;\r\ny = a;\r\nz = b | c;");
  EXPECT_EQ(text.inputs, (Numbers{{"b", 1}, {"a", 2}, {"c", 3}}));
  EXPECT_EQ(text.outputs, (Numbers{{"x", 1}, {"y", 2}, {"z", 3}}));
  EXPECT_EQ(text.translated, "o1=i1&i2\no2=i2\no3=i1|i3\n");
}

TEST(CollectVariablesTest, NameBeforeTheOutputCountsAsInput) {
  const FunctionText text = Regenerated("a&b=c;");
  EXPECT_EQ(text.inputs, (Numbers{{"a", 1}, {"c", 2}}));
  EXPECT_EQ(text.outputs, (Numbers{{"b", 1}}));
}

TEST(CollectVariablesTest, KeepsTheMapsFilledUpToTheFailure) {
  FunctionText text;
  text.source = "x = a; y = x; z = b;";
  Normalize(text);
  EXPECT_THROW(CollectVariables(text), MessageError);
  EXPECT_EQ(text.inputs, (Numbers{{"a", 1}, {"x", 2}}));
  EXPECT_EQ(text.outputs, (Numbers{{"x", 1}, {"y", 2}}));
}

TEST(TranslateNamesTest, WritesMultiDigitNumbersAndKeepsOtherCharacters) {
  std::string source = "x = v1";
  for (int k = 2; k <= 12; ++k) {
    source += " | v" + std::to_string(k);
  }
  source += "; 出力 = ~(v12 & 入力);";
  const FunctionText text = Regenerated(source);
  EXPECT_EQ(text.translated, "o1=i1|i2|i3|i4|i5|i6|i7|i8|i9|i10|i11|i12\no2=~(i12&i13)\n");
}

TEST(TranslateNamesTest, NumbersBeyondThreeDigitsAreWrittenInFull) {
  std::string source;
  for (int k = 1; k <= 1001; ++k) {
    source += "y" + std::to_string(k) + "=a" + std::to_string(k) + ";";
  }
  const std::string translated = Regenerated(source).translated;
  EXPECT_TRUE(translated.ends_with("\no1001=i1001\n")) << translated.substr(translated.size() - 30);
}

TEST(TranslateNamesTest, KeepsNamesMissingFromTheMaps) {
  FunctionText text;
  text.normalized = "x=a&b\n";
  text.inputs = {{"a", 4}};
  TranslateNames(text);
  EXPECT_EQ(text.translated, "x=i4&b\n");
}

TEST(SplitGuardTest, TakesTheGuardLineOffTheFront) {
  FunctionText text = Regenerated("? go & ~stop;\r\nout = go;\r\n");
  EXPECT_EQ(text.inputs, (Numbers{{"go", 1}, {"stop", 2}}));
  SplitGuard(text);
  EXPECT_EQ(text.guard, "i1&~i2");
  EXPECT_EQ(text.translated, "o1=i1\n");

  text.translated = "?i1\r\n\r\no1=i1\n";
  SplitGuard(text);
  EXPECT_EQ(text.guard, "i1");
  EXPECT_EQ(text.translated, "o1=i1\n");

  text.translated = "?i2";
  SplitGuard(text);
  EXPECT_EQ(text.guard, "i2");
  EXPECT_EQ(text.translated, "");
}

TEST(SplitGuardTest, LeavesATextWithoutGuardAlone) {
  FunctionText text;
  text.translated = "o1=i1\n";
  text.guard = "stale";
  SplitGuard(text);
  EXPECT_EQ(text.guard, "");
  EXPECT_EQ(text.translated, "o1=i1\n");
}

TEST(ExtractRightSidesTest, KeepsOneExpressionPerAssignment) {
  FunctionText text;
  text.translated = "?i3\no1=i1^i2\r\no2=i1&i2\n";
  text.rightSides = "stale\n";
  ExtractRightSides(text);
  EXPECT_EQ(text.rightSides, "i1^i2\ni1&i2\n");
}

TEST(RegenerateTextTest, EmptyTextPassesEveryStep) {
  FunctionText text = Regenerated("");
  SplitGuard(text);
  ExtractRightSides(text);
  EXPECT_EQ(text, FunctionText{});
}

TEST(RegenerateTextTest, RecomputesFromTheSourceAlone) {
  FunctionText stale = Regenerated("? g; y = b;");
  SplitGuard(stale);
  ExtractRightSides(stale);
  stale.postfix = "i2\n";
  stale.source = "x = a;";
  RegenerateText(stale);
  EXPECT_EQ(stale, Regenerated("x = a;"));
}

}  // namespace
}  // namespace pelkor
