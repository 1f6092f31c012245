// SPDX-License-Identifier: GPL-3.0-or-later
// Nets made at random from every kind of primitive, with arcs that break the rules, names that
// match nothing and modules that create, delete and repeat themselves: the check and the runs
// end in messages, never in a crash, and the end of each simulation leaves the design as it was.
#include <gtest/gtest.h>

#include <random>

#include "sim_fixture.h"
#include "support/scripted_ui.h"
#include "support/workspace_probe.h"
#include "workspace/workspace.h"

namespace pelkor {
namespace {

using testing::AddCounter;
using testing::AddInstance;
using testing::AddMachine;
using testing::AddRegister;
using testing::AddSink;
using testing::AddSource;
using testing::Connect;

class RandomNet {
 public:
  explicit RandomNet(unsigned seed) : random_(seed) {}

  // A module made and removed by tokens, whose "new" and "delete" ports the instances below
  // may feed.
  void MakeDynamic(Module& module) {
    Connect(module, AddSource(module, "", "new"), AddRegister(module));
    if (Pick(0, 3) != 0)
      Connect(module, AddSource(module, "", "delete"), AddRegister(module));
  }

  // An instance with tokens waiting on its "new" and maybe "delete" arcs.
  void PlaceDynamic(Module& module, const std::string& moduleName) {
    const int instance = AddInstance(module, moduleName);
    Connect(module, AddRegister(module, OneOf<std::string>({"1", "01", "1001"})), instance, "new");
    if (Pick(0, 2) != 0)
      Connect(module, AddRegister(module, OneOf<std::string>({"", "1", "0001"})), instance,
              "delete");
  }

  // Mostly arcs of the allowed directions with the names the other end knows, some of any kind.
  void Fill(Module& module) {
    std::vector<int> registers;
    std::vector<int> transitions;
    const int count = Pick(2, 10);
    for (int i = 0; i < count; ++i) {
      if (Pick(0, 2) == 0) {
        registers.push_back(
            AddRegister(module, OneOf<std::string>({"", "1", "01", "110"}),
                        Pick(0, 3) == 0 ? std::optional<int>(Pick(-1, 5)) : std::nullopt));
      } else {
        transitions.push_back(AddTransition(module));
      }
    }
    registers.push_back(AddRegister(module, "1"));
    const int arcs = Pick(0, 3 * count);
    for (int i = 0; i < arcs; ++i) {
      const int shiftRegister = OneOf(registers);
      const int transition = transitions.empty() ? 999 : OneOf(transitions);
      const std::string name = OneOf<std::string>({"", "a", "b", "x", "new", "delete", "s"});
      switch (Pick(0, 6)) {
        case 0:
          Connect(module, Pick(0, 12), Pick(0, 12), name);  // any pair, missing ends included
          break;
        case 1:
        case 2:
        case 3:
          Connect(module, shiftRegister, transition, name);
          break;
        default:
          Connect(module, transition, shiftRegister, name);
          break;
      }
    }
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }
  template <typename T>
  T OneOf(const std::vector<T>& choices) {
    return choices[static_cast<std::size_t>(Pick(0, static_cast<int>(choices.size()) - 1))];
  }

  int AddTransition(Module& module) {
    switch (Pick(0, 9)) {
      case 0:
      case 4:
        return AddSource(module, OneOf<std::string>({"", "1", "10", "A\r\n3"}),
                         OneOf<std::string>({"", "a", "b", "new", "new", "delete"}), Pick(0, 7));
      case 1:
      case 5:
        return AddSink(module, OneOf<std::string>({"", "s", "x"}));
      case 2:
      case 6:
        return AddCounter(module, OneOf<std::string>({"", "x = a;", "x = a & b;"}), Pick(-1, 3));
      case 3: {
        std::vector<testing::StateSpec> states;
        const int count = Pick(1, 3);
        const std::vector<std::string> texts = {"x = a;", "x = a & b;", "x = ~a; y = b;"};
        const std::vector<std::string> choices = {"go = a;", "go = a | ~a;", "go = b; back = ~b;",
                                                  ""};
        for (int s = 1; s <= count; ++s)
          states.push_back({s, OneOf(texts), OneOf(choices)});
        std::vector<testing::StateArcSpec> arcs;
        for (int s = 1; s <= count; ++s) {
          arcs.push_back({s, Pick(1, count + (Pick(0, 9) == 0 ? 1 : 0)),
                          OneOf<std::string>({"", "go", "back"})});
        }
        return AddMachine(module, states, arcs, Pick(0, 9) == 0 ? 0 : 1, Pick(0, 1) != 0);
      }
      default:
        return AddInstance(module, OneOf<std::string>({"m1", "m1", "m2", "untitle", "", "none"}));
    }
  }

  std::mt19937 random_;
};

class QuietUi : public testing::ScriptedUi {};

void GrowTree(ModuleLibrary& library, RuntimeInstance& node) {
  if (!library.Exists(node.name))
    return;
  for (const auto& [id, instance] : library.ModuleByName(node.name).instances) {
    if (instance.moduleName.empty() || !library.Exists(instance.moduleName))
      continue;
    if (RuntimeInstance* child = library.ExpandInstance(id, instance.moduleName, node))
      GrowTree(library, *child);
  }
}

TEST(RandomNetTest, ChecksAndRunsEndInMessagesAndLeaveTheDesignUntouched) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE(seed);
    QuietUi ui;
    Workspace workspace(ui);
    ModuleLibrary& library = testing::LibraryOf(workspace);
    RandomNet random(seed);
    Module& top = library.ModuleByName("untitle");
    Module& m1 = *library.CreateModule("m1");
    Module& m2 = *library.CreateModule("m2");
    random.MakeDynamic(m1);
    if (seed % 2 == 0)
      random.MakeDynamic(m2);
    random.Fill(top);
    random.Fill(m1);
    random.Fill(m2);
    random.PlaceDynamic(top, "m1");
    random.PlaceDynamic(m1, seed % 3 == 0 ? "m1" : "m2");
    library.RefreshNewDeleteFlags();
    GrowTree(library, library.rootInstance());
    const Module design = library.ModuleByName("untitle");

    workspace.Check();
    if (workspace.IsSimulating()) {
      workspace.SetStepLimit(40);
      workspace.RunWithoutAnimation();
      workspace.Run();
      for (int tick = 0; tick < 5; ++tick)
        workspace.Tick();
      workspace.Step();
      workspace.EndSimulation();
    }
    EXPECT_FALSE(workspace.IsSimulating());
    EXPECT_TRUE(workspace.simulation().Schedule().empty());
    EXPECT_EQ(&library.currentInstance(), &library.rootInstance());
    EXPECT_TRUE(library.ModuleByName("untitle").SameContent(design));
    library.ForEachNode([&workspace](RuntimeInstance& node) {
      EXPECT_FALSE(workspace.simulation().IsPrepared(node));
      EXPECT_FALSE(node.deleted);
    });
  }
}

}  // namespace
}  // namespace pelkor
