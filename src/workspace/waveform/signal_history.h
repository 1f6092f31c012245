// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "model/runtime_instance.h"
#include "workspace/waveform/run_signals.h"
#include "workspace/waveform/vcd_writer.h"

namespace pelkor {

// One waveform row: a signal of the node at `path`.
struct HistoryRow {
  std::string path;
  SignalRef signal;
  std::string name;  // "<out>" for a named source or sink, otherwise empty
  // For a sink with a verdict: the value expected of each arrival, in arrival order.
  std::vector<int> expected;

  // "sink7<out>" for the root's rows, "5/2 reg3" below it: the instance numbers under the root.
  std::string Label() const;
};

// What a row shows at one step. For a sink row, `expected` is the value expected of what
// arrived in that step (none when nothing arrived or nothing more was expected), and
// `mismatch` tells that the arrival departed from its expectation.
struct HistoryCell {
  std::uint8_t value = kSignalUnknown;
  std::optional<int> expected;
  bool mismatch = false;
};

// The values of the watched signals after every step of a simulation, one column per step.
// The columns together stay within a byte limit: when a new one would pass it, the oldest go.
class SignalHistory {
 public:
  static constexpr std::size_t kDefaultByteLimit = std::size_t{64} << 20;

  explicit SignalHistory(std::size_t byteLimit = kDefaultByteLimit) : byteLimit_(byteLimit) {}

  // Forgets every row and column.
  void Clear();
  // Adds a row for each signal of the node at `path` below `root`, from the next sample on;
  // false when no such node has run-time state or its rows are there already.
  bool Watch(const Simulation& simulation, const RuntimeInstance& root, const std::string& path);
  // Records the rows' values after step `step` (0: right after the check).
  void Sample(const Simulation& simulation, const RuntimeInstance& root, std::int64_t step);

  // What each row had seen after the last sample: the values its sink took or its source
  // emitted.
  const std::vector<std::size_t>& seen() const { return seen_; }
  // Back to the end of step `step`, where the rows had seen `seen` (the rows watched since have
  // seen what the simulation now shows): the later columns go.
  void CutAfter(std::int64_t step, const std::vector<std::size_t>& seen,
                const Simulation& simulation, const RuntimeInstance& root);

  const std::vector<HistoryRow>& rows() const { return rows_; }
  bool empty() const { return columns_.empty(); }
  // The steps held, first to last; valid unless empty.
  std::int64_t firstStep() const { return firstStep_; }
  std::int64_t lastStep() const {
    return firstStep_ + static_cast<std::int64_t>(columns_.size()) - 1;
  }
  // How many of the oldest steps were dropped to stay within the limit.
  std::int64_t droppedSteps() const { return droppedSteps_; }
  HistoryCell At(std::size_t row, std::int64_t step) const;
  // The first step after `after` in which a sink row departed from its expectation.
  std::optional<std::int64_t> NextMismatch(std::int64_t after) const;
  // The steps held, as VCD signals with the step numbers as times.
  std::vector<VcdSignal> VcdSignals() const;

 private:
  struct Watched {
    std::string path;
    std::size_t firstRow = 0;
    std::size_t rowCount = 0;
    std::size_t registerRows = 0;  // the first rows: the node's registers in ascending ID
  };
  std::uint8_t SampleRow(const RunningNode& running, std::size_t row, bool& mismatch);
  void DropOldest();

  std::size_t byteLimit_;
  std::size_t bytes_ = 0;
  std::vector<HistoryRow> rows_;
  std::vector<std::uint8_t> exits_;  // room for one watched node's register exits
  std::vector<std::size_t> seen_;    // per row: what its sink took or its source emitted so far
  std::vector<Watched> watched_;
  // One byte per row and step: the value, the expectation and the mismatch flag.
  std::deque<std::vector<std::uint8_t>> columns_;
  std::int64_t firstStep_ = 0;
  std::int64_t droppedSteps_ = 0;
  std::deque<std::int64_t> mismatchSteps_;  // ascending
};

}  // namespace pelkor
