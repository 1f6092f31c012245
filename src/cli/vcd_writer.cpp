#include "cli/vcd_writer.h"

#include <algorithm>
#include <set>

#include "cli/live_nodes.h"

namespace pelkor::cli {

namespace {

char BitChar(int value, char absent) {
  return value == 0 ? '0' : value == 1 ? '1' : absent;
}

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

}  // namespace

VcdRecorder::Signal& VcdRecorder::SignalFor(const std::string& path, const std::string& name) {
  const auto [it, added] = index_.try_emplace(path + "/" + name, signals_.size());
  if (added)
    signals_.push_back({path, name, {}, 'x'});
  return signals_[it->second];
}

void VcdRecorder::Set(Signal& signal, std::int64_t step, char value) {
  if (signal.value == value && !signal.changes.empty())
    return;
  signal.value = value;
  signal.changes.emplace_back(step, value);
}

void VcdRecorder::Sample(const Simulation& simulation, const RuntimeInstance& root,
                         std::int64_t step) {
  std::set<std::size_t> sampled;
  auto set = [&](const std::string& path, const std::string& name, char value) {
    Signal& signal = SignalFor(path, name);
    Set(signal, step, value);
    sampled.insert(index_.at(path + "/" + name));
  };
  ForEachLiveNode(simulation, root, [&](const LiveNode& live) {
    const RuntimeInstance& node = live.node;
    for (const auto& [id, shiftRegister] : node.net->shiftRegisters) {
      const std::span<const std::uint8_t> cells = simulation.Cells(node, id);
      set(live.path, "reg" + std::to_string(id), cells.empty() ? 'z' : BitChar(cells.back(), 'z'));
    }
    for (const auto& [id, sink] : node.net->sinks) {
      const std::string name = "sink" + std::to_string(id);
      const std::span<const std::uint8_t> received = simulation.Received(node, id);
      Counts& counts = counts_[live.path + "/" + name];
      const bool took = received.size() > counts.received;
      counts.received = received.size();
      set(live.path, name, took ? BitChar(received.back(), 'x') : 'x');
    }
    for (const auto& [id, design] : node.net->sources) {
      const std::string name = "src" + std::to_string(id);
      const SourceRunState source = simulation.Source(node, id).value_or(SourceRunState{});
      const std::span<const std::uint8_t> remaining = source.queue.subspan(source.emitted);
      Counts& counts = counts_[live.path + "/" + name];
      char value = 'x';
      if (source.emitted > counts.emitted) {
        value = BitChar(source.queue[source.emitted - 1], 'x');
      } else if (design.holdValue && source.outputRegister &&
                 simulation.EntryWritten(node, *source.outputRegister) && !remaining.empty()) {
        value = BitChar(remaining.front(), 'x');  // a held value went out again
      }
      counts.emitted = source.emitted;
      set(live.path, name, value);
    }
  });
  // A node that lost its working copy shows unknown values until it has one again.
  for (std::size_t i = 0; i < signals_.size(); ++i) {
    if (!sampled.contains(i))
      Set(signals_[i], step, 'x');
  }
}

void VcdRecorder::Write(std::ostream& out) const {
  out << "$version pelkor-cli $end\n$timescale 1 ns $end\n";

  std::map<std::string, std::vector<std::size_t>> byPath;
  for (std::size_t i = 0; i < signals_.size(); ++i)
    byPath[signals_[i].path].push_back(i);
  std::vector<std::vector<std::string>> paths;
  for (const auto& [path, members] : byPath)
    paths.push_back(Segments(path));
  std::sort(paths.begin(), paths.end(), TreeOrder);

  std::vector<std::string> open;  // the scopes entered so far
  for (const std::vector<std::string>& path : paths) {
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
    std::string joined = path[0];
    for (std::size_t i = 1; i < path.size(); ++i)
      joined += "/" + path[i];
    for (const std::size_t index : byPath.at(joined)) {
      out << "$var wire 1 " << IdentifierCode(index) << ' ' << signals_[index].name << " $end\n";
    }
  }
  for (std::size_t i = open.size(); i > 0; --i)
    out << "$upscope $end\n";
  out << "$enddefinitions $end\n";

  // Changes merged by time; every signal starts unknown until its first sample.
  std::map<std::int64_t, std::vector<std::pair<std::size_t, char>>> timeline;
  for (std::size_t i = 0; i < signals_.size(); ++i) {
    for (const auto& [step, value] : signals_[i].changes)
      timeline[step].emplace_back(i, value);
  }
  out << "#0\n$dumpvars\n";
  std::map<std::size_t, char> initial;
  for (std::size_t i = 0; i < signals_.size(); ++i)
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

}  // namespace pelkor::cli
