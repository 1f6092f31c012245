#include "expr/function_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "model/errors.h"

namespace pelkor {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

FunctionText Regenerated(const std::string& source) {
  FunctionText text;
  text.source = source;
  RegenerateText(text);
  return text;
}

TEST(NormalizeTest, DropsBlanksAndCommentsAndEndsStatementsWithLf) {
  FunctionText text;
  text.source = "sum = a ^ b; // add\r\ncarry\t= a & b;";
  Normalize(text);
  EXPECT_EQ(text.normalized, "sum=a^b\ncarry=a&b\n");

  text.source = "? go; // the comment may end the text";
  Normalize(text);
  EXPECT_EQ(text.normalized, "?go\n");
}

TEST(NormalizeTest, EmptyAndCommentOnlyTextsGiveEmptyResult) {
  FunctionText text;
  text.normalized = "stale";
  Normalize(text);
  EXPECT_EQ(text.normalized, "");

  text.source = " \r\n// nothing here\r\n\t";
  Normalize(text);
  EXPECT_EQ(text.normalized, "");
}

TEST(NormalizeTest, NulEndsTheText) {
  FunctionText text;
  text.source = std::string("x = a;\0y = ", 11);
  Normalize(text);
  EXPECT_EQ(text.normalized, "x=a\n");
}

struct FailingText {
  const char* source;
  const char* message;
};

class NormalizeFailureTest : public ::testing::TestWithParam<FailingText> {};

TEST_P(NormalizeFailureTest, ThrowsItsMessageAndLeavesNothing) {
  FunctionText text;
  text.source = GetParam().source;
  text.normalized = "stale";
  EXPECT_THAT([&] { Normalize(text); }, ThrowsMessage<MessageError>(StrEq(GetParam().message)));
  EXPECT_EQ(text.normalized, "");
}

INSTANTIATE_TEST_SUITE_P(
    Messages, NormalizeFailureTest,
    ::testing::Values(FailingText{"a b = c;", "正規化：演算子がありません"},
                      FailingText{"x = a b;", "正規化：セミコロンが無い"},
                      // A line break between two names is no operator either.
                      FailingText{"x = a\r\nb;", "正規化：セミコロンが無い"},
                      FailingText{"x = a;\r\ny = b", "正規化：最後の式にセミコロンが無い"},
                      FailingText{"x = a & ;", "正規化：入力変数が無い"},
                      FailingText{"x = (;", "正規化：入力変数が無い"},
                      FailingText{"? ;", "正規化：入力変数が無い"},
                      FailingText{"a & b;", "正規化：式を記入してください"},
                      FailingText{"x = a; ;", "正規化：式を記入してください"},
                      // One slash starts a comment, which swallows the ";".
                      FailingText{"x = a / b;", "正規化：最後の式にセミコロンが無い"}));

TEST(CollectVariablesTest, NumbersInputsByFirstUseAndOutputsByAssignment) {
  const FunctionText text = Regenerated("x = b & a;\r\ny = a;\r\nz = b | c;");
  EXPECT_EQ(text.inputs, (std::map<std::string, int>{{"b", 1}, {"a", 2}, {"c", 3}}));
  EXPECT_EQ(text.outputs, (std::map<std::string, int>{{"x", 1}, {"y", 2}, {"z", 3}}));
  EXPECT_EQ(text.translated, "o1=i1&i2\no2=i2\no3=i1|i3\n");
}

TEST(CollectVariablesTest, NameBeforeTheOutputCountsAsInput) {
  const FunctionText text = Regenerated("a&b=c;");
  EXPECT_EQ(text.inputs, (std::map<std::string, int>{{"a", 1}, {"c", 2}}));
  EXPECT_EQ(text.outputs, (std::map<std::string, int>{{"b", 1}}));
}

TEST(CollectVariablesTest, GuardNamesAreInputs) {
  const FunctionText text = Regenerated("? go & ~stop;\r\nout = go;");
  EXPECT_EQ(text.inputs, (std::map<std::string, int>{{"go", 1}, {"stop", 2}}));
  EXPECT_EQ(text.outputs, (std::map<std::string, int>{{"out", 1}}));
  EXPECT_EQ(text.translated, "?i1&~i2\no1=i1\n");
}

TEST(CollectVariablesTest, ClearsMapsOfAnEarlierText) {
  FunctionText text = Regenerated("x = a;");
  text.normalized = "";
  CollectVariables(text);
  EXPECT_TRUE(text.inputs.empty());
  EXPECT_TRUE(text.outputs.empty());
}

TEST(CollectVariablesTest, KeepsTheMapsFilledUpToTheFailure) {
  FunctionText text;
  text.source = "x = a; y = x; z = b;";
  Normalize(text);
  EXPECT_THROW(CollectVariables(text), MessageError);
  EXPECT_EQ(text.inputs, (std::map<std::string, int>{{"a", 1}, {"x", 2}}));
  EXPECT_EQ(text.outputs, (std::map<std::string, int>{{"x", 1}, {"y", 2}}));
}

class CollectFailureTest : public ::testing::TestWithParam<FailingText> {};

TEST_P(CollectFailureTest, RegenerateThrowsItsMessage) {
  FunctionText text;
  text.source = GetParam().source;
  EXPECT_THAT([&] { RegenerateText(text); },
              ThrowsMessage<MessageError>(StrEq(GetParam().message)));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, CollectFailureTest,
    ::testing::Values(FailingText{"x = a; x = b;", "出力変数が重複しています"},
                      FailingText{"x = a; y = x;", "フィードバック入力はだめ"},
                      FailingText{"y = x; x = a;", "フィードバック入力はだめ"},
                      FailingText{"= a;", "出力変数がおかしい"},
                      FailingText{"x = (a) = b;", "出力変数がおかしい"},
                      FailingText{"x = a = b;", "セミコロンが無い"},
                      FailingText{"?= a;", "ガード式がおかしい"},
                      FailingText{"? a = b;", "ガード式にセミコロンが無い"},
                      FailingText{"? a; ? b;", "!#%-@*+/><[]{}:? は使用できません"},
                      FailingText{"x = a ? b;", "!#%-@*+/><[]{}:? は使用できません"},
                      FailingText{"x = a-1;", "!#%-@*+/><[]{}:? は使用できません"},
                      FailingText{"out[0] = a;", "!#%-@*+/><[]{}:? は使用できません"}));

// Normalize always ends a text with LF, so these endings only reach CollectVariables through a
// normalized text from elsewhere.
class CollectUnfinishedTextTest : public ::testing::TestWithParam<FailingText> {};

TEST_P(CollectUnfinishedTextTest, ThrowsItsMessage) {
  FunctionText text;
  text.normalized = GetParam().source;
  EXPECT_THAT([&] { CollectVariables(text); },
              ThrowsMessage<MessageError>(StrEq(GetParam().message)));
}

INSTANTIATE_TEST_SUITE_P(Messages, CollectUnfinishedTextTest,
                         ::testing::Values(FailingText{"x=a", "最後の式にセミコロンが無い"},
                                           FailingText{"x=", "セミコロンが無い"},
                                           FailingText{"?a", "ガード式がおかしい"},
                                           FailingText{"?(", "ガード式にセミコロンが無い"}));

TEST(TranslateNamesTest, WritesMultiDigitNumbersAndKeepsOtherCharacters) {
  std::string source = "x = ";
  for (int k = 1; k <= 12; ++k) {
    source += (k > 1 ? " | v" : "v") + std::to_string(k);
  }
  source += "; y = ~(v12 & v3);";
  const FunctionText text = Regenerated(source);
  EXPECT_EQ(text.translated, "o1=i1|i2|i3|i4|i5|i6|i7|i8|i9|i10|i11|i12\no2=~(i12&i3)\n");
}

TEST(TranslateNamesTest, TakesNamesAsBytesSoAnyScriptWorks) {
  const FunctionText text = Regenerated("出力 = 入力１ & 入力２;");
  EXPECT_EQ(text.translated, "o1=i1&i2\n");
  EXPECT_EQ(text.inputs.at("入力２"), 2);
}

TEST(TranslateNamesTest, NumbersBeyondThreeDigitsAreWrittenInFull) {
  std::string source;
  for (int k = 1; k <= 1001; ++k) {
    source += "y" + std::to_string(k) + "=a" + std::to_string(k) + ";";
  }
  const FunctionText text = Regenerated(source);
  EXPECT_EQ(text.inputs.size(), 1001u);
  const std::string lastLine = "o1001=i1001\n";
  ASSERT_GE(text.translated.size(), lastLine.size());
  EXPECT_EQ(text.translated.substr(text.translated.size() - lastLine.size()), lastLine);
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
  SplitGuard(text);
  EXPECT_EQ(text.guard, "i1&~i2");
  EXPECT_EQ(text.translated, "o1=i1\n");
}

TEST(SplitGuardTest, PassesOverEveryLineEndAfterTheGuard) {
  FunctionText text;
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
  FunctionText text;
  text.source = "x = a;";
  text.normalized = "y=b\n";
  text.inputs = {{"b", 1}};
  text.outputs = {{"y", 1}};
  text.guard = "i9";
  text.rightSides = "i9\n";
  text.postfix = "i9\n";
  RegenerateText(text);
  FunctionText expected;
  expected.source = "x = a;";
  expected.normalized = "x=a\n";
  expected.inputs = {{"a", 1}};
  expected.outputs = {{"x", 1}};
  expected.translated = "o1=i1\n";
  EXPECT_EQ(text, expected);
}

}  // namespace
}  // namespace pelkor
