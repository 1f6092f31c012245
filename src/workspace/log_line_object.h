// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/object_kind.h"

namespace pelkor {

// An object a log line names, and where it is.
struct LoggedObject {
  // A node path as NodePath writes it ("top/5/2"), or, in the check's messages, which name
  // only the module, that module's name.
  std::string place;
  bool placeIsPath = false;
  ObjectKind kind = kNoKind;
  int id = 0;

  bool operator==(const LoggedObject&) const = default;
};

// The object a log line names: a check error ("<module>のシフトレジスタ3にエラー"), a sink's
// verdict ("top/5のケムマキ2<out>がステップ…", "照合結果: … (top/5のケムマキ2、…)": the first
// sink named), or a line that begins with a node path, a space, a kind name and an ID
// ("top/5/2 シフトレジスタ3: …"). The messages of a machine's arcs that name no object (an arc
// without a name, the arc counts) are followed by the machine's own error line, so they take
// the object of `next`, the line written after them. nullopt for any other line.
std::optional<LoggedObject> ObjectOfLogLine(std::string_view line, std::string_view next = {});

}  // namespace pelkor
