// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "files/design_file.h"
#include "files/recovery_store.h"
#include "model/module_library.h"
#include "model/output_log.h"
#include "workspace/change_sink.h"
#include "workspace/module_files.h"
#include "workspace/workspace_ui.h"

namespace pelkor {

enum class OpenResult {
  kOpened,      // the module and every sub-module were read
  kLoadFailed,  // something could not be read; the log says what, and what was read stays
  kCannotOpen,  // the file itself cannot be opened
};

enum class ExportResult {
  kExported,
  kCannotWrite,  // a file could not be opened or written
  kDesignError,  // the module holds logic that cannot be generated
};

struct ExportOutcome {
  ExportResult result = ExportResult::kExported;
  std::filesystem::path failedFile;  // with kCannotWrite: the main file or a sub-module file
};

// The design being edited: the module library with its instance tree, the files the modules come
// from and go to, which modules changed since, and the edits of the module shown. It does not
// know of the view or of the simulation: the workspace keeps them out of its way (no edits
// while simulating, the tools' state dropped before the design changes under them).
class DesignDocument {
 public:
  DesignDocument(OutputLog& log, WorkspaceUi& ui, ChangeSink& changes);
  DesignDocument(const DesignDocument&) = delete;
  DesignDocument& operator=(const DesignDocument&) = delete;

  ModuleLibrary& library() { return library_; }
  const ModuleLibrary& library() const { return library_; }
  const std::string& title() const { return title_; }
  void SetTitle(const std::string& title);

  // The folder of the last design file chosen or opened: where a module that was never read
  // nor saved is written and where its sub-modules are looked for. Every other module is read
  // and written in the folder of its own file.
  const std::filesystem::path& folder() const { return folder_; }
  void SetFolder(const std::filesystem::path& folder) { folder_ = folder; }
  // How large a design file, and a hierarchy of them together, may be to be read.
  void SetInputLimits(const InputLimits& limits) { inputLimits_ = limits; }

  // Empties the library back to "untitle", without asking.
  void Reset();
  // Asks for a design file and opens it; false when the user cancels.
  bool Open();
  OpenResult OpenFile(const std::filesystem::path& path);
  // Save writes the module shown to its own file, Save As to a chosen file (renaming the module
  // after it unless instances use the module, which then keeps its file and gets a copy
  // written), Save All every module of the hierarchy to its own file. A file that would lose
  // something on disk (read in part, changed since, or never read) is written only when the
  // user says so. A failure is logged and shown.
  void Save();
  void SaveAs();
  void SaveAll();
  void LoadModule();
  void LoadIntoInstance(int instanceId);
  // Reads the module file of every instance of `module` not yet loaded and grows the tree
  // below `node`, recursively.
  void LoadSubModules(Module& module, RuntimeInstance& node);

  // Whether the module was read with part of its file passed over, and not saved since.
  bool IsDamaged(const std::string& moduleName) const { return files_.IsDamaged(moduleName); }
  // The module's file; nullopt for a module never read nor saved.
  std::optional<std::filesystem::path> FileOf(const std::string& moduleName) const {
    return files_.FileOf(moduleName);
  }

  // Puts back a design from recovery copies (design-file texts by module name): the top module
  // and every copied module from its copy, the rest of the hierarchy from the design's files.
  // The copied modules stay marked as changed; no file is written.
  void Restore(const RecoveryDesign& design, const std::map<std::string, std::string>& copies);

  // Whether the module of that name differs from what was last loaded or saved (a module that
  // was never either counts as saved while it is the empty design it started as).
  bool IsModified(const std::string& moduleName) const;
  // The modules of the hierarchy (what Save All writes) that changed, in name order.
  std::vector<std::string> ModifiedModules() const;
  // Asks what to do with changes when there are any; false when the user cancels or saving
  // them failed, so the caller must not drop the design.
  bool ConfirmDiscardChanges();

  // Exports the module shown as a DRAVU objects file, asking for the file (offered as the
  // module's name with ".bsp", which a name typed without an extension gets too); ExportBspTo
  // for a path already chosen. A failure is written to the log.
  void ExportBsp();
  ExportOutcome ExportBspTo(const std::filesystem::path& path);

