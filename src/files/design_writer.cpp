// SPDX-License-Identifier: GPL-3.0-or-later
#include <charconv>
#include <map>
#include <unordered_map>

#include "files/design_file.h"

namespace pelkor {

namespace {

// Builds the text with plain appends: a module of many thousand records is written often
// (every save) and should take no noticeable time.
class DesignWriter {
 public:
  void Text(std::string_view text) { out_ += text; }

  void Number(int value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out_.append(digits, result.ptr);
  }

  // "keyword[" then the numbers separated by commas.
  void Fields(std::string_view keyword, std::initializer_list<int> numbers) {
    out_ += keyword;
    out_ += '[';
    bool first = true;
    for (int number : numbers) {
      if (!first)
        out_ += ',';
      first = false;
      Number(number);
    }
  }

  // A body holds the stored text with every CR removed, so a CR LF becomes one LF.
  void Body(std::string_view text) {
    for (std::size_t cr; (cr = text.find('\r')) != std::string_view::npos;) {
      out_ += text.substr(0, cr);
      text.remove_prefix(cr + 1);
    }
    out_ += text;
  }

  // ",(x,y)(x,y)..." for each bend, or nothing.
  void Bends(const std::vector<Point>& bends) {
    if (bends.empty())
      return;
    out_ += ',';
    for (const Point& bend : bends) {
      out_ += '(';
      Number(bend.x);
      out_ += ',';
      Number(bend.y);
      out_ += ')';
    }
  }

  void ArcLine(std::string_view keyword, int from, int to, const Arc& arc) {
    Fields(keyword, {from, to});
    Bends(arc.bends);
    out_ += "]{";
    Body(arc.name);
    out_ += "}\n";
  }

  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

// A number missing from a renumbering (a main state or an arc end that names nothing) is
// written as 0, which again names nothing when read back.
template <typename Numbers>
int FileNumber(const Numbers& numbers, int id) {
  auto it = numbers.find(id);
  return it == numbers.end() ? 0 : it->second;
}

void WriteStateMachine(DesignWriter& w, int number, const StateMachine& machine) {
  std::map<int, int> stateNumbers;
  for (const auto& [id, state] : machine.states) {
    stateNumbers.emplace(id, static_cast<int>(stateNumbers.size()) + 1);
  }
  w.Fields("state", {number, machine.position.x, machine.position.y,
                     FileNumber(stateNumbers, machine.mainState)});
  w.Text("]{\n");
  for (const auto& [id, state] : machine.states) {
    w.Fields("sub", {stateNumbers.at(id), state.position.x, state.position.y});
    w.Text("]{\n{");
    w.Body(state.firstText.source);
    w.Text("}\n{");
    w.Body(state.secondText.source);
    w.Text("}}\n");
  }
  for (const auto& [id, arc] : machine.stateArcs) {
    w.ArcLine("smarc", FileNumber(stateNumbers, arc.from), FileNumber(stateNumbers, arc.to), arc);
  }
  w.Text("}\n");
}

// "keyword[number,x,y,fields...]{" LF body "}" LF: the shape of every top-level record other
// than a state machine and an arc.
template <typename Record>
void WriteSimpleRecord(DesignWriter& w, std::string_view keyword, int number, const Record& record,
                       std::initializer_list<int> fields, const std::string* name,
                       std::string_view body) {
  w.Fields(keyword, {number, record.position.x, record.position.y});
  for (int field : fields) {
    w.Text(",");
    w.Number(field);
  }
  if (name) {
    w.Text(",");
    w.Text(*name);
  }
  w.Text("]{\n");
  w.Body(body);
  w.Text("}\n");
}

}  // namespace

std::string WriteModule(const Module& module) {
  // File numbers 1, 2, 3, ... in record order: every kind in turn, each by ascending ID.
  std::unordered_map<int, int> numbers;
  numbers.reserve(module.kinds.size());
  auto numberAll = [&numbers](const auto& map) {
    for (const auto& entry : map)
      numbers.emplace(entry.first, static_cast<int>(numbers.size()) + 1);
  };
  numberAll(module.shiftRegisters);
  numberAll(module.stateMachines);
  numberAll(module.counters);
  numberAll(module.sources);
  numberAll(module.sinks);
  numberAll(module.instances);

  DesignWriter w;
  w.Text("//pelkor file\n");
  for (const auto& [id, r] : module.shiftRegisters) {
    WriteSimpleRecord(w, "shift", numbers.at(id), r, {r.sizeFixed ? 1 : 0, r.size, r.direction},
                      nullptr, r.ShiftOrder());
  }
  for (const auto& [id, machine] : module.stateMachines) {
    WriteStateMachine(w, numbers.at(id), machine);
  }
  for (const auto& [id, c] : module.counters) {
    WriteSimpleRecord(w, "count", numbers.at(id), c, {c.countNumber}, nullptr, c.countText.source);
  }
  for (const auto& [id, s] : module.sources) {
    WriteSimpleRecord(w, "uhzi", numbers.at(id), s,
                      {s.holdValue ? 1 : 0, s.fromEnd ? 1 : 0, s.hexDisplay ? 1 : 0}, &s.name,
                      s.data);
  }
  for (const auto& [id, s] : module.sinks) {
    WriteSimpleRecord(w, "kemmakix", numbers.at(id), s, {s.outputMode, s.hexDisplay ? 1 : 0},
                      &s.name, s.expected);
  }
  for (const auto& [id, instance] : module.instances) {
    WriteSimpleRecord(w, "module", numbers.at(id), instance, {}, nullptr, instance.moduleName);
  }
  for (const auto& [id, arc] : module.arcs) {
    w.ArcLine("arc", FileNumber(numbers, arc.from), FileNumber(numbers, arc.to), arc);
  }
  return w.Take();
}

}  // namespace pelkor
