// SPDX-License-Identifier: GPL-3.0-or-later
// What a script changes in a running simulation.
#include "sim/engine.h"

namespace pelkor {

void Engine::ReplaceQueue(std::uint32_t i, std::vector<std::uint8_t> values) {
  std::vector<std::uint8_t>& queue = replacedQueues_[i];
  queue = std::move(values);
  SourceItem& source = sources_[i];
  source.queue = queue.data();
  source.queueLength = static_cast<std::uint32_t>(queue.size());
  source.emitted = 0;
  // A source that had emitted everything left the set of those that may act.
  sets_[kSourceItems].Insert(i);
}

}  // namespace pelkor
