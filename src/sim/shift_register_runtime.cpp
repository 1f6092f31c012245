#include "sim/shift_register_runtime.h"

#include <string.h>  // memrchr

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

}  // namespace

// Walking from the exit, the first empty cell met pulls the cell before it, which is then
// empty and pulls the one before, and so on down to the entry. So everything in front of the
// last empty cell moves one cell toward the exit in one block, and the tokens behind it stay.
bool ShiftRegisterRuntime::Advance() {
  entryWritten_ = false;
  if (cells_.size() < 2)
    return false;
  std::uint8_t* cells = cells_.data();
  const void* lastEmpty = memrchr(cells + 1, EMPTY, cells_.size() - 1);
  if (lastEmpty == nullptr)
    return false;
  const std::size_t gap = static_cast<const std::uint8_t*>(lastEmpty) - cells;
  const std::size_t first = FirstToken(cells, gap);
  if (first == gap)
    return false;  // only empty cells move
  std::memmove(cells + first + 1, cells + first, gap - first);
  cells[first] = EMPTY;
  return true;
}

}  // namespace pelkor
