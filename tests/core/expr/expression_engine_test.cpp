// SPDX-License-Identifier: GPL-3.0-or-later
#include "expr/expression_engine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "base/errors.h"

namespace pelkor {
namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using Results = std::vector<int>;

constexpr int kEmpty = 2;  // the token value of an empty cell

// A text as the check compiles it: regenerated, guard taken off, right sides extracted.
FunctionText Prepared(const std::string& source) {
  FunctionText text;
  text.source = source;
  RegenerateText(text);
  SplitGuard(text);
  ExtractRightSides(text);
  return text;
}

FunctionText WithRightSides(const std::string& rightSides, int inputCount) {
  FunctionText text;
  text.rightSides = rightSides;
  for (int k = 1; k <= inputCount; ++k) {
    text.inputs.emplace("v" + std::to_string(k), k);
  }
  return text;
}

std::string PostfixOf(FunctionText text) {
  ExpressionEngine engine;
  CompileToPostfix(engine, text);
  return text.postfix;
}

auto ThrowsText(const char* message) {
  return ThrowsMessage<MessageError>(StrEq(message));
}

Results EvaluateText(const std::string& postfix, const Results& inputs, int expressionCount) {
  ExpressionEngine engine;
  Results results(expressionCount, -1);
  Evaluate(engine, postfix, inputs.data(), static_cast<int>(inputs.size()), expressionCount,
           results.data());
  return results;
}

Results EvaluateCompiled(const std::string& postfix, const Results& inputs, int expressionCount) {
  Results results(expressionCount, -1);
  Evaluate(CompiledProgram::FromPostfix(postfix), inputs.data(), static_cast<int>(inputs.size()),
           expressionCount, results.data());
  return results;
}

// Both evaluators must agree; returns their common result.
Results EvaluateBoth(const std::string& postfix, const Results& inputs, int expressionCount) {
  const Results results = EvaluateText(postfix, inputs, expressionCount);
  EXPECT_EQ(EvaluateCompiled(postfix, inputs, expressionCount), results) << postfix;
  return results;
}

struct Conversion {
  const char* rightSides;
  const char* postfix;
};

class ConversionTest : public ::testing::TestWithParam<Conversion> {};

TEST_P(ConversionTest, WritesPostfix) {
  EXPECT_EQ(PostfixOf(WithRightSides(GetParam().rightSides, 12)), GetParam().postfix);
}

INSTANTIATE_TEST_SUITE_P(
    Precedence, ConversionTest,
    ::testing::Values(Conversion{"i1^i2|~i3\n", "i1i2i3~|^\n"},
                      Conversion{"~(i1&i2)\n", "i1i2&~\n"}, Conversion{"i1&i2|i3\n", "i1i2&i3|\n"},
                      Conversion{"i1|i2^i3\n", "i1i2|i3^\n"}, Conversion{"~i1&i2\n", "i1~i2&\n"},
                      Conversion{"i1^i2^i3\n", "i1i2^i3^\n"}, Conversion{"~~i1\n", "i1~~\n"},
                      Conversion{"i1 & ( i2 | i12 )\ni3\n", "i1i2i12|&\ni3\n"},
                      Conversion{"i1&i2", "i1i2&\n"}));

// An unclosed "(" is closed where the line ends, with the operators waiting outside it.
INSTANTIATE_TEST_SUITE_P(UnclosedParentheses, ConversionTest,
                         ::testing::Values(Conversion{"((i1|~i2\n", "i1i2~|\n"},
                                           Conversion{"i1&(i2\n", "i1i2&\n"},
                                           Conversion{"~(i1^(i2|i3\n", "i1i2i3|^~\n"}));

TEST(CompileToPostfixTest, CompilesPreparedTexts) {
  EXPECT_EQ(PostfixOf(Prepared("? go;\r\nsum = a ^ b;\r\ncarry = a & b; // half adder")),
            "i2i3^\ni2i3&\n");
  EXPECT_EQ(PostfixOf(Prepared("x = (a & b;")), "i1i2&\n");

  FunctionText empty = Prepared("");
  empty.postfix = "stale\n";
  ExpressionEngine engine;
  CompileToPostfix(engine, empty);
  EXPECT_EQ(empty.postfix, "");
  EXPECT_EQ(engine.ExpressionNumber(), 1);
}

struct Rejection {
  const char* rightSides;
  int inputCount;
  const char* message;
};

class RejectionTest : public ::testing::TestWithParam<Rejection> {};

TEST_P(RejectionTest, ThrowsItsMessageAndLeavesNoProgram) {
  FunctionText text = WithRightSides(GetParam().rightSides, GetParam().inputCount);
  text.postfix = "stale\n";
  ExpressionEngine engine;
  EXPECT_THAT([&] { CompileToPostfix(engine, text); }, ThrowsText(GetParam().message));
  EXPECT_EQ(text.postfix, "");
}

INSTANTIATE_TEST_SUITE_P(
    Successors, RejectionTest,
    ::testing::Values(Rejection{"(&i1)\n", 1, "1番目の式が間違っています。"},
                      Rejection{"i1\ni1&\n", 1, "2番目の式が間違っています。"},
                      Rejection{"i1\n\n", 1, "2番目の式が間違っています。"},
                      Rejection{"i1 i1\n", 1, "1番目の式が間違っています。"},
                      Rejection{"i1~\n", 1, "1番目の式が間違っています。"},
                      Rejection{"()\n", 1, "1番目の式が間違っています。"},
                      Rejection{"o1\n", 1, "1番目の式が間違っています。"},
                      Rejection{"i1\r\n", 1, "1番目の式が間違っています。"},
                      // A ")" without its "(" would close the line's own start.
                      Rejection{"i1)\n", 1, "1番目の式が間違っています。"},
                      Rejection{"i1\n(i1))|i1\n", 1, "2番目の式が間違っています。"}));

INSTANTIATE_TEST_SUITE_P(
    InputNumbers, RejectionTest,
    ::testing::Values(
        Rejection{"i1&i3\n", 2, "1番目の式に存在しない入力プレース名が使用されています。"},
        Rejection{"i1\ni0\n", 2, "2番目の式に存在しない入力プレース名が使用されています。"},
        Rejection{"i100\n", 120, "入力プレースの数が上限（99）を超えました。"},
        Rejection{"i99999999999999999999\n", 1, "入力プレースの数が上限（99）を超えました。"},
        // Numbers are checked before the order of tokens.
        Rejection{"&i7\n", 2, "1番目の式に存在しない入力プレース名が使用されています。"}));

TEST(CompileToPostfixTest, LineBufferHoldsOneHundredCharacters) {
  std::string line = "(i1";
  std::string postfix = "i1";
  for (int k = 0; k < 32; ++k) {
    line += "&i1";
    postfix += "i1&";
  }
  line += ")";
  ASSERT_EQ(line.size(), 100u);
  EXPECT_EQ(PostfixOf(WithRightSides(line + "\n", 1)), postfix + "\n");

  ExpressionEngine engine;
  FunctionText longer = WithRightSides("i1\n~" + line + "\n", 1);
  EXPECT_THAT([&] { CompileToPostfix(engine, longer); },
              ThrowsText("2番目の式がバッファサイズ（100）をオーバーしました。"));
  // Spaces count: they are removed only after the line is taken into the buffer.
  FunctionText spaced = WithRightSides("i1" + std::string(99, ' ') + "\n", 1);
  ExpressionEngine fresh;
  EXPECT_THAT([&] { CompileToPostfix(fresh, spaced); },
              ThrowsText("1番目の式がバッファサイズ（100）をオーバーしました。"));
}

// n distinct inputs, the last alone in the last statement so that no line grows too long.
std::string TextWithInputs(int count) {
  std::string source;
  for (int k = 1; k < count; ++k) {
    source += "x" + std::to_string(k) + " = a" + std::to_string(k) + ";\r\n";
  }
  return source + "last = a" + std::to_string(count) + ";";
}

TEST(CompileToPostfixTest, NinetyNineInputsAreTheLimit) {
  EXPECT_TRUE(PostfixOf(Prepared(TextWithInputs(99))).ends_with("\ni99\n"));
  FunctionText tooMany = Prepared(TextWithInputs(100));
  ExpressionEngine engine;
  EXPECT_THAT([&] { CompileToPostfix(engine, tooMany); },
              ThrowsText("入力プレースの数が上限（99）を超えました。"));
}

TEST(CompileToPostfixTest, ExpressionNumbersRunOnIntoTheNextText) {
  FunctionText first = Prepared("x = a; y = ~a;");
  FunctionText second = WithRightSides("i1\ni1&(&i1)\n", 1);
  ExpressionEngine engine;
  CompileToPostfix(engine, first);
  EXPECT_EQ(engine.ExpressionNumber(), 3);
  EXPECT_THAT([&] { CompileToPostfix(engine, second); }, ThrowsText("4番目の式が間違っています。"));

  ExpressionEngine fresh;
  EXPECT_THAT([&] { CompileToPostfix(fresh, second); }, ThrowsText("2番目の式が間違っています。"));
}

// Truth tables over every combination of bits, against the meaning the text should have.
struct Meaning {
  const char* source;
  int inputCount;
  std::function<int(const Results&)> expected;
};

class TruthTableTest : public ::testing::TestWithParam<Meaning> {};

TEST_P(TruthTableTest, BothEvaluatorsComputeTheMeaning) {
  const FunctionText text = Prepared(GetParam().source);
  ASSERT_EQ(text.inputs.size(), static_cast<std::size_t>(GetParam().inputCount));
  const std::string postfix = PostfixOf(text);
  for (int bits = 0; bits < 1 << GetParam().inputCount; ++bits) {
    Results inputs;
    for (int k = 0; k < GetParam().inputCount; ++k) {
      inputs.push_back(bits >> k & 1);
    }
    EXPECT_THAT(EvaluateBoth(postfix, inputs, 1), ElementsAre(GetParam().expected(inputs)))
        << GetParam().source << " with " << ::testing::PrintToString(inputs);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Operators, TruthTableTest,
    ::testing::Values(
        Meaning{"x = a & b;", 2, [](const Results& v) { return v[0] & v[1]; }},
        Meaning{"x = a | b;", 2, [](const Results& v) { return v[0] | v[1]; }},
        Meaning{"x = a ^ b;", 2, [](const Results& v) { return v[0] ^ v[1]; }},
        Meaning{"x = ~a;", 1, [](const Results& v) { return 1 - v[0]; }},
        // "|" binds tighter than "^", and "~" tighter than "&".
        Meaning{"x = a ^ b | c;", 3, [](const Results& v) { return v[0] ^ (v[1] | v[2]); }},
        Meaning{"x = ~a & b;", 2, [](const Results& v) { return (1 - v[0]) & v[1]; }},
        Meaning{"x = a | b & c;", 3, [](const Results& v) { return v[0] | (v[1] & v[2]); }},
        Meaning{"x = (a & b | ~c) ^ (d & ~e | f) & ~(g ^ h);", 8, [](const Results& v) {
                  return ((v[0] & v[1]) | (1 - v[2])) ^
                         (((v[3] & (1 - v[4])) | v[5]) & (1 - (v[6] ^ v[7])));
                }}));

TEST(EvaluateTest, FillsOneResultPerExpressionInLineOrder) {
  const std::string postfix = PostfixOf(Prepared("p = a & b; q = a | b; r = ~b; s = a ^ b;"));
  EXPECT_THAT(EvaluateBoth(postfix, {1, 0}, 4), ElementsAre(0, 1, 1, 1));
  EXPECT_THAT(EvaluateBoth(postfix, {1, 1}, 2), ElementsAre(1, 1));
  EXPECT_THAT(EvaluateBoth("i1~\ni1i2&\ni1i2|\ni1i2^\n", {kEmpty, 1}, 4), ElementsAre(0, 0, 3, 3));
}

// Regression: the operators outside an unclosed "(" were dropped, so 'a & (b' computed b and
// left a on the stack for the next expression.
TEST(EvaluateTest, UnclosedParenthesisKeepsTheOperatorsOutsideIt) {
  const std::string postfix = PostfixOf(Prepared("x = a & (b; y = c;"));
  ASSERT_EQ(postfix, "i1i2&\ni3\n");
  EXPECT_THAT(EvaluateBoth(postfix, {0, 1, 1}, 2), ElementsAre(0, 1));
  EXPECT_THAT(EvaluateBoth(postfix, {1, 1, 0}, 2), ElementsAre(1, 0));
}

TEST(EvaluateTest, MalformedProgramsReadZeroForWhatIsMissing) {
  EXPECT_THAT(EvaluateBoth("&&~|", {}, 1), ElementsAre(1));
  EXPECT_THAT(EvaluateBoth("i7\ni150\ni0\n", {1, 1}, 3), ElementsAre(0, 0, 0));
  EXPECT_THAT(EvaluateBoth("i1i2i3", {1, 0, 1}, 5), ElementsAre(1, 0, 1, 0, 0));
  EXPECT_THAT(EvaluateBoth("(i1)o=x~\n", {0}, 1), ElementsAre(1));
  Results inputs(150, 1);
  inputs[98] = 0;
  EXPECT_THAT(EvaluateBoth("i99\ni98\n", inputs, 2), ElementsAre(0, 1));
}

TEST(EvaluateTest, EngineStartsOnAnEmptyStackAfterAFailedCompile) {
  ExpressionEngine engine;
  FunctionText text = WithRightSides("(i1&i1&\n", 1);
  EXPECT_THROW(CompileToPostfix(engine, text), MessageError);
  const int input = 1;
  int result = -1;
  Evaluate(engine, "|\n", &input, 1, 1, &result);
  EXPECT_EQ(result, 0);
}

TEST(EvaluateTest, DeepStackOfAHandMadeProgram) {
  std::string postfix;
  for (int k = 0; k < 300; ++k) {
    postfix += "i1~";
  }
  postfix += std::string(299, '&') + "\n";
  EXPECT_THAT(EvaluateBoth(postfix, {0}, 1), ElementsAre(1));
  EXPECT_THAT(EvaluateBoth(postfix, {1}, 1), ElementsAre(0));
}

// Random texts over the postfix alphabet, well-formed or not, must give the same results from
// both evaluators.
TEST(EvaluateTest, CompiledFormAgreesWithTheTextOnRandomPrograms) {
  const std::string alphabet = "i0123456789~&|^()\n\nx";
  std::mt19937 random(20240517);
  for (int round = 0; round < 3000; ++round) {
    std::string postfix;
    for (int k = static_cast<int>(random() % 40); k > 0; --k) {
      postfix += alphabet[random() % alphabet.size()];
    }
    Results inputs(random() % 12);
    for (int& value : inputs) {
      value = static_cast<int>(random() % 3);
    }
    const int expressionCount = static_cast<int>(random() % 6);
    ASSERT_EQ(EvaluateCompiled(postfix, inputs, expressionCount),
              EvaluateText(postfix, inputs, expressionCount))
        << postfix;
  }
}

}  // namespace
}  // namespace pelkor
