// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "files/design_file.h"

namespace pelkor {

// Collects the design reader's problems with byte positions, and turns them into a report with
// line numbers once the read is done: one pass over the text, however many problems.
class ReadProblems {
 public:
  // A problem that spans the bytes [begin, end) of the text, end > begin; added in file order.
  void Add(ReadProblem::Kind kind, std::string text, std::size_t begin, std::size_t end);

  // The report: adjacent skipped lines joined into one span; when the module got no record
  // although the text holds more than a header line and blanks, one kNoRecords problem at the
  // end, in place of the skipped lines that tell of no failure.
  ReadReport Finish(std::string_view text, bool moduleEmpty) &&;

 private:
  struct Found {
    ReadProblem problem;
    std::size_t begin;
    std::size_t last;  // the last byte
  };
  std::vector<Found> found_;
};

}  // namespace pelkor
