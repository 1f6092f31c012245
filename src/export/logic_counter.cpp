// SPDX-License-Identifier: GPL-3.0-or-later
#include <fmt/format.h>

#include "export/logic_generation.h"

namespace pelkor {
namespace {

// "ci<from>" through "ci<to>", counting up or down, joined by "&".
std::string JoinedBits(int from, int to) {
  std::string text;
  const int step = from <= to ? 1 : -1;
  for (int k = from;; k += step) {
    if (k != from)
      text += '&';
    text += fmt::format("ci{}", k);
    if (k == to)
      break;
  }
  return text;
}

}  // namespace

int CounterBitCount(int countNumber) {
  int bits = 1;
  while (bits < kMaxCounterBits && bits * bits < countNumber)
    ++bits;
  return bits;
}

bool CounterFitsLogic(const Counter& counter) {
  return counter.countNumber >= 1 && counter.countNumber <= kMaxCounterBits * kMaxCounterBits;
}

std::string CounterLogic(const Counter& counter) {
  if (!counter.countText.source.empty())
    return {};
  const int bits = CounterBitCount(counter.countNumber);
  // Bit 1 toggles at every firing; bit k toggles when every lower bit is 1.
  std::string text = "co1=~ci1;\r\n";
  for (int k = 2; k <= bits; ++k) {
    text += fmt::format("co{}=ci{}^", k, k);
    text += k == 2 ? "ci1;\r\n" : "(" + JoinedBits(k - 1, 1) + ");\r\n";
  }
  text += "start=" + JoinedBits(1, bits) + ";";
  return text;
}

Module BuildCounterModule(const Counter& counter) {
  Module module;
  const int bits = CounterBitCount(counter.countNumber);
  const int machine = module.AddStateMachine(SingleStateMachine({100, 100}, CounterLogic(counter)));

  // The bit registers stand in a column centred on the machine, each looping back to it.
  int y = 100 - (bits * 50) / 2;
  for (int k = 1; k <= bits; ++k) {
    ShiftRegister bit;
    bit.contents = "0";
    bit.position = {200, y};
    const int reg = module.AddShiftRegister(bit);
    module.AddArc(machine, reg, {}, fmt::format("co{}", k));
    module.AddArc(reg, machine, {{300, y}, {300, 0}, {100, 0}}, fmt::format("ci{}", k));
    y += 50;
  }

  ShiftRegister start;
  start.position = {50, 100};
  const int startReg = module.AddShiftRegister(start);
  module.AddArc(machine, startReg, {}, "start");

  SinkTransition out;
  out.name = "out";
  out.position = {0, 100};
  const int sink = module.AddSink(out);
  module.AddArc(startReg, sink, {}, "");
  return module;
}

}  // namespace pelkor
