// SPDX-License-Identifier: GPL-3.0-or-later
#include "expr/expression_engine.h"

#include <fmt/printf.h>

#include <algorithm>
#include <initializer_list>
#include <limits>

#include "base/errors.h"

namespace pelkor {
namespace {

constexpr std::size_t kLineBufferSize = 100;
// Input numbers run from 1 to 99; slot 0 of the table is never an input and always holds 0.
constexpr int kInputTableSize = 100;
constexpr std::int32_t kZeroSlot = 0;
constexpr std::int32_t kFirstTemporary = kInputTableSize;
// Enough for every program the compiler can write from a 100-character line; only a
// hand-made postfix text with a deep stack needs more, and gets it from the heap.
constexpr std::int32_t kInlineValueCount = 256;
constexpr int kOpenIndex = 0;  // "(" in the operator table

enum CharClass {
  kInvalid = 0,
  kEndOfText = 1,
  kEndOfLine = 2,
  kInputPrefix = 3,
  kDigit = 4,
  kUnary = 5,
  kBinary = 6,
  kOpen = 7,
  kClose = 8,
};
// No character follows an invalid one, so its row of the successor table serves the line start.
constexpr CharClass kLineStart = kInvalid;

CharClass Classify(char ch) {
  switch (ch) {
    case '\0':
      return kEndOfText;
    case '\n':
      return kEndOfLine;
    case 'i':
      return kInputPrefix;
    case '~':
      return kUnary;
    case '&':
    case '|':
    case '^':
      return kBinary;
    case '(':
      return kOpen;
    case ')':
      return kClose;
    default:
      return ch >= '0' && ch <= '9' ? kDigit : kInvalid;
  }
}

constexpr unsigned Bits(std::initializer_list<CharClass> classes) {
  unsigned bits = 0;
  for (const CharClass c : classes) {
    bits |= 1u << c;
  }
  return bits;
}

// Which class may follow which in an expression line, indexed by the previous class.
constexpr std::array<unsigned, 9> kAllowedNext = {
    Bits({kInputPrefix, kUnary, kOpen}),  // line start
    0,
    0,
    Bits({kDigit}),
    Bits({kDigit, kBinary, kClose, kEndOfLine, kEndOfText}),
    Bits({kInputPrefix, kUnary, kOpen}),
    Bits({kInputPrefix, kUnary, kOpen}),
    Bits({kInputPrefix, kUnary, kOpen}),
    Bits({kBinary, kClose, kEndOfLine, kEndOfText}),
};

bool MayFollow(CharClass previous, CharClass next) {
  return (kAllowedNext[previous] >> next & 1u) != 0;
}

struct Number {
  int value;  // kInputTableSize for any run of that value or more
  int digits;
};

Number ReadNumber(std::string_view text, std::size_t pos) {
  Number number{0, 0};
  for (; pos < text.size() && Classify(text[pos]) == kDigit; ++pos) {
    number.value = std::min(number.value * 10 + (text[pos] - '0'), kInputTableSize);
    ++number.digits;
  }
  return number;
}

// The table slot an input number reads; numbers beyond the table read the zero slot.
std::int32_t InputSlot(int number) {
  return number < kInputTableSize ? number : kZeroSlot;
}

// The one definition of what the operators do, shared by both evaluators. Values are token
// values (0, 1 or EMPTY); "~" makes 1 of 0 and 0 of anything else, the others work bitwise.
inline std::int32_t Apply(char symbol, std::int32_t left, std::int32_t right) {
  switch (symbol) {
    case '~':
      return left == 0 ? 1 : 0;
    case '&':
      return left & right;
    case '|':
      return left | right;
    default:
      return left ^ right;
  }
}

}  // namespace

template <typename... Args>
void ExpressionEngine::Fail(const char* format, const Args&... args) {
  message_ = fmt::sprintf(format, args...);
  throw MessageError(message_);
}

void CompileToPostfix(ExpressionEngine& engine, FunctionText& text) {
  text.postfix.clear();
  const std::string_view source = TextBeforeNul(text.rightSides);
  const int inputCount =
      static_cast<int>(std::min<std::size_t>(text.inputs.size(), std::numeric_limits<int>::max()));
  std::string postfix;
  engine.readPosition_ = 0;
  while (engine.readPosition_ < source.size()) {
    const std::size_t lineEnd = source.find('\n', engine.readPosition_);
    const bool endedByLf = lineEnd != std::string_view::npos;
    const std::size_t end = endedByLf ? lineEnd : source.size();
    engine.CompileLine(source.substr(engine.readPosition_, end - engine.readPosition_),
                       endedByLf ? '\n' : '\0', inputCount, postfix);
    if (!endedByLf) {
      break;
    }
    // Counted after every finished line, so that a second text compiled by this engine starts
    // one past the last expression of the first.
    ++engine.expressionNumber_;
    engine.readPosition_ = lineEnd + 1;
  }
  engine.readPosition_ = 0;
  text.postfix = std::move(postfix);
}

void ExpressionEngine::CompileLine(std::string_view line, char terminator, int inputCount,
                                   std::string& postfix) {
  if (line.size() > kLineBufferSize) {
    Fail("%d番目の式がバッファサイズ（%d）をオーバーしました。", expressionNumber_,
         static_cast<int>(kLineBufferSize));
  }
  std::array<char, kLineBufferSize + 1> buffer;
  std::size_t length = 0;
  for (const char ch : line) {
    if (ch != ' ') {
      buffer[length++] = ch;
    }
  }
  buffer[length] = terminator;
  CheckInputNumbers(std::string_view(buffer.data(), length), inputCount);
  ConvertLine(std::string_view(buffer.data(), length + 1), postfix);
}

void ExpressionEngine::CheckInputNumbers(std::string_view expression, int inputCount) {
  for (std::size_t pos = 0; pos < expression.size();) {
    if (Classify(expression[pos]) != kDigit) {
      ++pos;
      continue;
    }
    const Number number = ReadNumber(expression, pos);
    digitCount_ = number.digits;
    if (number.value >= kInputTableSize) {
      Fail("入力プレースの数が上限（%d）を超えました。", kInputTableSize - 1);
    }
    if (number.value <= 0 || number.value > inputCount) {
      Fail("%d番目の式に存在しない入力プレース名が使用されています。", expressionNumber_);
    }
    pos += digitCount_;
  }
}

// Operator precedence conversion. The stack starts with an open marker for the whole line, so
// every ")" and the line's end pop down to a "(" that is there.
void ExpressionEngine::ConvertLine(std::string_view lineWithTerminator, std::string& postfix) {
  // Every character of the line is written at most once (parentheses never), plus the LF.
  std::array<char, kLineBufferSize + 1> output;
  writePosition_ = 0;
  stack_.assign(1, kOpenIndex);
  CharClass previous = kLineStart;
  for (const char ch : lineWithTerminator) {
    const CharClass current = Classify(ch);
    if (!MayFollow(previous, current)) {
      Fail("%d番目の式が間違っています。", expressionNumber_);
    }
    switch (current) {
      case kUnary:
      case kBinary:
        PushOperator(OperatorIndex(ch), output.data());
        break;
      case kOpen:
        stack_.push_back(kOpenIndex);
        break;
      case kClose:
        PopUntilOpen(output.data());
        // A ")" without its "(" has just closed the line's own marker.
        if (stack_.empty()) {
          Fail("%d番目の式が間違っています。", expressionNumber_);
        }
        break;
      case kEndOfLine:
      case kEndOfText:
        // Closes every "(" left open and then the line's marker, writing the operators that
        // wait below them: 'a & (b' means 'a & (b)', not 'b' with 'a' left over for the next
        // expression.
        while (!stack_.empty()) {
          PopUntilOpen(output.data());
        }
        output[writePosition_++] = '\n';
        break;
      default:  // "i" and digits
        output[writePosition_++] = ch;
        break;
    }
    previous = current;
  }
  postfix.append(output.data(), writePosition_);
  writePosition_ = 0;
}

int ExpressionEngine::OperatorIndex(char symbol) {
  return static_cast<int>(std::ranges::find(kOperators, symbol, &Operator::symbol) -
                          kOperators.begin());
}

// Binary operators of equal precedence leave the stack (left to right); "~" stays ("~~a").
void ExpressionEngine::PushOperator(int index, char* output) {
  const Operator& incoming = kOperators[index];
  for (;;) {
    const int top = stack_.back();
    const int topPrecedence = kOperators[top].precedence;
    if (topPrecedence < incoming.precedence ||
        (topPrecedence == incoming.precedence && incoming.symbol == '~')) {
      stack_.push_back(index);
      return;
    }
    stack_.pop_back();
    output[writePosition_++] = kOperators[top].symbol;
  }
}

void ExpressionEngine::PopUntilOpen(char* output) {
  for (;;) {
    const int top = stack_.back();
    stack_.pop_back();
    if (top == kOpenIndex) {
      return;
    }
    output[writePosition_++] = kOperators[top].symbol;
  }
}

void Evaluate(ExpressionEngine& engine, const std::string& postfix, const int* inputValues,
              int inputCount, int expressionCount, int* results) {
  std::array<std::int32_t, kInputTableSize> inputTable{};
  std::copy_n(inputValues, std::clamp(inputCount, 0, kInputTableSize - 1), inputTable.begin() + 1);
  const std::string_view text = TextBeforeNul(postfix);
  // Whatever an earlier use left, also one cut short by a message, is no operand of this one.
  engine.stack_.clear();
  engine.readPosition_ = 0;
  for (int j = 0; j < expressionCount; ++j) {
    results[j] = engine.EvaluateExpression(text, inputTable.data());
  }
}

std::int32_t ExpressionEngine::EvaluateExpression(std::string_view postfix,
                                                  const std::int32_t* inputTable) {
  for (;;) {
    // Past the end the text reads as NUL, so later expressions each take one more operand.
    const char ch = readPosition_ < postfix.size() ? postfix[readPosition_] : '\0';
    switch (Classify(ch)) {
      case kDigit: {
        const Number number = ReadNumber(postfix, readPosition_);
        digitCount_ = number.digits;
        stack_.push_back(inputTable[InputSlot(number.value)]);
        readPosition_ += digitCount_;
        break;
      }
      case kUnary:
        stack_.push_back(Apply(ch, PopOperand(), 0));
        ++readPosition_;
        break;
      case kBinary: {
        const std::int32_t right = PopOperand();
        const std::int32_t left = PopOperand();
        stack_.push_back(Apply(ch, left, right));
        ++readPosition_;
        break;
      }
      case kEndOfLine:
        ++readPosition_;
        return PopOperand();
      case kEndOfText:
        return PopOperand();
      default:  // "i", parentheses and stray characters carry no value
        ++readPosition_;
        break;
    }
  }
}

std::int32_t ExpressionEngine::PopOperand() {
  if (stack_.empty()) {
    return 0;
  }
  const std::int32_t value = stack_.back();
  stack_.pop_back();
  return value;
}

// Replays the text interpreter on a stack of value-table slots instead of values: an input
// stays a reference to its slot, an operator result gets the slot of its stack position.
CompiledProgram CompiledProgram::FromPostfix(const std::string& postfix) {
  CompiledProgram program;
  std::vector<std::int32_t> stack;
  const auto pop = [&stack] {
    if (stack.empty()) {
      return kZeroSlot;
    }
    const std::int32_t slot = stack.back();
    stack.pop_back();
    return slot;
  };
  const auto pushResult = [&](char symbol, std::int32_t left, std::int32_t right) {
    const auto target = static_cast<std::int32_t>(kFirstTemporary + stack.size());
    program.ops_.push_back({symbol, target, left, right});
    program.valueCount_ = std::max(program.valueCount_, target + 1);
    stack.push_back(target);
  };
  const auto endExpression = [&] { program.expressions_.push_back({program.ops_.size(), pop()}); };

  const std::string_view text = TextBeforeNul(postfix);
  for (std::size_t pos = 0; pos < text.size();) {
    const char ch = text[pos];
    switch (Classify(ch)) {
      case kDigit: {
        const Number number = ReadNumber(text, pos);
        const std::int32_t slot = InputSlot(number.value);
        program.highestInput_ = std::max(program.highestInput_, slot);
        program.valueCount_ = std::max(program.valueCount_, slot + 1);
        stack.push_back(slot);
        pos += number.digits;
        continue;
      }
      case kUnary:
        pushResult(ch, pop(), kZeroSlot);
        break;
      case kBinary: {
        const std::int32_t right = pop();
        const std::int32_t left = pop();
        pushResult(ch, left, right);
        break;
      }
      case kEndOfLine:
        endExpression();
        break;
      default:
        break;
    }
    ++pos;
  }
  endExpression();  // the end of the text ends one more expression
  program.leftover_.assign(stack.rbegin(), stack.rend());
  return program;
}

void Evaluate(const CompiledProgram& program, const int* inputValues, int inputCount,
              int expressionCount, int* results) {
  std::array<std::int32_t, kInlineValueCount> inlineValues;
  std::vector<std::int32_t> heapValues;
  std::int32_t* values = inlineValues.data();
  if (program.valueCount_ > kInlineValueCount) {
    heapValues.resize(program.valueCount_);
    values = heapValues.data();
  }
  values[kZeroSlot] = 0;
  const int supplied = std::clamp(inputCount, 0, program.highestInput_);
  std::copy_n(inputValues, supplied, values + 1);
  std::fill(values + 1 + supplied, values + 1 + program.highestInput_, 0);

  const std::size_t wanted = static_cast<std::size_t>(std::max(expressionCount, 0));
  const std::size_t compiled = std::min(wanted, program.expressions_.size());
  std::size_t next = 0;
  for (std::size_t j = 0; j < compiled; ++j) {
    const CompiledProgram::Expression& expression = program.expressions_[j];
    for (; next < expression.opsEnd; ++next) {
      const CompiledProgram::Op& op = program.ops_[next];
      values[op.target] = Apply(op.symbol, values[op.left], values[op.right]);
    }
    results[j] = values[expression.result];
  }
  for (std::size_t j = compiled; j < wanted; ++j) {
    const std::size_t depth = j - compiled;
    results[j] = depth < program.leftover_.size() ? values[program.leftover_[depth]] : 0;
  }
}

}  // namespace pelkor
