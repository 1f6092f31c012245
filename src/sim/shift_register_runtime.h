#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "sim/token.h"

namespace pelkor {

// The run-time side of a shift register: its cells, from the entry (cell 0) to the exit (the
// last cell). The check fixes the number of cells; it never changes while the simulation runs.
// Cells keep token values in one byte each (they only ever hold 0, 1 or EMPTY), so that a long
// register advances with one block move.
class ShiftRegisterRuntime {
 public:
  explicit ShiftRegisterRuntime(int id) : id_(id) {}

  int id() const { return id_; }
  std::size_t size() const { return cells_.size(); }
  Token Cell(std::size_t index) const { return cells_[index]; }
  // Set when a token was put into the entry cell during this step; the advance clears it.
  bool entryWritten() const { return entryWritten_; }

  // A register without cells never has a token and never accepts one.
  bool HasToken() const { return !cells_.empty() && cells_.back() != EMPTY; }
  bool CanAccept() const { return !cells_.empty() && cells_.front() == EMPTY; }
  // The exit cell's value without taking it; EMPTY for a register without cells.
  Token ExitValue() const { return cells_.empty() ? EMPTY : cells_.back(); }
  // Returns the exit value and empties the exit cell.
  Token Take() {
    const Token value = ExitValue();
    ClearExit();
    return value;
  }
  void ClearExit() {
    if (!cells_.empty())
      cells_.back() = EMPTY;
  }
  // Refused once per step: after a first Put the entry stays written until the advance. It does
  // not test that the entry is empty; callers test CanAccept first.
  bool Put(Token value) {
    if (entryWritten_ || cells_.empty())
      return false;
    cells_.front() = static_cast<std::uint8_t>(value);
    entryWritten_ = true;
    return true;
  }

  // One step of the register: walking from the exit back to the second cell, every empty cell
  // takes the value of the cell before it. Returns whether a token moved.
  bool Advance();

  // Replaces every cell (values from entry to exit) and clears entryWritten.
  void Load(std::vector<std::uint8_t> cells) {
    cells_ = std::move(cells);
    entryWritten_ = false;
  }

 private:
  int id_;
  bool entryWritten_ = false;
  std::vector<std::uint8_t> cells_;
};

}  // namespace pelkor
