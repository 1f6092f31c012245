// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/shift_register_runtime.h"

#include <string.h>  // memrchr

#include <algorithm>
#include <cstring>

namespace pelkor {

namespace {

// The first cell of [0, end) that holds a token, or end; eight cells at a time.
std::size_t FirstToken(const std::uint8_t* cells, std::size_t end) {
  constexpr std::uint64_t kEightEmpty = 0x0202020202020202ULL;
  static_assert(EMPTY == 0x02);
  std::size_t index = 0;
  for (; index + 8 <= end; index += 8) {
    std::uint64_t word;
    std::memcpy(&word, cells + index, sizeof word);
    if (word != kEightEmpty)
      break;
  }
  for (; index < end; ++index) {
    if (cells[index] != EMPTY)
      return index;
  }
  return end;
}

// The last empty cell after the entry, or 0 when there is none. Short registers, the common
// case, are searched in place; long ones with the library's vectorised search.
std::size_t LastEmptyAfterEntry(const std::uint8_t* cells, std::size_t size) {
  constexpr std::size_t kShort = 32;
  if (size > kShort) {
    const void* found = memrchr(cells + 1, EMPTY, size - 1);
    return found == nullptr ? 0 : static_cast<const std::uint8_t*>(found) - cells;
  }
  for (std::size_t index = size - 1; index > 0; --index) {
    if (cells[index] == EMPTY)
      return index;
  }
  return 0;
}

}  // namespace

// Walking from the exit, the first empty cell met pulls the cell before it, which is then
// empty and pulls the one before, and so on down to the entry. So everything in front of the
// last empty cell moves one cell toward the exit in one block, and the tokens behind it stay.
bool AdvanceCells(std::uint8_t* cells, std::size_t size) {
  if (size < 2)
    return false;
  const std::size_t gap = LastEmptyAfterEntry(cells, size);
  if (gap == 0)
    return false;
  const std::size_t first = FirstToken(cells, gap);
  if (first == gap)
    return false;  // only empty cells move
  std::memmove(cells + first + 1, cells + first, gap - first);
  cells[first] = EMPTY;
  return true;
}

bool ShiftRegisterRuntime::Advance() {
  entryWritten_ = false;
  return AdvanceCells(Cells(), size_);
}

void ShiftRegisterRuntime::Load(const std::vector<std::uint8_t>& cells) {
  size_ = cells.size();
  heap_.reset();
  if (size_ > kInlineCells)
    heap_ = std::make_unique_for_overwrite<std::uint8_t[]>(size_);
  std::copy(cells.begin(), cells.end(), Cells());
  entryWritten_ = false;
}

}  // namespace pelkor
