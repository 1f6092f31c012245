// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit/tool.h"

namespace pelkor {

std::optional<Tool> ToolOfCommand(CommandId command) {
  switch (command) {
    case CommandId::kStateMachineTool:
      return Tool::kStateMachine;
    case CommandId::kShiftRegisterTool:
      return Tool::kShiftRegister;
    case CommandId::kCounterTool:
      return Tool::kCounter;
    case CommandId::kSourceTool:
      return Tool::kSource;
    case CommandId::kSinkTool:
      return Tool::kSink;
    case CommandId::kArcTool:
      return Tool::kArc;
    case CommandId::kEraserTool:
      return Tool::kEraser;
    case CommandId::kMoveTool:
      return Tool::kMove;
    case CommandId::kModuleTool:
      return Tool::kModule;
    default:
      return std::nullopt;
  }
}

bool IsEditingTool(Tool tool) {
  return tool == Tool::kArc || tool == Tool::kEraser || tool == Tool::kMove ||
         KindPlacedBy(tool) != kNoKind;
}

ObjectKind KindPlacedBy(Tool tool) {
  switch (tool) {
    case Tool::kStateMachine:
    case Tool::kShiftRegister:
    case Tool::kCounter:
    case Tool::kSource:
    case Tool::kSink:
    case Tool::kModule:
      return static_cast<ObjectKind>(tool);
    default:
      return kNoKind;
  }
}

}  // namespace pelkor
