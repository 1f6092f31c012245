// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pelkor {

// Every command of the menus, the toolbar and the context menus, by its menu id.
enum class CommandId : int {
  // File
  kNew = 57600,
  kOpen = 57601,
  kSave = 57603,
  kSaveAs = 57604,
  kSaveAll = 189,
  kExportBsp = 170,
  kLoadModuleFile = 191,
  kPrint = 57607,
  kPrintPreview = 57609,
  kPrintSetup = 57606,
  kRecentFile = 57616,
  kExit = 57665,
  // Edit
  kUndo = 57643,
  kRedo = 57644,
  kCut = 57635,
  kCopy = 57634,
  kPaste = 57637,
  kModuleManager = 193,
  kDelete = 165,
  kAlign = 164,
  kEditPrimitive = 129,
  kLoadModule = 130,
  // View
  kToolBar = 59392,
  kStatusBar = 59393,
  kOutputLog = 168,
  kShowObjectIds = 174,
  kModuleTree = 186,
  kOutputDialog = 32802,
  kWaveform = 32900,
  kShowSinkVerdicts = 32901,
  kBreakpointsDock = 33112,
  // Tools
  kShiftRegisterTool = 32777,
  kStateMachineTool = 32771,
  kCounterTool = 32776,
  kSourceTool = 32778,
  kSinkTool = 32775,
  kArcTool = 32773,
  kModuleTool = 175,
  kCheck = 32787,
  kStop = 32789,
  kStep = 32788,
  kRun = 32795,
  kRunWithoutAnimation = 32796,
  kPause = 32797,
  kStopAtMismatch = 32902,
  kStepBack = 33101,
  kRewind = 33102,
  kToggleBreakpoint = 33111,
  kExplainStop = 33121,
  // Edit tools and the view
  kEraserTool = 32784,
  kMoveTool = 32793,
  kZoomIn = 32798,
  kZoomOut = 32800,
  kUpperModule = 32801,
  kZoomToFit = 33001,
  kGridSnap = 33002,
  kWheelZooms = 33003,
  kWheelZoomsReversed = 33004,
  kWheelScrolls = 33005,
  kSelectAll = 33006,
  // Settings and help
  kSettings = 182,
  kAbout = 57664,
};

struct CommandState {
  bool enabled = false;
  bool checked = false;

  bool operator==(const CommandState&) const = default;
};

}  // namespace pelkor
