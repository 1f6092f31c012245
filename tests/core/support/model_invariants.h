// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "model/model_invariants.h"

namespace pelkor::testing {

// Use as EXPECT_TRUE(ModuleInvariantsHold(module)) << "after step " << i;
inline ::testing::AssertionResult ModuleInvariantsHold(const Module& m) {
  const std::string violation = ModuleInvariantViolation(m);
  if (violation.empty())
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << violation;
}

inline ::testing::AssertionResult ArcsJoinExistingPrimitives(const Module& m) {
  const std::string violation = ArcEndsViolation(m);
  if (violation.empty())
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << violation;
}

}  // namespace pelkor::testing
