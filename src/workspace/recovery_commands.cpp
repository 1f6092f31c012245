// SPDX-License-Identifier: GPL-3.0-or-later
// The workspace's part in crash recovery: starting this program's session, writing the copies
// when asked, and putting back a design a crashed program left.
#include "base/errors.h"
#include "workspace/workspace.h"

namespace pelkor {

bool Workspace::EnableRecovery(const std::filesystem::path& recoveryFolder) {
  const CommandScope scope(*this);
  try {
    recovery_.emplace(document_, log_, recoveryFolder);
  } catch (const MessageError& e) {
    log_.WriteText(e.what());
    return false;
  }
  return true;
}

void Workspace::WriteRecoveryCopies() {
  const CommandScope scope(*this);
  if (recovery_)
    recovery_->WriteCopies();
}

void Workspace::RestoreRecovered(AbandonedSession& session) {
  const CommandScope scope(*this);
  if (IsSimulating())
    return;
  editor_.tools().DropToolState();
  document_.Restore(session.design, ReadRecoveryCopies(session, log_));
  LoadBreakpoints();
  // The old copies go only once this program holds its own.
  if (recovery_ && recovery_->WriteCopies())
    DiscardSession(session);
}

void Workspace::EndRecoveryCleanly() {
  const CommandScope scope(*this);
  if (recovery_)
    recovery_->EndCleanly();
}

}  // namespace pelkor
