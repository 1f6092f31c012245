// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/bsp_writer.h"

#include <fmt/printf.h>

#include <map>
#include <set>
#include <utility>

#include "base/errors.h"
#include "base/saturating_point.h"
#include "export/logic_generation.h"

namespace pelkor {
namespace {

// Token colours of the chain places that stand for a register with initial contents.
constexpr int kMiddlePlaceColor = 6;
constexpr int kInitialValueColor = 5;

// Chains are drawn as a short row around the register's own position (kept within the int
// range for a register placed at its very edge).
constexpr int kChainPlaceSpacing = 50;
constexpr int kChainTransitionOffset = 25;

// Object categories of the position section.
constexpr int kPlaceCategory = 1;
constexpr int kTransitionCategory = 2;
constexpr int kSourceCategory = 3;
constexpr int kSinkCategory = 4;
constexpr int kSubModuleCategory = 5;

// The five export IDs a register with initial contents becomes: its tokens enter the net
// through "o=i;" transitions, so the other tools see them arrive one by one.
struct Chain {
  int firstPlace = 0;
  int firstTransition = 0;
  int middlePlace = 0;
  int secondTransition = 0;
  int lastPlace = 0;
};

bool IsSubModule(const StateMachine& machine) {
  return machine.states.size() >= 2;
}

std::string WithoutCr(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (const char ch : text) {
    if (ch != '\r')
      result += ch;
  }
  return result;
}

// Writes one module into one document. Export IDs run from 1 over places, transitions,
// sources, sinks and sub-modules, each section in ascending primitive ID.
class BspWriter {
 public:
  BspWriter(BspDocument& file, const Module& module, std::string moduleName)
      : file_(file), module_(module), moduleName_(std::move(moduleName)) {}

  void Write() {
    Emit("=== DRAVU Objects Data Ver.2.00 ===\n");
    EmitF(".section[root]{\nmodule[%s]\nturn_max[5000]\ncomment{\n\n}\n}\n", moduleName_);
    WritePlaces();
    WriteTransitions();
    WriteSources();
    WriteSinks();
    WriteSubModules();
    WritePositions();
    WriteTokens();
    WriteArcs();
    Emit(".section[simTranOpt]{\n}\n.section[text]{\n}\n=== END ===\n");
  }

 private:
  // The file is a text file: every LF the writer emits is stored as CR LF, also the LF of a
  // CR LF copied from a user's text.
  void Emit(std::string_view text) {
    for (const char ch : text) {
      if (ch == '\n')
        file_.text += '\r';
      file_.text += ch;
    }
  }

  template <typename... Args>
  void EmitF(const char* format, const Args&... args) {
    Emit(fmt::sprintf(format, args...));
  }

  int Number(int primitive) { return exportIds_[primitive] = nextId_++; }

  void WritePlaces() {
    Emit(".section[place]{\n/pset[ID]\n");
    for (const auto& [id, reg] : module_.shiftRegisters) {
      if (reg.contents.empty()) {
        EmitF("pset[%d]\n", Number(id));
        continue;
      }
      Chain& chain = chains_[id];
      chain.firstPlace = nextId_++;
      chain.middlePlace = nextId_++;
      chain.lastPlace = nextId_++;
      EmitF("pset[%d]\npset[%d]\npset[%d]\n", chain.firstPlace, chain.middlePlace, chain.lastPlace);
    }
    Emit("}\n");
  }

  void WriteTransitions() {
    Emit(".section[transition]{\n/tran[ID,f1:f2..]\n");
    for (const auto& [id, machine] : module_.stateMachines) {
      if (IsSubModule(machine))
        continue;
      const std::string function = machine.states.empty()
                                       ? std::string()
                                       : WithoutCr(machine.states.begin()->second.firstText.source);
      EmitF("tran[%d,%s]\n", Number(id), function);
    }
    for (auto& [id, chain] : chains_) {
      chain.firstTransition = nextId_++;
      chain.secondTransition = nextId_++;
      EmitF("tran[%d,o=i;]\ntran[%d,o=i;]\n", chain.firstTransition, chain.secondTransition);
    }
    Emit("}\n");
  }

