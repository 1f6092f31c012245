// SPDX-License-Identifier: GPL-3.0-or-later
// The commands that move modules between design files and the module library.
#include <algorithm>

#include "base/errors.h"
#include "files/design_file.h"
#include "workspace/design_document.h"
#include "workspace/save_messages.h"

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

std::filesystem::path DesignDocument::AbsoluteFile(const std::filesystem::path& path) {
  return FolderOf(path) / path.filename();
}

std::filesystem::path DesignDocument::FolderOfModule(const std::string& moduleName) const {
  const std::optional<std::filesystem::path> file = files_.FileOf(moduleName);
  return file ? file->parent_path() : folder_;
}

std::optional<std::filesystem::path> DesignDocument::ModuleFileIn(
    const std::filesystem::path& folder, const std::string& moduleName) {
  const bool leavesFolder = moduleName.empty() || moduleName == "." || moduleName == ".." ||
                            moduleName.find_first_of(std::string("/\\\0", 3)) != std::string::npos;
  if (leavesFolder)
    return std::nullopt;
  return folder / (moduleName + ".dtn");
}

std::optional<std::filesystem::path> DesignDocument::ModuleFilePath(
    const std::string& moduleName) const {
  return ModuleFileIn(FolderOfModule(moduleName), moduleName);
}

void DesignDocument::ReadText(const DesignText& file, const std::filesystem::path& path,
                              const std::string& moduleName) {
  Module& module = library_.ModuleByName(moduleName);
  const ReadReport report = ReadModule(file.text, module);
  for (const ReadProblem& problem : report.problems)
    log_.WriteText(ReadProblemMessage(problem));
  if (report.Failed())
    ++loadFailures_;
  files_.Read(moduleName, AbsoluteFile(path), file.fingerprint, report.PassedOver());
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
                              const std::string& moduleName) {
  const std::optional<DesignText> file = ReadDesign(path, cannotOpen);
  if (!file)
    return false;
  ReadText(*file, path, moduleName);
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
  files_.Clear();
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
  ReadText(*file, path, title);
  log_.Write("%sを読み込みました", title);
  library_.SetCurrentModule(title);
  SetTitle(title);
  LoadSubModules(library_.ModuleByName(title), library_.rootInstance());
  library_.RefreshNewDeleteFlags();
  MarkAllSaved();
  changes_.Changed(Change::kContent | Change::kTree);
  ui_.DesignFileUsed(path);
  return loadFailures_ == 0 ? OpenResult::kOpened : OpenResult::kLoadFailed;
}

void DesignDocument::LoadSubModules(Module& module, RuntimeInstance& node) {
  // A module's sub-modules lie beside its own file.
  const std::filesystem::path folder = FolderOfModule(node.name);
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
      const auto path = ModuleFileIn(folder, instance.moduleName);
      if (!path)
        log_.WriteText(cannotOpen);
      if (!path || !ReadInto(*path, cannotOpen, instance.moduleName)) {
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
  SaveModule(library_.currentInstance().name, false);
}

void DesignDocument::SaveAs() {
  SaveModuleAs(library_.currentInstance().name);
}

void DesignDocument::SaveAll() {
  std::set<std::string> names;
  library_.rootInstance().CollectNames(names);
  for (const std::string& name : names) {
    const SaveOutcome outcome = SaveModule(name, true);
    if (outcome == SaveOutcome::kFailed || outcome == SaveOutcome::kCancelled)
      return;
  }
}

DesignDocument::SaveOutcome DesignDocument::SaveModule(const std::string& name, bool allAtOnce) {
  const std::string fileName = name + ".dtn";
  const auto path = ModuleFilePath(name);
  if (path) {
    const FileRisk risk = files_.RiskOfWriting(name, *path);
    if (risk != FileRisk::kNone) {
      switch (ui_.AskOverwrite({*path, risk, allAtOnce, OverwriteQuestionText(*path, risk)})) {
        case OverwriteAnswer::kOverwrite:
          break;
        case OverwriteAnswer::kSaveAs:
          return SaveModuleAs(name);
        case OverwriteAnswer::kSkip:
          return allAtOnce ? SaveOutcome::kSkipped : SaveOutcome::kCancelled;
        case OverwriteAnswer::kCancel:
          return SaveOutcome::kCancelled;
      }
    }
  }
  const SaveResult result =
      path ? SaveDesignFile(*path, library_.ModuleByName(name)) : SaveResult::kCannotOpen;
  if (result == SaveResult::kSaved) {
    log_.WriteText(InFolder((allAtOnce ? fileName : name) + "をセーブしました", *path));
    Saved(name, *path);
    if (!allAtOnce)
      ui_.DesignFileUsed(*path);
    return SaveOutcome::kSaved;
  }
  if (result == SaveResult::kWriteFailed)
    log_.Write("%sの書き込みに失敗しました", fileName);
  else if (allAtOnce)
    log_.WriteText("ファイルをオープンできませんでした");
  else
    log_.Write("%sをオープン出来ませんでした", fileName);
  ui_.ShowSaveFailure(SaveFailureText(path.value_or(fileName), result));
  return SaveOutcome::kFailed;
}

DesignDocument::SaveOutcome DesignDocument::SaveModuleAs(const std::string& name) {
  const auto chosen = ChooseDesignFile(true);
  if (!chosen)
    return SaveOutcome::kCancelled;
  const std::filesystem::path path = AbsoluteFile(*chosen);
  const std::string fileName = path.filename().string();
  const SaveResult result = SaveDesignFile(path, library_.ModuleByName(name));
  if (result != SaveResult::kSaved) {
    // Said as Save says it: a silent failure would leave the designer believing it saved.
    if (result == SaveResult::kCannotOpen)
      log_.Write("%sをオープン出来ませんでした", fileName);
    else
      log_.Write("%sの書き込みに失敗しました", fileName);
    ui_.ShowSaveFailure(SaveFailureText(path, result));
    return SaveOutcome::kFailed;
  }
  log_.WriteText(InFolder(fileName + "をセーブしました", path));
  ui_.DesignFileUsed(path);
  // A module is named after its file. Instances name the module, so one they use keeps its
  // name, and its own file, and what was written is a copy.
  const std::string title = FileTitle(path);
  if (!library_.RenameModule(name, title)) {
    log_.Write("%sにはコピーを保存しました。モジュール%sはこれまでどおり%s.dtnに保存されます",
               fileName, name, name);
    return SaveOutcome::kSkipped;
  }
  if (auto revision = savedRevisions_.extract(name)) {
    revision.key() = title;
    savedRevisions_.insert(std::move(revision));
  }
  files_.Rename(name, title);
  Saved(title, path);
  if (library_.currentInstance().name == title)
    SetTitle(fileName);
  return SaveOutcome::kSaved;
}

void DesignDocument::Saved(const std::string& moduleName, const std::filesystem::path& path) {
  files_.Written(moduleName, path);
  MarkSaved(moduleName);
  changes_.Changed(Change::kFiles);
}

void DesignDocument::LoadModule() {
  const auto path = ChooseDesignFile(false);
  if (!path)
    return;
  hierarchyReader_ = InputReader(inputLimits_);
  const std::optional<DesignText> file = ReadDesign(*path, "");
  if (!file)
    return;
  const std::string title = FileTitle(*path);
  if (library_.CreateModule(title) == nullptr) {
    log_.WriteText("すでに読み込まれています");
    return;
  }
  ReadText(*file, *path, title);
  log_.Write("%sを読み込みました", path->filename().string());
  MarkSaved(title);
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
    ReadText(*file, *path, title);
    log_.Write("%sを読み込みました", path->filename().string());
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
