// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "cli/design_test.h"

namespace pelkor::cli {

// The outcomes as a JUnit XML report, the format CI servers read: one test suite per design;
// one test case per sink with a verdict, a failing one with its received and expected bits and
// the step of its first mismatch; one test case with an error for a design that could not be
// run through, one skipped test case for a design skipped.
std::string JunitReport(const std::vector<DesignOutcome>& outcomes);

}  // namespace pelkor::cli
