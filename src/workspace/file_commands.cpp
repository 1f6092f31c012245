// SPDX-License-Identifier: GPL-3.0-or-later
// The commands that move modules between design files and the module library.
#include <algorithm>

#include "base/errors.h"
#include "files/design_file.h"
#include "workspace/design_document.h"

namespace pelkor {

DesignDocument::DesignDocument(OutputLog& log, WorkspaceUi& ui, ChangeSink& changes)
    : log_(log), ui_(ui), changes_(changes), folder_(std::filesystem::current_path()) {}

void DesignDocument::SetTitle(const std::string& title) {
  title_ = title;
  changes_.Changed(Change::kFiles);
}

namespace {

FileDialogSpec DesignFileDialog(bool forSaving) {
  return {forSaving, "dtnファイル(*.dtn)|*.dtn||", "*.dtn"};
}

// A file's name without folder and extension: the name its module gets.
std::string FileTitle(const std::filesystem::path& path) {
  return path.stem().string();
}

}  // namespace

std::filesystem::path DesignDocument::FolderOf(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return (error ? path : absolute).parent_path();
}

std::optional<std::filesystem::path> DesignDocument::ModuleFilePath(
    const std::string& moduleName) const {
  const bool leavesFolder = moduleName.empty() || moduleName == "." || moduleName == ".." ||
                            moduleName.find_first_of(std::string("/\\\0", 3)) != std::string::npos;
  if (leavesFolder)
    return std::nullopt;
  return folder_ / (moduleName + ".dtn");
}

void DesignDocument::ReadText(const std::string& text, Module& module) {
  const ReadReport report = ReadModule(text, module);
  for (const ReadProblem& problem : report.problems)
    log_.WriteText(ReadProblemMessage(problem));
  if (report.Failed())
    ++loadFailures_;
  // Undo never goes back past what was read.
  module.ResetHistory();
}

std::optional<DesignText> DesignDocument::ReadDesign(const std::filesystem::path& path,
                                                     const std::string& cannotOpen) {
  try {
    if (std::optional<DesignText> file = ReadDesignFile(path, hierarchyReader_))
      return file;
    if (!cannotOpen.empty())
      log_.WriteText(cannotOpen);
  } catch (const InputRefused& e) {
    log_.WriteText(e.what());
  }
  return std::nullopt;
}

bool DesignDocument::ReadInto(const std::filesystem::path& path, const std::string& cannotOpen,
                              Module& module) {
  const std::optional<DesignText> file = ReadDesign(path, cannotOpen);
  if (!file)
    return false;
  ReadText(file->text, module);
  return true;
}

std::optional<std::filesystem::path> DesignDocument::ChooseDesignFile(bool forSaving) {
  auto path = ui_.ChooseFile(DesignFileDialog(forSaving));
  if (path)
    folder_ = FolderOf(*path);
  return path;
}

void DesignDocument::Reset() {
  library_.Reset();
  savedRevisions_.clear();
  SetTitle("untitle");
  changes_.Changed(Change::kContent | Change::kSelection | Change::kView | Change::kTree);
}

bool DesignDocument::Open() {
  const auto path = ui_.ChooseFile(DesignFileDialog(false));
  if (path)
    OpenFile(*path);
  return path.has_value();
}

OpenResult DesignDocument::OpenFile(const std::filesystem::path& path) {
  folder_ = FolderOf(path);
  hierarchyReader_ = InputReader(inputLimits_);
  const std::optional<DesignText> file = ReadDesign(path, path.string() + "をオープン出来ません");
  if (!file)
    return OpenResult::kCannotOpen;
  loadFailures_ = 0;
  Reset();
  // The empty design the reset left becomes the file's module, so that no phantom "untitle"
  // stays behind in the library.
  const std::string title = FileTitle(path);
  if (!library_.RenameModule(library_.rootInstance().name, title)) {
    log_.WriteText("読み込みに失敗しました");
    return OpenResult::kLoadFailed;
  }
  Module* module = &library_.ModuleByName(title);
  ReadText(file->text, *module);
  log_.Write("%sを読み込みました", title);
  library_.SetCurrentModule(title);
  SetTitle(title);
  LoadSubModules(*module, library_.rootInstance());
  library_.RefreshNewDeleteFlags();
  MarkAllSaved();
  changes_.Changed(Change::kContent | Change::kTree);
  ui_.DesignFileUsed(path);
  return loadFailures_ == 0 ? OpenResult::kOpened : OpenResult::kLoadFailed;
}

void DesignDocument::LoadSubModules(Module& module, RuntimeInstance& node) {
  for (auto& [id, instance] : module.instances) {
    // An instance not yet given a module names no file to load.
    if (instance.moduleName.empty())
      continue;
    // A hierarchy too large to load stops as a whole, not one branch at a time.
    if (hierarchyReader_.stopped())
      return;
    Module* loaded = nullptr;
    if (!library_.Exists(instance.moduleName)) {
      loaded = library_.CreateModule(instance.moduleName);
      const std::string fileName = instance.moduleName + ".dtn";
      const std::string cannotOpen = fileName + "をオープンできません";
      const auto path = ModuleFilePath(instance.moduleName);
      if (!path)
        log_.WriteText(cannotOpen);
      if (!path || !ReadInto(*path, cannotOpen, *loaded)) {
        ++loadFailures_;
        return;
      }
      log_.Write("%sを読み込みました", fileName);
    }
    RuntimeInstance* child = library_.ExpandInstance(id, instance.moduleName, node);
    if (child == nullptr) {
      instance.absent = true;
    } else if (loaded != nullptr) {
      LoadSubModules(*loaded, *child);
    } else {
      Module copy = library_.CopyModuleByName(instance.moduleName);
      LoadSubModules(copy, *child);
    }
    if (loaded != nullptr)
      MarkSaved(instance.moduleName);
  }
}

void DesignDocument::Save() {
  const std::string& name = library_.currentInstance().name;
  const std::string fileName = name + ".dtn";
  const auto path = ModuleFilePath(name);
  switch (path ? SaveDesignFile(*path, library_.currentModule()) : SaveResult::kCannotOpen) {
    case SaveResult::kSaved:
      log_.Write("%sをセーブしました", name);
      MarkSaved(name);
      ui_.DesignFileUsed(*path);
      break;
    case SaveResult::kCannotOpen:
      log_.Write("%sをオープン出来ませんでした", fileName);
      break;
    case SaveResult::kWriteFailed:
      log_.Write("%sの書き込みに失敗しました", fileName);
      break;
  }
}

void DesignDocument::SaveAs() {
  const auto path = ChooseDesignFile(true);
  if (!path)
    return;
  const std::string fileName = path->filename().string();
  switch (SaveDesignFile(*path, library_.currentModule())) {
    case SaveResult::kSaved:
      SetTitle(fileName);
      log_.Write("%sをセーブしました", fileName);
      MarkSaved(library_.currentInstance().name);
      ui_.DesignFileUsed(*path);
      break;
    case SaveResult::kCannotOpen:
      // Said as Save says it: a silent failure would leave the designer believing it saved.
      log_.Write("%sをオープン出来ませんでした", fileName);
      break;
    case SaveResult::kWriteFailed:
      log_.Write("%sの書き込みに失敗しました", fileName);
      break;
  }
}

void DesignDocument::SaveAll() {
  std::set<std::string> names;
  library_.rootInstance().CollectNames(names);
  for (const std::string& name : names) {
    const std::string fileName = name + ".dtn";
    const auto path = ModuleFilePath(name);
    const SaveResult result =
        path ? SaveDesignFile(*path, library_.ModuleByName(name)) : SaveResult::kCannotOpen;
    if (result == SaveResult::kCannotOpen) {
      log_.WriteText("ファイルをオープンできませんでした");
      return;
    }
    if (result == SaveResult::kWriteFailed) {
      log_.Write("%sの書き込みに失敗しました", fileName);
      return;
    }
    log_.Write("%sをセーブしました", fileName);
    MarkSaved(name);
  }
}

void DesignDocument::LoadModule() {
  const auto path = ChooseDesignFile(false);
  if (!path)
    return;
  hierarchyReader_ = InputReader(inputLimits_);
  const std::optional<DesignText> file = ReadDesign(*path, "");
  if (!file)
    return;
  Module* module = library_.CreateModule(FileTitle(*path));
  if (module == nullptr) {
    log_.WriteText("すでに読み込まれています");
    return;
  }
  ReadText(file->text, *module);
  MarkSaved(FileTitle(*path));
}

void DesignDocument::LoadIntoInstance(int instanceId) {
  auto instance = library_.currentModule().instances.find(instanceId);
  if (instance == library_.currentModule().instances.end())
    return;
  const auto path = ChooseDesignFile(false);
  if (!path)
    return;
  hierarchyReader_ = InputReader(inputLimits_);
  const std::optional<DesignText> file = ReadDesign(*path, "モジュールを読み込めません");
  if (!file)
    return;
  const std::string title = FileTitle(*path);
  RuntimeInstance& host = library_.currentInstance();
  if (Module* module = library_.CreateModule(title)) {
    ReadText(file->text, *module);
    MarkSaved(title);
    instance->second.moduleName = title;
    if (RuntimeInstance* child = library_.ExpandInstance(instanceId, title, host)) {
      LoadSubModules(*module, *child);
    }
  } else {
    instance->second.moduleName = title;
    if (RuntimeInstance* child = library_.ExpandInstance(instanceId, title, host)) {
      LoadSubModules(library_.ModuleByName(title), *child);
    }
    library_.AddInstanceEverywhere(title, instanceId);
  }
  library_.RefreshNewDeleteFlags();
  library_.currentModule().RecordEdit();
  changes_.Changed(Change::kContent | Change::kTree);
}

}  // namespace pelkor
