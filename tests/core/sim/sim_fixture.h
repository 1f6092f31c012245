// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "design_builders.h"
#include "model/module_library.h"
#include "sim/compile.h"
#include "sim/net_runtime.h"
#include "sim/reference_simulation.h"
#include "sim/simulation_condition.h"
#include "sim/step.h"
#include "support/recording_log.h"

namespace pelkor::testing {

// Small modules built in code (design_builders.h), and the runs of them that the simulation
// tests need.

// Cells from entry to exit, "-" for an empty one.
inline std::string Cells(const ShiftRegisterRuntime& shiftRegister) {
  std::string text;
  for (std::size_t i = 0; i < shiftRegister.size(); ++i) {
    const Token value = shiftRegister.Cell(i);
    text += value == EMPTY ? '-' : static_cast<char>('0' + value);
  }
  return text;
}

// A library with a recorded log; the root module is "untitle".
class SimTest : public ::testing::Test {
 protected:
  SimTest() { output.Attach(&log); }

  Module& Top() { return library.ModuleByName("untitle"); }
  Module& Define(const std::string& name) { return *library.CreateModule(name); }
  RuntimeInstance& Root() { return library.rootInstance(); }

  // Grows the instance tree below `node` from the module definitions, as loading does, and
  // refreshes the instances' new and delete flags.
  void GrowTree(RuntimeInstance& node) {
    library.RefreshNewDeleteFlags();
    if (!library.Exists(node.name))
      return;
    for (const auto& [id, instance] : library.ModuleByName(node.name).instances) {
      if (auto existing = node.children.find(id); existing != node.children.end()) {
        GrowTree(*existing->second);
      } else if (RuntimeInstance* child = library.ExpandInstance(id, instance.moduleName, node)) {
        GrowTree(*child);
      }
    }
  }

  CheckOutcome CheckAll() {
    GrowTree(Root());
    return reference.Check();
  }

  StepActivity StepOnce() {
    StepActivity activity = 0;
    reference.Step(activity);
    return activity;
  }

  // Runs `steps` steps; the activity of each.
  std::vector<int> StepTimes(int steps) {
    std::vector<int> activities;
    for (int i = 0; i < steps; ++i)
      activities.push_back(StepOnce());
    return activities;
  }

  // Runs a step that must raise the condition `code`.
  void StepExpectingCondition(int code) {
    StepActivity activity = 0;
    try {
      reference.Step(activity);
      ADD_FAILURE() << "no condition";
    } catch (const SimulationCondition& condition) {
      EXPECT_EQ(condition.code(), code);
    }
  }

  NetRuntime& Runtime(RuntimeInstance& node) { return *reference.Runtime(node); }
  NetRuntime& Runtime() { return Runtime(Root()); }
  ShiftRegisterRuntime& RegisterOf(int id, RuntimeInstance* node = nullptr) {
    return *Runtime(node != nullptr ? *node : Root()).FindRegister(id);
  }
  std::vector<int>& Received(int sinkId, RuntimeInstance* node = nullptr) {
    return Runtime(node != nullptr ? *node : Root()).FindSink(sinkId)->received;
  }

  RecordingLog log;
  OutputLog output;
  ModuleLibrary library{output};
  ReferenceSimulation reference{library};
};

}  // namespace pelkor::testing
