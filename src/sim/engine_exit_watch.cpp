// SPDX-License-Identifier: GPL-3.0-or-later
// Watching a few registers' exits through a step for arriving tokens. A token reaches the exit
// of a register of several cells only when the cells advance, into an exit that is empty then;
// a one-cell register's exit is its entry, which a token reaches when it is put there.
#include <algorithm>

#include "sim/engine.h"

namespace pelkor {

void Engine::WatchExits(std::vector<std::uint32_t> registers) {
  std::sort(registers.begin(), registers.end());
  registers.erase(std::unique(registers.begin(), registers.end()), registers.end());
  watchedExits_.clear();
  for (const std::uint32_t r : registers)
    watchedExits_.push_back({r});
}

bool Engine::ExitReached(std::uint32_t r) const {
  const auto it = std::lower_bound(
      watchedExits_.begin(), watchedExits_.end(), r,
      [](const WatchedExit& watched, std::uint32_t wanted) { return watched.r < wanted; });
  return it != watchedExits_.end() && it->r == r && it->reached;
}

void Engine::NoteExits(StepMoment moment) {
  for (WatchedExit& watched : watchedExits_) {
    if (watched.r >= registers_.size())
      continue;
    const RegisterSlot& slot = registers_[watched.r];
    const bool single = slot.last == 0;
    switch (moment) {
      case StepMoment::kStart:
        // A one-cell register put into by the last phase 6 takes nothing more before phase 5.
        watched.reached = false;
        watched.mark = single && slot.written != 0;
        break;
      case StepMoment::kBeforeAdvance:
        if (single)
          watched.reached = !watched.mark && slot.written != 0;
        else
          watched.mark = ExitValue(watched.r) == EMPTY;
        break;
      case StepMoment::kAfterAdvance:
        if (!single && watched.mark && ExitValue(watched.r) != EMPTY)
          watched.reached = true;
        break;
      case StepMoment::kAfterEmit:
        if (single && slot.written != 0)
          watched.reached = true;
        break;
    }
  }
}

}  // namespace pelkor
