// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>

#include "base/geometry.h"
#include "model/module.h"
#include "model/output_log.h"

namespace pelkor {

// Adds a copy of `source`'s primitive `id` of the given kind to `target` with the add
// operation of that kind, moved by offset. nullopt when `source` holds no such primitive.
std::optional<int> AddCopyOf(const Module& source, int id, ObjectKind kind, Module& target,
                             Point offset);

// A clipboard module holding copies of the module's selected primitives under new IDs 1..n, in
// ascending old ID, and the arcs whose two ends are both selected. Its pasteOrigin is the given
// point in model coordinates. The copies are not selected. An ID whose kind is not a primitive
// kind writes "コピーエラー" to the log and uses up its new ID all the same.
Module CopySelection(const Module& module, Point pasteOrigin, OutputLog& log);

// Adds a copy of the clipboard's primitives and arcs to `target` under fresh IDs, moved so that
// the clipboard's pasteOrigin lands on `pastePoint` (model coordinates). Returns clipboard ID ->
// new ID.
std::map<int, int> PasteClipboard(const Module& clipboard, Module& target, Point pastePoint);

}  // namespace pelkor
