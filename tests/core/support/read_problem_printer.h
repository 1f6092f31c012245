// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

#include "files/design_file.h"

namespace pelkor {

// Shows a problem in a failed expectation as its log line and its lines.
inline void PrintTo(const ReadProblem& problem, std::ostream* os) {
  *os << ReadProblemMessage(problem) << " [" << problem.firstLine << "-" << problem.lastLine << "]";
}

}  // namespace pelkor
