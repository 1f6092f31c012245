// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "sim/token.h"

namespace pelkor {

// One step of a register's cells, `size` of them from the entry: walking from the exit back to
// the second cell, every empty cell takes the value of the cell before it. Returns whether a
// token moved.
bool AdvanceCells(std::uint8_t* cells, std::size_t size);

// The run-time side of a shift register: its cells, from the entry (cell 0) to the exit (the
// last cell). The check fixes the number of cells; it never changes while the simulation runs.
// Cells keep token values in one byte each (they only ever hold 0, 1 or EMPTY), so that a long
// register advances with one block move.
class ShiftRegisterRuntime {
 public:
  explicit ShiftRegisterRuntime(int id) : id_(id) {}

  int id() const { return id_; }
  std::size_t size() const { return size_; }
  Token Cell(std::size_t index) const { return Cells()[index]; }
  std::span<const std::uint8_t> cells() const { return {Cells(), size_}; }
  // Set when a token was put into the entry cell during this step; the advance clears it.
  bool entryWritten() const { return entryWritten_; }

  // A register without cells never has a token and never accepts one.
  bool HasToken() const { return size_ != 0 && Cells()[size_ - 1] != EMPTY; }
  bool CanAccept() const { return size_ != 0 && Cells()[0] == EMPTY; }
  // The exit cell's value without taking it; EMPTY for a register without cells.
  Token ExitValue() const { return size_ == 0 ? EMPTY : Cells()[size_ - 1]; }
  // Returns the exit value and empties the exit cell.
  Token Take() {
    const Token value = ExitValue();
    ClearExit();
    return value;
  }
  void ClearExit() {
    if (size_ != 0)
      Cells()[size_ - 1] = EMPTY;
  }
  // Refused once per step: after a first Put the entry stays written until the advance. It does
  // not test that the entry is empty; callers test CanAccept first.
  bool Put(Token value) {
    if (entryWritten_ || size_ == 0)
      return false;
    Cells()[0] = static_cast<std::uint8_t>(value);
    entryWritten_ = true;
    return true;
  }

  // One step of the register (AdvanceCells), which also clears entryWritten.
  bool Advance();

  // Replaces every cell (values from entry to exit) and clears entryWritten.
  void Load(const std::vector<std::uint8_t>& cells);

 private:
  // Short registers, nearly all of them, keep their cells inside the record, next to their
  // neighbours', so that a step over many of them does not chase one pointer per register.
  static constexpr std::size_t kInlineCells = 24;

  std::uint8_t* Cells() { return size_ <= kInlineCells ? inline_.data() : heap_.get(); }
  const std::uint8_t* Cells() const { return size_ <= kInlineCells ? inline_.data() : heap_.get(); }

  int id_;
  bool entryWritten_ = false;
  std::size_t size_ = 0;
  std::array<std::uint8_t, kInlineCells> inline_{};
  std::unique_ptr<std::uint8_t[]> heap_;
};

}  // namespace pelkor
