// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "expr/expression_engine.h"

namespace pelkor {

// A compiled program together with the number of input values and of results every firing asks
// of it, and, for a few inputs, its results for every combination of 0 and 1 inputs worked out
// in advance: nearly every firing reads bit tokens, and then it looks its results up.
class TabledProgram {
 public:
  TabledProgram() = default;
  TabledProgram(CompiledProgram program, int valueCount, int resultCount);

  int valueCount() const { return valueCount_; }
  int resultCount() const { return resultCount_; }

  // Evaluate (program, values, valueCount, resultCount, results), by the table when it can.
  void Run(const int* values, int* results) const {
    if (!table_.empty()) {
      unsigned index = 0;
      int k = 0;
      for (; k < valueCount_; ++k) {
        if ((values[k] & ~1) != 0)
          break;
        index |= static_cast<unsigned>(values[k]) << k;
      }
      if (k == valueCount_) {
        const std::uint32_t bits = table_[index];
        for (int j = 0; j < resultCount_; ++j)
          results[j] = static_cast<int>((bits >> j) & 1U);
        return;
      }
    }
    Evaluate(program_, values, valueCount_, resultCount_, results);
  }

 private:
  CompiledProgram program_;
  int valueCount_ = 0;
  int resultCount_ = 0;
  // Entry i: bit j is result j for the inputs whose bit k of i is input k + 1. Empty when there
  // are too many inputs or results for a table.
  std::vector<std::uint32_t> table_;
};

}  // namespace pelkor
