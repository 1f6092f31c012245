// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace pelkor {

// What a command or an event changed, so that the windows repaint and refresh only what
// shows it.
enum class Change : std::uint16_t {
  kContent = 1 << 0,     // the design of a module: an edit, undo, redo, a load
  kSelection = 1 << 1,   // the objects selected
  kView = 1 << 2,        // zoom, scroll, the module or node shown, what the view draws
  kOverlay = 1 << 3,     // only what is drawn over the picture: hover frame, rubber band
  kSimulation = 1 << 4,  // the run-time state, or whether and how a simulation runs
  kFiles = 1 << 5,       // files and titles: opened, saved, named
  kSettings = 1 << 6,
  kTree = 1 << 7,  // the shape of the instance tree
};

class ChangeSet {
 public:
  constexpr ChangeSet() = default;
  constexpr ChangeSet(Change change) : bits_(static_cast<std::uint16_t>(change)) {}  // NOLINT

  constexpr bool Has(Change change) const {
    return (bits_ & static_cast<std::uint16_t>(change)) != 0;
  }
  // Whether any of the changes of `other` is in this set.
  constexpr bool HasAny(ChangeSet other) const { return (bits_ & other.bits_) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr ChangeSet& operator|=(ChangeSet other) {
    bits_ |= other.bits_;
    return *this;
  }
  constexpr friend ChangeSet operator|(ChangeSet a, ChangeSet b) { return a |= b; }
  constexpr bool operator==(const ChangeSet&) const = default;
  constexpr std::uint16_t bits() const { return bits_; }
  static constexpr ChangeSet FromBits(std::uint16_t bits) {
    ChangeSet set;
    set.bits_ = bits;
    return set;
  }

 private:
  std::uint16_t bits_ = 0;
};

constexpr ChangeSet operator|(Change a, Change b) {
  return ChangeSet(a) | ChangeSet(b);
}

}  // namespace pelkor