  // The record ends with "}", the name in brackets when there is one, and a line break.
  void EndPortRecord(const std::string& name) {
    Emit("}");
    if (!name.empty())
      EmitF("[%s]", name);
    Emit("\n");
  }

  void WriteSources() {
    Emit(".section[uhzi]{\n/uset[ID,PlaceID,inc,line]=(d1,d2,d3...)\n");
    for (const auto& [id, source] : module_.sources) {
      EmitF("uset[%d,%d,%d,%d]={\n", Number(id), 1, source.holdValue ? 0 : 1,
            source.fromEnd ? 1 : 0);
      EmitF("data(%s)\n", source.data.empty() ? std::string("0") : source.data);
      EndPortRecord(source.name);
    }
    Emit("}\n");
  }

  void WriteSinks() {
    Emit(".section[kemmakix]{\n/kset[ID,PlaceID,line]\n");
    for (const auto& [id, sink] : module_.sinks) {
      EmitF("kset[%d,%d,0,0]={\n", Number(id), 0);
      if (!sink.expected.empty())
        EmitF("data(%s)\n", sink.expected);
      EndPortRecord(sink.name);
    }
    Emit("}\n");
  }

  void WriteSubModules() {
    Emit(".section[module]{\n/module[ID,name]\n");
    for (const auto& [id, machine] : module_.stateMachines) {
      if (!IsSubModule(machine))
        continue;
      EmitF("module[%d,state%d]\n", Number(id), id);
      const std::string fileName = fmt::sprintf("state%d.bsp", id);
      WriteStateMachineModule(AddSubModuleFile(fileName), fileName, machine);
    }
    for (const auto& [id, counter] : module_.counters) {
      // Checked before its line, so a refused counter leaves no sub-module behind.
      if (!CounterFitsLogic(counter)) {
        throw MessageError(fmt::sprintf("%sのカウンタ%dにエラー", moduleName_, id));
      }
      EmitF("module[%d,count%d]\n", Number(id), id);
      const std::string fileName = fmt::sprintf("count%d.bsp", id);
      WriteCounterModule(AddSubModuleFile(fileName), fileName, counter);
    }
    Emit("}\n");
  }

  BspDocument& AddSubModuleFile(const std::string& fileName) {
    BspSubModuleFile& sub = file_.subModules.emplace_back();
    sub.fileName = fileName;
    sub.parentTextLength = file_.text.size();
    return sub.document;
  }

  void EmitPosition(int category, int exportId, Point at) {
    EmitF("obj[0,%d,%d]=(%d,%d)\n", category, exportId, at.x, at.y);
  }

  void WritePositions() {
    Emit(".section[vobject]{\n");
    for (const auto& [id, reg] : module_.shiftRegisters) {
      const Point at = reg.position;
      if (const auto chain = chains_.find(id); chain != chains_.end()) {
        EmitPosition(kPlaceCategory, chain->second.firstPlace,
                     SaturatingAdd(at, {-kChainPlaceSpacing, 0}));
        EmitPosition(kPlaceCategory, chain->second.middlePlace, at);
        EmitPosition(kPlaceCategory, chain->second.lastPlace,
                     SaturatingAdd(at, {kChainPlaceSpacing, 0}));
      } else {
        EmitPosition(kPlaceCategory, exportIds_.at(id), at);
      }
    }
    for (const auto& [id, machine] : module_.stateMachines) {
      if (!IsSubModule(machine))
        EmitPosition(kTransitionCategory, exportIds_.at(id), machine.position);
    }
    for (const auto& [id, chain] : chains_) {
      const Point at = module_.shiftRegisters.at(id).position;
      EmitPosition(kTransitionCategory, chain.firstTransition,
                   SaturatingAdd(at, {-kChainTransitionOffset, 0}));
      EmitPosition(kTransitionCategory, chain.secondTransition,
                   SaturatingAdd(at, {kChainTransitionOffset, 0}));
    }
    for (const auto& [id, source] : module_.sources) {
      EmitPosition(kSourceCategory, exportIds_.at(id), source.position);
    }
    for (const auto& [id, sink] : module_.sinks) {
      EmitPosition(kSinkCategory, exportIds_.at(id), sink.position);
    }
    for (const auto& [id, machine] : module_.stateMachines) {
      if (IsSubModule(machine))
        EmitPosition(kSubModuleCategory, exportIds_.at(id), machine.position);
    }
    for (const auto& [id, counter] : module_.counters) {
      EmitPosition(kSubModuleCategory, exportIds_.at(id), counter.position);
    }
    Emit("}\n");
  }

