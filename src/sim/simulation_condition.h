// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>

namespace pelkor {

// The integer conditions that end a step.
inline constexpr int kInputBeforeNew = 100;         // input before "new", or no net to delete
inline constexpr int kLowerModuleNotDeleted = 101;  // a lower module has not been deleted
inline constexpr int kDeletedTwice = 102;

// The log line for a condition code, or nullptr for a code that has none.
inline const char* ConditionMessage(int code) {
  switch (code) {
    case kInputBeforeNew:
      return "newされる前に入力が起こりました";
    case kLowerModuleNotDeleted:
      return "下位モジュールをdeleteしていません";
    case kDeletedTwice:
      return "二重にdeleteされました";
    default:
      return nullptr;
  }
}

// Thrown by a step with one of the codes above; the step command writes its message. It is a
// std::exception so that a catch-all at the edge of the program sees it too.
class SimulationCondition : public std::exception {
 public:
  explicit SimulationCondition(int code) : code_(code) {}
  int code() const { return code_; }
  const char* what() const noexcept override {
    const char* message = ConditionMessage(code_);
    return message != nullptr ? message : "simulation condition";
  }

 private:
  int code_;
};

}  // namespace pelkor
