// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/waveform/signal_history.h"

#include <algorithm>

#include "model/sink_verification.h"
#include "workspace/waveform/live_nodes.h"

namespace pelkor {

namespace {

// A cell's byte: the value in bits 0-1, the expectation in bits 2-3 (kNoExpectation for none),
// the mismatch flag in bit 4.
constexpr std::uint8_t kNoExpectation = 2;
constexpr std::uint8_t kMismatchBit = 0x10;

std::uint8_t Encode(std::uint8_t value, std::uint8_t expected, bool mismatch) {
  return static_cast<std::uint8_t>(value | expected << 2 | (mismatch ? kMismatchBit : 0));
}

// What a column costs besides its bytes: the vector and the allocator's bookkeeping.
constexpr std::size_t kColumnOverhead = sizeof(std::vector<std::uint8_t>) + 16;

}  // namespace

std::string HistoryRow::Label() const {
  const std::size_t slash = path.find('/');
  const std::string below = slash == std::string::npos ? "" : path.substr(slash + 1) + " ";
  return below + SignalName(signal) + name;
}

void SignalHistory::Clear() {
  *this = SignalHistory(byteLimit_);
}

bool SignalHistory::Watch(const Simulation& simulation, const RuntimeInstance& root,
                          const std::string& path) {
  const RuntimeInstance* node = FindNode(root, path);
  if (node == nullptr || !simulation.HasState(*node) ||
      std::any_of(watched_.begin(), watched_.end(),
                  [&](const Watched& watched) { return watched.path == path; })) {
    return false;
  }
  const Module& net = simulation.ModuleOf(*node);
  Watched watched{path, rows_.size(), 0};
  for (const SignalRef& signal : SignalsOf(net)) {
    HistoryRow row{path, signal, "", {}};
    if (signal.kind == SignalKind::kSink) {
      const SinkTransition& sink = net.sinks.at(signal.id);
      row.name = sink.name.empty() ? "" : "<" + sink.name + ">";
      row.expected = ExpectedArrivals(sink);
    } else if (signal.kind == SignalKind::kSource) {
      const std::string& name = net.sources.at(signal.id).name;
      row.name = name.empty() ? "" : "<" + name + ">";
    }
    rows_.push_back(std::move(row));
    // Values already taken or emitted are history before the watch began.
    std::size_t seen = 0;
    SampleSignal({simulation, *node}, signal, seen);
    seen_.push_back(seen);
    ++watched.rowCount;
    if (signal.kind == SignalKind::kRegisterExit)
      ++watched.registerRows;
  }
  watched_.push_back(std::move(watched));
  return true;
}

std::uint8_t SignalHistory::SampleRow(const RunningNode& running, std::size_t row, bool& mismatch) {
  const HistoryRow& history = rows_[row];
  if (history.signal.kind != SignalKind::kSink || history.expected.empty() || !running.HasState()) {
    return Encode(SampleSignal(running, history.signal, seen_[row]), kNoExpectation, false);
  }
  const Arrivals arrivals = NewArrivals(running, history.signal.id, seen_[row]);
  if (arrivals.end == arrivals.first)
    return Encode(kSignalEmpty, kNoExpectation, false);
  const bool departs =
      FirstDeparture(running, history.signal.id, arrivals, history.expected).has_value();
  const std::size_t last = arrivals.end - 1;
  const int value = ReceivedAt(running, history.signal.id, last);
  const std::uint8_t expected = last < history.expected.size()
                                    ? static_cast<std::uint8_t>(history.expected[last])
                                    : kNoExpectation;
  mismatch = mismatch || departs;
  return Encode(SignalBit(value), expected, departs);
}

void SignalHistory::Sample(const Simulation& simulation, const RuntimeInstance& root,
                           std::int64_t step) {
  std::vector<std::uint8_t> column(rows_.size(), Encode(kSignalUnknown, kNoExpectation, false));
  bool mismatch = false;
  for (const Watched& watched : watched_) {
    const RuntimeInstance* node = FindNode(root, watched.path);
    if (node == nullptr)
      continue;
    // A large module has thousands of registers: their exits are read in one pass.
    std::size_t row = watched.firstRow;
    exits_.resize(watched.registerRows);
    if (simulation.RegisterExits(*node, exits_)) {
      for (const std::uint8_t exit : exits_)
        column[row++] = Encode(SignalBit(exit), kNoExpectation, false);
    }
    for (; row < watched.firstRow + watched.rowCount; ++row)
      column[row] = SampleRow({simulation, *node}, row, mismatch);
  }
  if (columns_.empty())
    firstStep_ = step;
  bytes_ += column.capacity() + kColumnOverhead;
  columns_.push_back(std::move(column));
  if (mismatch)
    mismatchSteps_.push_back(step);
  while (bytes_ > byteLimit_ && columns_.size() > 1)
    DropOldest();
}

void SignalHistory::DropOldest() {
  bytes_ -= columns_.front().capacity() + kColumnOverhead;
  columns_.pop_front();
  ++firstStep_;
  ++droppedSteps_;
  while (!mismatchSteps_.empty() && mismatchSteps_.front() < firstStep_)
    mismatchSteps_.pop_front();
}

void SignalHistory::CutAfter(std::int64_t step, const std::vector<std::size_t>& seen,
                             const Simulation& simulation, const RuntimeInstance& root) {
  while (!columns_.empty() && lastStep() > step) {
    bytes_ -= columns_.back().capacity() + kColumnOverhead;
    columns_.pop_back();
  }
  while (!mismatchSteps_.empty() && mismatchSteps_.back() > step)
    mismatchSteps_.pop_back();
  std::copy_n(seen.begin(), std::min(seen.size(), seen_.size()), seen_.begin());
  for (const Watched& watched : watched_) {
    const RuntimeInstance* node = FindNode(root, watched.path);
    for (std::size_t row = std::max(watched.firstRow, seen.size());
         row < watched.firstRow + watched.rowCount; ++row) {
      seen_[row] = 0;
      if (node != nullptr)
        SampleSignal({simulation, *node}, rows_[row].signal, seen_[row]);
    }
  }
}

HistoryCell SignalHistory::At(std::size_t row, std::int64_t step) const {
  if (columns_.empty() || step < firstStep_ || step > lastStep())
    return {};
  const std::vector<std::uint8_t>& column = columns_[static_cast<std::size_t>(step - firstStep_)];
  if (row >= column.size())
    return {};
  const std::uint8_t cell = column[row];
  HistoryCell shown;
  shown.value = cell & 3;
  if (const int expected = (cell >> 2) & 3; expected != kNoExpectation)
    shown.expected = expected;
  shown.mismatch = (cell & kMismatchBit) != 0;
  return shown;
}

std::optional<std::int64_t> SignalHistory::NextMismatch(std::int64_t after) const {
  const auto next = std::upper_bound(mismatchSteps_.begin(), mismatchSteps_.end(), after);
  return next != mismatchSteps_.end() ? std::optional(*next) : std::nullopt;
}

std::vector<VcdSignal> SignalHistory::VcdSignals() const {
  std::vector<VcdSignal> signals;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    VcdSignal signal{rows_[row].path, SignalName(rows_[row].signal), {}};
    if (!columns_.empty()) {
      for (std::int64_t step = firstStep_; step <= lastStep(); ++step) {
        const char value = VcdValue(rows_[row].signal.kind, At(row, step).value);
        if (signal.changes.empty() || signal.changes.back().second != value)
          signal.changes.emplace_back(step, value);
      }
    }
    signals.push_back(std::move(signal));
  }
  return signals;
}

}  // namespace pelkor
