// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "edit/change.h"

namespace pelkor {

// Where the parts of the workspace note what a command changed; the workspace tells the windows
// once the command ends.
class ChangeSink {
 public:
  virtual void Changed(ChangeSet changes) = 0;

 protected:
  ~ChangeSink() = default;
};

}  // namespace pelkor