  void WriteTokens() {
    Emit(".section[token]{\n/tset[PlaceID]=(color,value)\n");
    for (const auto& [id, chain] : chains_) {
      EmitF("tset[%d]=(%d,%d)\n", chain.middlePlace, kMiddlePlaceColor, 0);
    }
    // Only a single initial token fits on the last place; longer contents give none.
    for (const auto& [id, chain] : chains_) {
      const std::string& contents = module_.shiftRegisters.at(id).contents;
      if (contents == "0" || contents == "1") {
        EmitF("tset[%d]=(%d,%d)\n", chain.lastPlace, kInitialValueColor, contents == "1" ? 1 : 0);
      }
    }
    Emit("}\n");
  }

  void WriteArcs() {
    Emit(".section[arc]{\n/arc[In,Out]\n");
    for (const auto& [arcId, arc] : module_.arcs)
      WriteArc(arc);
    for (const auto& [id, chain] : chains_) {
      EmitF("arc[%d,%d]\narc[%d,%d]\narc[%d,%d]\narc[%d,%d]\n", chain.firstPlace,
            chain.firstTransition, chain.firstTransition, chain.middlePlace, chain.middlePlace,
            chain.secondTransition, chain.secondTransition, chain.lastPlace);
    }
    Emit("}\n");
  }

  // An arc enters a chained register at its first place and leaves it from its last place.
  void WriteArc(const Arc& arc) {
    const auto fromChain = chains_.find(arc.from);
    const auto toChain = chains_.find(arc.to);
    const bool fromChained = fromChain != chains_.end();
    const bool toChained = toChain != chains_.end();
    const int from = fromChained ? fromChain->second.lastPlace : ExportIdOf(arc.from);
    const int to = toChained ? toChain->second.firstPlace : ExportIdOf(arc.to);
    // A module instance (or anything else without an object in the file) has no ID to refer
    // to; a record naming a missing object would make the whole file unreadable.
    if (from == 0 || to == 0)
      return;

    std::string name = arc.name;
    if (name.empty()) {
      if (module_.counters.contains(arc.from)) {
        name = "out";
      } else if (!fromChained && !toChained) {
        name = FirstOutputName(arc.from);
      }
    } else if (!fromChained && !toChained && !namedArcPairs_.emplace(from, to).second) {
      // A second variable name for the same register and transition: the file keeps one arc.
      return;
    }

    EmitF("arc[%d,%d", from, to);
    if (!name.empty())
      EmitF(",%s", name);
    Emit("]");
    for (const Point& bend : arc.bends)
      EmitF(":(%d,%d)", bend.x, bend.y);
    Emit("\n");
  }

  int ExportIdOf(int primitive) const {
    const auto found = exportIds_.find(primitive);
    return found == exportIds_.end() ? 0 : found->second;
  }

  // The port an unnamed arc out of a state machine feeds: its alphabetically first output.
  std::string FirstOutputName(int primitive) const {
    const auto machine = module_.stateMachines.find(primitive);
    if (machine == module_.stateMachines.end() || machine->second.outputNames.empty())
      return {};
    return *machine->second.outputNames.begin();
  }

  BspDocument& file_;
  const Module& module_;
  const std::string moduleName_;
  int nextId_ = 1;
  std::map<int, int> exportIds_;  // primitive ID -> export ID, for single-object primitives
  std::map<int, Chain> chains_;   // register ID -> its chain, for registers with contents
  std::set<std::pair<int, int>> namedArcPairs_;  // (from, to) export IDs of named arcs written
};

}  // namespace

std::string BspModuleName(std::string_view fileName) {
  return std::string(fileName.substr(0, fileName.find('.')));
}

void WriteBsp(BspDocument& file, const Module& module, const std::string& fileName) {
  BspWriter(file, module, BspModuleName(fileName)).Write();
}

}  // namespace pelkor
