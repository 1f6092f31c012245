// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes through the expression language: as a function text (plain, and behind a
// guard statement) from Normalize to Evaluate, as hand-made right sides, and as a postfix
// program. Every failure must be a MessageError, and the compiled form must always give the
// text interpreter's results.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/errors.h"
#include "expr/expression_engine.h"
#include "expr/function_text.h"

namespace pelkor {
namespace {

bool IsBit(int value) {
  return value == 0 || value == 1;
}

// Token values picked by the input bytes, so that every run is reproducible.
std::vector<int> TokenValues(const std::string& bytes, std::size_t count, unsigned salt) {
  std::vector<int> values(count);
  unsigned hash = 2166136261u ^ salt;
  for (const char ch : bytes) {
    hash = (hash ^ static_cast<unsigned char>(ch)) * 16777619u;
  }
  for (std::size_t k = 0; k < count; ++k) {
    hash = hash * 1103515245u + 12345u;
    values[k] = static_cast<int>(hash >> 16) % 3;  // 0, 1 or EMPTY
  }
  return values;
}

void ExpectSameResults(const std::string& postfix, const std::vector<int>& inputs, int inputCount,
                       int expressionCount, bool wellFormed) {
  ExpressionEngine engine;
  std::vector<int> fromText(static_cast<std::size_t>(expressionCount), -1);
  std::vector<int> fromCompiled(static_cast<std::size_t>(expressionCount), -2);
  Evaluate(engine, postfix, inputs.data(), inputCount, expressionCount, fromText.data());
  Evaluate(CompiledProgram::FromPostfix(postfix), inputs.data(), inputCount, expressionCount,
           fromCompiled.data());
  if (fromText != fromCompiled) {
    std::abort();
  }
  // The compiler's programs keep bits as bits.
  if (wellFormed && std::ranges::all_of(inputs, IsBit) && !std::ranges::all_of(fromText, IsBit)) {
    std::abort();
  }
}

// One text as a dialog and the check treat it; the guard is split off when there is one.
void RunPipeline(const std::string& source, ExpressionEngine& engine) {
  FunctionText text;
  text.source = source;
  try {
    RegenerateText(text);
    SplitGuard(text);
    ExtractRightSides(text);
    CompileToPostfix(engine, text);
  } catch (const MessageError&) {
    return;
  }
  const int expressionCount = static_cast<int>(text.outputs.size());
  for (unsigned salt = 0; salt < 3; ++salt) {
    std::vector<int> inputs = TokenValues(source, text.inputs.size(), salt);
    for (int& value : inputs) {
      value = salt == 0 ? value % 2 : value;
    }
    ExpectSameResults(text.postfix, inputs, static_cast<int>(inputs.size()), expressionCount, true);
  }
}

void RunRightSides(const std::string& bytes) {
  FunctionText text;
  text.rightSides = bytes;
  const int inputCount = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % 101;
  for (int k = 1; k <= inputCount; ++k) {
    text.inputs.emplace(std::to_string(k), k);
  }
  ExpressionEngine engine;
  try {
    CompileToPostfix(engine, text);
  } catch (const MessageError&) {
    return;
  }
  int lineCount = 0;
  for (const char ch : text.postfix) {
    lineCount += ch == '\n' ? 1 : 0;
  }
  const std::vector<int> inputs = TokenValues(bytes, static_cast<std::size_t>(inputCount), 1);
  ExpectSameResults(text.postfix, inputs, inputCount, lineCount, true);
}

void RunPostfix(const std::string& bytes) {
  const int expressionCount = bytes.empty() ? 1 : static_cast<unsigned char>(bytes.back()) % 9;
  const int inputCount = bytes.size() < 2 ? 0 : static_cast<signed char>(bytes[1]);
  const std::vector<int> inputs = TokenValues(bytes, 130, 7);
  ExpectSameResults(bytes, inputs, inputCount, expressionCount, false);
}

}  // namespace
}  // namespace pelkor

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelkor;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ExpressionEngine engine;
  RunPipeline(bytes, engine);
  // Behind a guard, and compiled by the same engine as the first text, as a state's two texts.
  RunPipeline("? guard & ~stop;\r\n" + bytes, engine);
  RunRightSides(bytes);
  RunPostfix(bytes);
  return 0;
}
