// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/tabled_program.h"

#include <array>

namespace pelkor {

namespace {

constexpr int kMaxTableInputs = 6;
constexpr int kMaxTableResults = 32;

}  // namespace

TabledProgram::TabledProgram(CompiledProgram program, int valueCount, int resultCount)
    : program_(std::move(program)), valueCount_(valueCount), resultCount_(resultCount) {
  if (valueCount_ > kMaxTableInputs || resultCount_ > kMaxTableResults)
    return;
  // With bit inputs every operation gives 0 or 1, so one bit per result keeps it exactly.
  table_.resize(std::size_t{1} << valueCount_);
  std::array<int, kMaxTableInputs> values{};
  std::array<int, kMaxTableResults> results{};
  for (std::size_t index = 0; index < table_.size(); ++index) {
    for (int k = 0; k < valueCount_; ++k)
      values[k] = static_cast<int>((index >> k) & 1U);
    Evaluate(program_, values.data(), valueCount_, resultCount_, results.data());
    std::uint32_t bits = 0;
    for (int j = 0; j < resultCount_; ++j) {
      if (results[j] != 0 && results[j] != 1) {
        table_.clear();  // cannot happen with bit inputs; then the table is not used
        return;
      }
      bits |= static_cast<std::uint32_t>(results[j]) << j;
    }
    table_[index] = bits;
  }
}

}  // namespace pelkor
