// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Random hierarchies for comparing the simulation engines: modules with ports, logic of every
// kind, static and dynamic instances (also of enclosing modules), tokens that create and delete
// them at any time, and now and then an arc that breaks the rules. Choices come from a seeded
// engine or from a fuzzer's bytes, so that one input always builds one design.

#include <cstddef>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "design_builders.h"
#include "model/module_library.h"

namespace pelkor::testing {

class SeededChoices {
 public:
  explicit SeededChoices(unsigned seed) : random_(seed) {}
  int Pick(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }

 private:
  std::mt19937 random_;
};

// Each choice takes one byte; once the bytes run out every choice is the lowest.
class ByteChoices {
 public:
  ByteChoices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  int Pick(int low, int high) {
    if (next_ >= size_ || high <= low)
      return low;
    return low + data_[next_++] % (high - low + 1);
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

// The boundary of a generated module, decided before any module is filled.
struct ModuleShape {
  std::string name;
  bool creatable = false;  // has a source "new"
  bool deletable = false;  // and one "delete"
  std::vector<std::string> inputs;
  std::vector<std::string> outputs;
  std::vector<std::size_t> placed;  // shapes it places whatever the choices
};

template <typename Choices>
class RandomDesign {
 public:
  explicit RandomDesign(Choices& choices) : choices_(choices) {}

  // Fills the library's root module "untitle" and up to four modules below it, and grows the
  // tree as loading would.
  void Build(ModuleLibrary& library) {
    const int count = Pick(1, 4);
    for (int i = 1; i <= count; ++i) {
      ModuleShape shape;
      shape.name = "m" + std::to_string(i);
      shape.creatable = Pick(0, 2) == 0;
      shape.deletable = shape.creatable && Pick(0, 3) != 0;
      for (const char* name : {"a", "b"}) {
        if (Pick(0, 2) != 0)
          shape.inputs.push_back(name);
      }
      for (const char* name : {"q", "r"}) {
        if (Pick(0, 2) != 0)
          shape.outputs.push_back(name);
      }
      shapes_.push_back(shape);
    }
    ModuleShape top;
    top.name = "untitle";
    if (count >= 2 && Pick(0, 3) == 0) {
      // Deleting m1 before its m2, which repeats itself, was created: 101, then 102 when the
      // next "delete" comes.
      shapes_[0].creatable = shapes_[0].deletable = true;
      shapes_[1].creatable = true;
      shapes_[0].placed.push_back(1);
      shapes_[1].placed.push_back(1);
      top.placed.push_back(0);
    }
    for (const ModuleShape& shape : shapes_)
      Fill(*library.CreateModule(shape.name), shape);
    Fill(library.ModuleByName("untitle"), top);
    library.RefreshNewDeleteFlags();
    GrowTree(library, library.rootInstance());
  }

 private:
  int Pick(int low, int high) { return choices_.Pick(low, high); }
  template <typename T>
  const T& OneOf(const std::vector<T>& options) {
    return options[static_cast<std::size_t>(Pick(0, static_cast<int>(options.size()) - 1))];
  }

  // A node of a module that does not exist stays a leaf: making its working copy fails.
  static void GrowTree(ModuleLibrary& library, RuntimeInstance& node) {
    for (const auto& [id, instance] : library.ModuleByName(node.name).instances) {
      RuntimeInstance* child = library.ExpandInstance(id, instance.moduleName, node);
      if (child != nullptr && library.Exists(instance.moduleName))
        GrowTree(library, *child);
    }
  }

  int Register() {
    static const std::vector<std::string> contents = {"", "", "1", "0", "01", "110", "1\r\n0"};
    const std::string& chosen = OneOf(contents);
    if (Pick(0, 11) != 0)
      return AddRegister(*module_, chosen);
    return AddRegister(*module_, chosen, Pick(1, 5));  // sometimes too small for its contents
  }

  // Connects the register side of a transition: usually one register, now and then none or two.
  void Attach(int transition, bool into, const std::string& name) {
    const int arcs = Pick(0, 19) == 0 ? Pick(0, 2) : 1;
    for (int i = 0; i < arcs; ++i) {
      if (into) {
        Connect(*module_, OneOf(registers_), transition, name);
      } else {
        Connect(*module_, transition, OneOf(registers_), name);
      }
    }
  }

  // The arcs of a counter or machine: one per variable, with its name (or none for a single
  // input), and sometimes one missing or one too many.
  void Wire(int transition, const std::set<std::string>& inputs,
            const std::set<std::string>& outputs) {
    for (const std::string& name : inputs) {
      if (Pick(0, 29) != 0)
        Connect(*module_, OneOf(registers_), transition,
                inputs.size() == 1 && Pick(0, 1) == 0 ? "" : name);
    }
    for (const std::string& name : outputs) {
      if (Pick(0, 29) != 0)
        Connect(*module_, transition, OneOf(registers_), name);
    }
    if (Pick(0, 29) == 0)
      Connect(*module_, OneOf(registers_), transition, "z");
  }

  void AddCounterLogic() {
    static const std::vector<std::string> texts = {
        "", "", "y = a;", "y = a;", "y = a & b;", "y = ~a;", "y = a ^ b;", "y = a | b;"};
    const int id = AddCounter(*module_, Pick(0, 19) == 0 ? "y = a; z = b;" : OneOf(texts),
                              Pick(0, 9) == 0 ? Pick(-1, 0) : Pick(1, 3));
    const FunctionText& text = module_->counters.at(id).countText;
    std::set<std::string> inputs;
    std::set<std::string> outputs;
    for (const auto& [name, number] : text.inputs)
      inputs.insert(name);
    for (const auto& [name, number] : text.outputs)
      outputs.insert(name);
    if (outputs.empty() && Pick(0, 1) == 0)
      outputs.insert("");  // an unnamed output arc takes output 1 even without outputs
    Wire(id, inputs, outputs);
  }

  void AddMachineLogic() {
    int id;
    if (Pick(0, 2) == 0) {
      // The two-step shape: the main state chooses, the others lead straight back.
      id = AddMachine(*module_,
                      {{1, OneOf<std::string>({"", "y = a;"}), "s = a; t = ~a;"},
                       {2, "y = a;", "u = a | ~a;"},
                       {3, OneOf<std::string>({"y = ~a;", "y = a & b;"}), "u = a | ~a;"}},
                      {{1, 2, "s"}, {1, 3, "t"}, {2, 1, "u"}, {3, 1, "u"}}, 1, Pick(0, 4) != 0);
    } else {
      static const std::vector<std::string> firsts = {"y = a;", "y = ~a;", "y = a ^ b;",
                                                      "y = a; z = b;", ""};
      static const std::vector<std::string> seconds = {"", "s = a;", "s = a; t = ~a;",
                                                       "s = a | ~a;", "s = b;"};
      std::vector<StateSpec> states;
      const int count = Pick(1, 3);
      for (int s = 1; s <= count; ++s)
        states.push_back({s, OneOf(firsts), OneOf(seconds)});
      std::vector<StateArcSpec> arcs;
      for (int s = 1; s <= count; ++s) {
        for (int k = Pick(0, 2); k > 0; --k)
          arcs.push_back({s, Pick(1, count), OneOf<std::string>({"", "s", "t"})});
      }
      id = AddMachine(*module_, states, arcs, Pick(0, 19) == 0 ? 0 : 1, Pick(0, 5) == 0);
    }
    const StateMachine& machine = module_->stateMachines.at(id);
    Wire(id, machine.inputNames, machine.outputNames);
  }

  // An instance of any generated module, this one and the enclosing ones included, with its
  // ports mostly connected and its "new" and "delete" arcs fed by registers holding tokens.
  // Only one instance of a module gets "new" tokens, so that modules creating each other grow
  // the tree by one node a step at most; one placed on purpose gets them only at the root.
  void AddInstanceOf(const ModuleShape& shape, bool placedOnPurpose = false) {
    const int id = AddInstance(*module_, shape.name);
    for (const std::string& name : shape.inputs) {
      if (Pick(0, 5) != 0)
        Connect(*module_, OneOf(registers_), id, name);
    }
    if (shape.creatable && (placedOnPurpose || Pick(0, 7) != 0)) {
      static const std::vector<std::string> newTokens = {"1", "01", "001", "101", "", "1001"};
      std::string tokens;
      if (placedOnPurpose) {
        tokens = isRoot_ ? "1" : "";
      } else if (!newTokensPlaced_) {
        tokens = OneOf(newTokens);
      }
      newTokensPlaced_ = newTokensPlaced_ || !tokens.empty();
      Connect(*module_, AddRegister(*module_, tokens), id, "new");
    }
    if (shape.deletable && (placedOnPurpose || Pick(0, 3) != 0)) {
      static const std::vector<std::string> deleteTokens = {"0001", "00001", "1", "", "100001"};
      Connect(*module_, AddRegister(*module_, placedOnPurpose ? "1000001" : OneOf(deleteTokens)),
              id, "delete");
    }
    for (const std::string& name : shape.outputs) {
      if (Pick(0, 5) != 0)
        Connect(*module_, id, OneOf(registers_), name);
    }
  }

  void Fill(Module& module, const ModuleShape& shape) {
    module_ = &module;
    isRoot_ = shape.name == "untitle";
    newTokensPlaced_ = false;
    registers_.clear();
    for (const std::string& name : shape.inputs)
      registers_.push_back(AddPort(module, name));
    if (shape.creatable)
      AddPort(module, "new");
    if (shape.deletable)
      AddPort(module, "delete");
    for (int i = Pick(1, 5); i > 0; --i)
      registers_.push_back(Register());

    static const std::vector<std::string> data = {"1", "0110", "", "10", "A", "1\r\n01"};
    for (int i = Pick(shape.inputs.empty() ? 1 : 0, 2); i > 0; --i)
      Attach(AddSource(module, OneOf(data), "", Pick(0, 7)), false, "");
    for (int i = Pick(0, 4); i > 0; --i) {
      if (Pick(0, 1) == 0) {
        AddCounterLogic();
      } else {
        AddMachineLogic();
      }
    }
    for (const std::size_t placed : shape.placed)
      AddInstanceOf(shapes_[placed], true);
    for (int i = Pick(0, 2); i > 0; --i)
      AddInstanceOf(OneOf(shapes_));
    if (Pick(0, 39) == 0)
      AddInstance(module, "ghost");
    for (const std::string& name : shape.outputs)
      Attach(AddSink(module, name), true, "");
    for (int i = Pick(0, 2); i > 0; --i)
      Attach(AddSink(module, ""), true, "");
    for (auto& [id, sink] : module.sinks) {
      sink.outputMode = Pick(0, 3);
      sink.expected = OneOf<std::string>({"", "01", "1"});
    }
    if (Pick(0, 14) == 0) {  // any pair of objects, any name
      Connect(module, Pick(0, module.nextObjectId), Pick(0, module.nextObjectId),
              OneOf<std::string>({"", "a", "q", "new", "delete", "y"}));
    }
  }

  Choices& choices_;
  std::vector<ModuleShape> shapes_;
  Module* module_ = nullptr;
  bool isRoot_ = false;
  bool newTokensPlaced_ = false;
  std::vector<int> registers_;
};

}  // namespace pelkor::testing
