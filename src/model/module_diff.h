// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "model/module.h"
#include "model/object_kind.h"

namespace pelkor {

// Stands for arcs where an object change names a kind.
inline constexpr ObjectKind kArcChangeKind = -1;

enum class ChangeKind { kRemoved, kAdded, kMoved, kChanged };

// One field of an object whose value differs between the two versions. Texts are kept with
// LF line ends, as the design file holds them.
struct FieldChange {
  std::string field;  // the record's field name: "size", "contents", "bends", ...
  std::string before;
  std::string after;
  bool isText = false;  // a typed text rather than a number, a flag or a list of points

  bool operator==(const FieldChange&) const = default;
};

// An object as each version numbers it: an ID is absent on the side that lacks the object.
struct ObjectIds {
  ObjectKind kind = kNoKind;
  std::optional<int> before;
  std::optional<int> after;

  bool operator==(const ObjectIds&) const = default;
};

// One primitive or arc that differs between two versions of a module.
struct ObjectChange {
  ChangeKind change = ChangeKind::kChanged;
  ObjectIds ids;  // ids.kind is kArcChangeKind for an arc
  // A primitive's position in each version it stands in.
  std::optional<Point> positionBefore;
  std::optional<Point> positionAfter;
  // An arc's ends.
  ObjectIds from;
  ObjectIds to;
  std::string arcName;  // in `after`, or in `before` for a removed arc
  // For kChanged: the fields that differ, "position" first when the object also moved.
  std::vector<FieldChange> fields;

  bool operator==(const ObjectChange&) const = default;
};

// What differs between two versions of a module. Objects are matched by kind and position
// first, then by content, then (sources and sinks) by name, never by ID: saving renumbers
// every object, so IDs alone say nothing. Arcs are matched by their matched ends. Removed
// objects come first in the order of `before`, then the others in the order of `after`;
// then the arcs in the same way.
std::vector<ObjectChange> DiffModules(const Module& before, const Module& after);

// One line for a change, IDs written "before/after" with "-" for the side without the
// object, e.g. "moved source 3/2 (40,80) -> (40,120)".
std::string DescribeChange(const ObjectChange& change);

// "register", "machine", "counter", "source", "sink", "instance" or "arc".
std::string KindWord(ObjectKind kind);
std::string ChangeWord(ChangeKind change);

}  // namespace pelkor
