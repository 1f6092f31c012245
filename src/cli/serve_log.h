// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "model/output_log.h"

namespace pelkor::cli {

// Keeps the output-log lines of a serve session until a `log` request takes them; the oldest go
// first once more than a limit wait, so a client that never asks cannot exhaust the memory.
class ServeLog : public LogSink {
 public:
  static constexpr std::size_t kMaxLines = 100'000;

  void WriteLine(std::string_view line) override {
    lines_.emplace_back(line);
    ++written_;
    if (lines_.size() > kMaxLines) {
      lines_.pop_front();
      ++dropped_;
    }
  }

  // How many lines were ever written: a mark to take the lines of one step or request by.
  std::size_t written() const { return written_; }
  // The lines still kept of those written from mark `from` up to mark `to`, one a line.
  std::string Lines(std::size_t from, std::size_t to = SIZE_MAX) const {
    std::string text;
    const std::size_t first = written_ - lines_.size();
    const std::size_t start = from > first ? from - first : 0;
    const std::size_t end = std::min(to, written_) - first;
    for (std::size_t k = start; k < end; ++k) {
      if (k != start)
        text += '\n';
      text += lines_[k];
    }
    return text;
  }

  // The lines kept, which are then forgotten, and how many were dropped before them.
  std::vector<std::string> Take(std::size_t& dropped) {
    dropped = dropped_;
    dropped_ = 0;
    std::vector<std::string> lines(std::make_move_iterator(lines_.begin()),
                                   std::make_move_iterator(lines_.end()));
    lines_.clear();
    return lines;
  }

 private:
  std::deque<std::string> lines_;
  std::size_t written_ = 0;
  std::size_t dropped_ = 0;
};

}  // namespace pelkor::cli
