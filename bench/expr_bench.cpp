// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <string>

#include "expr/expression_engine.h"
#include "expr/function_text.h"

namespace pelkor {
namespace {

// Ten operators over eight inputs: a busy state output, evaluated at every firing.
constexpr const char* kSource = "x = (a & b | ~c) ^ (d & ~e | f) & ~(g ^ h);";
constexpr int kInputCount = 8;

FunctionText PreparedText() {
  FunctionText text;
  text.source = kSource;
  RegenerateText(text);
  ExtractRightSides(text);
  return text;
}

std::string Postfix() {
  FunctionText text = PreparedText();
  ExpressionEngine engine;
  CompileToPostfix(engine, text);
  return text.postfix;
}

// Successive firings see other tokens: cycle through every combination of the inputs.
using InputSets = std::array<std::array<int, kInputCount>, 1 << kInputCount>;

InputSets AllInputSets() {
  InputSets sets{};
  for (std::size_t bits = 0; bits < sets.size(); ++bits) {
    for (int k = 0; k < kInputCount; ++k) {
      sets[bits][k] = static_cast<int>(bits >> k & 1);
    }
  }
  return sets;
}

void BM_EvaluateCompiled(benchmark::State& state) {
  const CompiledProgram program = CompiledProgram::FromPostfix(Postfix());
  const InputSets inputs = AllInputSets();
  std::size_t next = 0;
  int result = 0;
  for (auto _ : state) {
    Evaluate(program, inputs[next++ % inputs.size()].data(), kInputCount, 1, &result);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_EvaluateCompiled);

void BM_EvaluateText(benchmark::State& state) {
  const std::string postfix = Postfix();
  const InputSets inputs = AllInputSets();
  ExpressionEngine engine;
  std::size_t next = 0;
  int result = 0;
  for (auto _ : state) {
    Evaluate(engine, postfix, inputs[next++ % inputs.size()].data(), kInputCount, 1, &result);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_EvaluateText);

// What the check pays once per text: conversion plus the compiled form.
void BM_CompileText(benchmark::State& state) {
  const FunctionText prepared = PreparedText();
  for (auto _ : state) {
    FunctionText text = prepared;
    ExpressionEngine engine;
    CompileToPostfix(engine, text);
    CompiledProgram program = CompiledProgram::FromPostfix(text.postfix);
    benchmark::DoNotOptimize(program);
  }
}
BENCHMARK(BM_CompileText);

}  // namespace
}  // namespace pelkor