  // Edits of the module shown, each recorded for undo. Copy keeps `anchor` as the clipboard's
  // paste origin and paste lands at `at`, both in model coordinates.
  bool HasSelection() const { return !library_.currentModule().selection.Empty(); }
  bool CanPaste() const { return !library_.clipboard.kinds.empty(); }
  void DeleteSelection();
  void AlignSelection(int gridSize);
  void Copy(Point anchor);
  void Cut(Point anchor);
  void Paste(Point at);
  // Undo or redo on the module shown, keeping the tree in step; false when there was nothing.
  bool Undo();
  bool Redo();
  // Sets the text a sink of the named module expects, recorded for undo as the sink's dialog
  // records it; allowed while simulating, as that dialog is. False when there is no such sink.
  bool SetSinkExpected(const std::string& moduleName, int sinkId, const std::string& expected);
  // Names an unnamed instance after asking the user, creating the module when it is new.
  void NameInstance(int instanceId);

 private:
  enum class SaveOutcome { kSaved, kSkipped, kFailed, kCancelled };

  // The path of a module's file in `folder`, or nullopt for a name that is not a plain file
  // name (a separator, "..", a NUL): such a file is never opened.
  static std::optional<std::filesystem::path> ModuleFileIn(const std::filesystem::path& folder,
                                                           const std::string& moduleName);
  // The module's own file, or for a new module its name in the design folder.
  std::optional<std::filesystem::path> ModuleFilePath(const std::string& moduleName) const;
  std::filesystem::path FolderOfModule(const std::string& moduleName) const;
  // Reads a design file through the reader of the hierarchy being loaded. When it cannot be
  // read, writes why to the log (`cannotOpen`, unless empty, for a file that cannot be opened)
  // and gives nullopt.
  std::optional<DesignText> ReadDesign(const std::filesystem::path& path,
                                       const std::string& cannotOpen);
  // Reads a design file into the module of that name, writing to the log why it cannot be read
  // or a read failure. False when it cannot be read.
  bool ReadInto(const std::filesystem::path& path, const std::string& cannotOpen,
                const std::string& moduleName);
  // Reads a design file's text into the module of that name, writing every problem to the log,
  // and remembers the file as the module's.
  void ReadText(const DesignText& file, const std::filesystem::path& path,
                const std::string& moduleName);
  // The folder a chosen file lies in, as an absolute path, so that later commands find the
  // sub-module files there whatever the process's working directory is.
  static std::filesystem::path FolderOf(const std::filesystem::path& path);
  static std::filesystem::path AbsoluteFile(const std::filesystem::path& path);
  // Writes a module to its own file, asking first when that would lose what is on disk;
  // `allAtOnce` for Save All, whose log lines and answers differ.
  SaveOutcome SaveModule(const std::string& name, bool allAtOnce);
  // Asks for a file and writes the module to it.
  SaveOutcome SaveModuleAs(const std::string& name);
  // The module is now in the file at `path`, as it is.
  void Saved(const std::string& moduleName, const std::filesystem::path& path);
  // Asks for a design file; the chosen file's folder becomes the design folder.
  std::optional<std::filesystem::path> ChooseDesignFile(bool forSaving);
  // Remembers the module's present revision as what is on disk.
  void MarkSaved(const std::string& moduleName);
  void MarkAllSaved();
  // Deletes the selected primitives with the tree nodes of selected module instances, then
  // clears the selection.
  void DeleteSelectedObjects();
  bool StepThroughHistory(bool (Module::*step)());
  // Grows the tree below the nodes of the given instances of the current module, as loading
  // does: placing an instance makes only its own node.
  void GrowInstanceNodes(const std::vector<int>& instanceIds);

  OutputLog& log_;
  WorkspaceUi& ui_;
  ChangeSink& changes_;
  ModuleLibrary library_{log_};
  std::filesystem::path folder_;
  std::string title_ = "untitle";
  int loadFailures_ = 0;  // failures the current load command wrote to the log
  InputLimits inputLimits_;
  InputReader hierarchyReader_;  // the files of the hierarchy being loaded
  ModuleFiles files_;
  // The revision of each module as last loaded or saved, by module name.
  std::map<std::string, std::uint64_t> savedRevisions_;
};

}  // namespace pelkor
