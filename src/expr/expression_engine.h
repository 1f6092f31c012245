// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "expr/function_text.h"

namespace pelkor {

class ExpressionEngine;

// Checks every line of text.rightSides against the input count (text.inputs.size()) and writes
// one postfix line per expression to text.postfix. Throws MessageError on the first bad line,
// naming it by the engine's running expression number; text.postfix is then empty.
void CompileToPostfix(ExpressionEngine& engine, FunctionText& text);

// Runs the first expressionCount lines of a postfix program. Input k (from 1) has the value
// inputValues[k - 1]; results[j] receives the value of line j + 1. Any text is safe: an operand
// missing from the stack reads as 0, and so does an input number without a value.
void Evaluate(ExpressionEngine& engine, const std::string& postfix, const int* inputValues,
              int inputCount, int expressionCount, int* results);

// Converts expression lines to postfix programs and interprets them. One engine compiles the
// texts of one owner, so its expression numbers run on from one text into the next.
class ExpressionEngine {
 public:
  virtual ~ExpressionEngine() = default;

  // The number the next (or failing) expression carries in messages; starts at 1.
  int ExpressionNumber() const { return expressionNumber_; }

 private:
  friend void CompileToPostfix(ExpressionEngine& engine, FunctionText& text);
  friend void Evaluate(ExpressionEngine& engine, const std::string& postfix, const int* inputValues,
                       int inputCount, int expressionCount, int* results);

  struct Operator {
    char symbol;
    int precedence;
  };
  static constexpr std::array<Operator, 6> kOperators = {
      {{'(', 1}, {')', 1}, {'~', 7}, {'&', 6}, {'|', 5}, {'^', 4}}};

  void CompileLine(std::string_view line, char terminator, int inputCount, std::string& postfix);
  void CheckInputNumbers(std::string_view expression, int inputCount);
  void ConvertLine(std::string_view lineWithTerminator, std::string& postfix);
  static int OperatorIndex(char symbol);
  void PushOperator(int index, char* output);
  void PopUntilOpen(char* output);
  template <typename... Args>
  [[noreturn]] void Fail(const char* format, const Args&... args);

  std::int32_t EvaluateExpression(std::string_view postfix, const std::int32_t* inputTable);
  std::int32_t PopOperand();

  // Operator-table indexes while converting, operand values while evaluating.
  std::deque<std::int32_t> stack_;
  std::size_t readPosition_ = 0;
  int expressionNumber_ = 1;
  int digitCount_ = 0;
  std::size_t writePosition_ = 0;
  std::string message_;
};

// A postfix program translated once into operations on a flat table of values (a zero, the
// inputs, then intermediate results), so that a firing evaluates it without reading text and,
// for any program the compiler writes, without allocating. It gives exactly the results of the
// text interpreter for the same program, also for a malformed one.
class CompiledProgram {
 public:
  static CompiledProgram FromPostfix(const std::string& postfix);

  friend void Evaluate(const CompiledProgram& program, const int* inputValues, int inputCount,
                       int expressionCount, int* results);

 private:
  struct Op {
    char symbol;  // "~", "&", "|" or "^"
    std::int32_t target;
    std::int32_t left;
    std::int32_t right;
  };
  struct Expression {
    std::size_t opsEnd;  // ops_ up to here compute it
    std::int32_t result;
  };

  std::vector<Op> ops_;
  std::vector<Expression> expressions_;  // one per line, plus one for the end of the text
  // What is still on the stack after the text: each further expression takes the top.
  std::vector<std::int32_t> leftover_;
  int highestInput_ = 0;
  std::int32_t valueCount_ = 1;
};

// Same contract as the text interpreter's Evaluate.
void Evaluate(const CompiledProgram& program, const int* inputValues, int inputCount,
              int expressionCount, int* results);

}  // namespace pelkor
