// SPDX-License-Identifier: GPL-3.0-or-later
// Register preparation, source queues, and the sources and sinks of a node.
#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>

#include "sim/compile_steps.h"

namespace pelkor {

namespace {

// Far beyond any drawn design; a size typed past it fails the register instead of taking all
// memory.
constexpr std::size_t kMaxRegisterCells = std::size_t{1} << 27;

std::vector<const Arc*> ArcsIn(const Module& module, const ArcIndex& index, int id) {
  std::vector<const Arc*> arcs;
  auto [begin, end] = index.equal_range(id);
  for (auto it = begin; it != end; ++it) {
    if (auto arc = module.arcs.find(it->second); arc != module.arcs.end()) {
      arcs.push_back(&arc->second);
    }
  }
  return arcs;
}

bool IsBit(char ch) {
  return ch == '0' || ch == '1';
}

// The four binary digits of a hexadecimal digit, most significant first; empty for any other
// character.
std::string HexDigitBits(char ch) {
  int value;
  if (ch >= '0' && ch <= '9') {
    value = ch - '0';
  } else if (ch >= 'A' && ch <= 'F') {
    value = ch - 'A' + 10;
  } else if (ch >= 'a' && ch <= 'f') {
    value = ch - 'a' + 10;
  } else {
    return {};
  }
  std::string bits;
  for (int bit = 3; bit >= 0; --bit)
    bits += ((value >> bit) & 1) != 0 ? '1' : '0';
  return bits;
}

// Every line (between CR LF separators) reversed, joined without separators.
std::string ReverseLines(const std::string& text) {
  std::string joined;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(text.find("\r\n", start), text.size());
    joined.append(text.rbegin() + static_cast<std::ptrdiff_t>(text.size() - end),
                  text.rbegin() + static_cast<std::ptrdiff_t>(text.size() - start));
    if (end == text.size())
      return joined;
    start = end + 2;
  }
}

}  // namespace

bool ParentHasPortArc(const Module* parentNet, int instanceNumber, const std::string& name,
                      bool intoInstance) {
  if (name.empty() || parentNet == nullptr)
    return false;
  const std::vector<const Arc*> arcs =
      intoInstance ? ArcsInto(*parentNet, instanceNumber) : ArcsOutOf(*parentNet, instanceNumber);
  return std::any_of(arcs.begin(), arcs.end(), [&](const Arc* arc) { return arc->name == name; });
}

std::vector<const Arc*> ArcsInto(const Module& module, int id) {
  return ArcsIn(module, module.arcsInto, id);
}

std::vector<const Arc*> ArcsOutOf(const Module& module, int id) {
  return ArcsIn(module, module.arcsOutOf, id);
}

bool PrepareRegister(const ShiftRegister& design, ShiftRegisterRuntime& shiftRegister) {
  std::vector<std::uint8_t> digits;
  for (const char ch : design.contents) {
    if (IsBit(ch))
      digits.push_back(static_cast<std::uint8_t>(ch - '0'));
  }
  std::size_t length = digits.size() + 1;
  if (design.sizeFixed) {
    if (design.size < 0 || static_cast<std::size_t>(design.size) < length)
      return false;
    length = static_cast<std::size_t>(design.size);
  }
  if (length > kMaxRegisterCells)
    return false;
  std::vector<std::uint8_t> cells;
  try {
    cells.assign(length - digits.size(), static_cast<std::uint8_t>(EMPTY));
    cells.insert(cells.end(), digits.begin(), digits.end());
  } catch (const std::bad_alloc&) {
    return false;
  }
  shiftRegister.Load(cells);
  return true;
}

std::vector<std::uint8_t> BuildSourceQueue(const SourceTransition& source) {
  std::string text = source.data;
  if (source.hexDisplay) {
    std::string bits;
    for (const char ch : text)
      bits += ch == '\r' || ch == '\n' ? std::string(1, ch) : HexDigitBits(ch);
    text = std::move(bits);
  }
  if (source.fromEnd)
    text = ReverseLines(text);
  std::vector<std::uint8_t> queue;
  for (const char ch : text) {
    if (IsBit(ch))
      queue.push_back(static_cast<std::uint8_t>(ch - '0'));
  }
  return queue;
}

// A source or sink with more than one arc on its register side stops the walk over its kind:
// it and the ones after it stay without a register, so they never act.
void PrepareSourcesAndSinks(const Module& net, const Module* parentNet, int instanceNumber,
                            NetRuntime& runtime) {
  const auto isPort = [&](const std::string& name, bool intoInstance) {
    return ParentHasPortArc(parentNet, instanceNumber, name, intoInstance);
  };
  runtime.sources.clear();
  bool walking = true;
  for (const auto& [id, source] : net.sources) {
    SourceRuntime& prepared = runtime.sources.emplace_back();
    prepared.id = id;
    if (!walking)
      continue;
    prepared.dataQueue = BuildSourceQueue(source);
    prepared.holdValue = source.holdValue;
    const std::vector<const Arc*> arcs = ArcsOutOf(net, id);
    if (arcs.size() > 1) {
      walking = false;
      continue;
    }
    if (arcs.size() == 1)
      prepared.output = runtime.FindRegister(arcs.front()->to);
    prepared.isPort = isPort(source.name, true);
  }

  runtime.sinks.clear();
  walking = true;
  for (const auto& [id, sink] : net.sinks) {
    SinkRuntime& prepared = runtime.sinks.emplace_back();
    prepared.id = id;
    if (!walking)
      continue;
    const std::vector<const Arc*> arcs = ArcsInto(net, id);
    if (arcs.size() > 1) {
      walking = false;
      continue;
    }
    if (arcs.size() == 1)
      prepared.input = runtime.FindRegister(arcs.front()->from);
    prepared.isPort = isPort(sink.name, false);
  }
}

}  // namespace pelkor
