// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace/waveform/vcd_writer.h"

#include <algorithm>

#include "workspace/waveform/live_nodes.h"

namespace pelkor {

namespace {

// VCD identifier codes: base 94 over the printable characters '!' to '~'.
std::string IdentifierCode(std::size_t index) {
  std::string code;
  do {
    code += static_cast<char>('!' + index % 94);
    index /= 94;
  } while (index > 0);
  return code;
}

std::vector<std::string> Segments(const std::string& path) {
  std::vector<std::string> segments;
  std::size_t start = 0;
  for (std::size_t slash = path.find('/'); slash != std::string::npos;
       slash = path.find('/', start)) {
    segments.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  segments.push_back(path.substr(start));
  return segments;
}

// Node paths in tree order: a parent before its children, instance numbers ascending.
bool TreeOrder(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (a[i] == b[i])
      continue;
    if (i == 0)
      return a[i] < b[i];
    return std::stoll(a[i]) < std::stoll(b[i]);
  }
  return a.size() < b.size();
}

// The signals of each node path, the paths in tree order.
struct NodeSignals {
  std::vector<std::string> path;  // split at "/"
  std::vector<std::size_t> members;
};

std::vector<NodeSignals> InTreeOrder(const std::vector<VcdSignal>& wires) {
  std::map<std::string, std::vector<std::size_t>> byPath;
  for (std::size_t i = 0; i < wires.size(); ++i)
    byPath[wires[i].path].push_back(i);
  std::vector<NodeSignals> nodes;
  for (auto& [path, members] : byPath)
    nodes.push_back({Segments(path), std::move(members)});
  std::sort(nodes.begin(), nodes.end(),
            [](const NodeSignals& a, const NodeSignals& b) { return TreeOrder(a.path, b.path); });
  return nodes;
}

}  // namespace

char VcdValue(SignalKind kind, std::uint8_t value) {
  switch (value) {
    case 0:
      return '0';
    case 1:
      return '1';
    case kSignalEmpty:
      return kind == SignalKind::kRegisterExit ? 'z' : 'x';
    default:
      return 'x';
  }
}

void VcdRecorder::Sample(const Simulation& simulation, const RuntimeInstance& root,
                         std::int64_t step) {
  const auto set = [&](std::size_t index, char value) {
    Recorded& recorded = recorded_[index];
    if (recorded.value == value && !signals_[index].changes.empty())
      return;
    recorded.value = value;
    signals_[index].changes.emplace_back(step, value);
  };
  std::vector<bool> sampled(signals_.size(), false);
  ForEachLiveNode(simulation, root, [&](const LiveNode& live) {
    for (const SignalRef& signal : SignalsOf(simulation.ModuleOf(live.node))) {
      const std::string name = SignalName(signal);
      const auto [it, added] = index_.try_emplace(live.path + "/" + name, signals_.size());
      if (added) {
        signals_.push_back({live.path, name, {}});
        recorded_.push_back({signal.kind});
        sampled.push_back(false);
      }
      Recorded& recorded = recorded_[it->second];
      set(it->second,
          VcdValue(signal.kind, SampleSignal({simulation, live.node}, signal, recorded.seen)));
      sampled[it->second] = true;
    }
  });
  // A node that lost its working copy shows unknown values until it has one again.
  for (std::size_t i = 0; i < signals_.size(); ++i) {
    if (!sampled[i])
      set(i, 'x');
  }
}

void WriteVcd(std::ostream& out, const std::vector<VcdSignal>& wires) {
  out << "$version pelkor $end\n$timescale 1 ns $end\n";

  const std::vector<NodeSignals> nodes = InTreeOrder(wires);
  std::vector<std::string> open;  // the scopes entered so far
  for (const auto& [path, members] : nodes) {
    std::size_t keep = 0;
    while (keep < open.size() && keep < path.size() && open[keep] == path[keep])
      ++keep;
    for (std::size_t i = open.size(); i > keep; --i)
      out << "$upscope $end\n";
    open.resize(keep);
    for (std::size_t i = keep; i < path.size(); ++i) {
      out << "$scope module " << path[i] << " $end\n";
      open.push_back(path[i]);
    }
    for (const std::size_t index : members) {
      out << "$var wire 1 " << IdentifierCode(index) << ' ' << wires[index].name << " $end\n";
    }
  }
  for (std::size_t i = open.size(); i > 0; --i)
    out << "$upscope $end\n";
  out << "$enddefinitions $end\n";

  // Changes merged by time; every signal starts unknown until its first sample.
  std::map<std::int64_t, std::vector<std::pair<std::size_t, char>>> timeline;
  for (std::size_t i = 0; i < wires.size(); ++i) {
    for (const auto& [step, value] : wires[i].changes)
      timeline[step].emplace_back(i, value);
  }
  out << "#0\n$dumpvars\n";
  std::map<std::size_t, char> initial;
  for (std::size_t i = 0; i < wires.size(); ++i)
    initial[i] = 'x';
  if (auto first = timeline.find(0); first != timeline.end()) {
    for (const auto& [index, value] : first->second)
      initial[index] = value;
    timeline.erase(first);
  }
  for (const auto& [index, value] : initial)
    out << value << IdentifierCode(index) << '\n';
  out << "$end\n";
  for (const auto& [step, changes] : timeline) {
    out << '#' << step << '\n';
    for (const auto& [index, value] : changes)
      out << value << IdentifierCode(index) << '\n';
  }
}

void WriteGtkw(std::ostream& out, const std::filesystem::path& vcdFile,
               const std::vector<VcdSignal>& wires) {
  out << "[*] pelkor\n[dumpfile] \"" << vcdFile.string() << "\"\n";
  // Trace flags in hexadecimal: a group opens with a blank trace flagged 0x800000 and closes
  // with one flagged 0x1000000; 0x28 shows a wire in binary, right-justified.
  for (const auto& [path, members] : InTreeOrder(wires)) {
    std::string scope = path[0];
    for (std::size_t i = 1; i < path.size(); ++i)
      scope += '.' + path[i];
    const std::string group = wires[members.front()].path;
    out << "@800200\n-" << group << '\n';
    out << "@28\n";
    for (const std::size_t index : members)
      out << scope << '.' << wires[index].name << '\n';
    out << "@1000200\n-" << group << '\n';
  }
}

}  // namespace pelkor
