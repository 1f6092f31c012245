// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "edit/change.h"
#include "edit/editor_ui.h"
#include "workspace/module_files.h"
#include "workspace/simulation_control.h"

namespace pelkor {

// What a file dialog is asked to show.
struct FileDialogSpec {
  bool forSaving = false;
  std::string filter;       // "description(*.ext)|*.ext||"
  std::string initialName;  // a pattern such as "*.dtn", or the path of the file offered
};

// What the user wants done with changes that were not saved.
enum class SaveChangesAnswer { kSaveAll, kDiscard, kCancel };

// Writing a module's file would lose what is on disk: the question before it is written.
struct OverwriteQuestion {
  std::filesystem::path path;
  FileRisk risk = FileRisk::kNotReadByPelkor;
  bool canSkip = false;  // within Save All, where leaving one module unsaved is an answer
  std::string text;      // what the question says, naming the file and the risk
};

enum class OverwriteAnswer { kOverwrite, kSaveAs, kSkip, kCancel };

// How the workspace reaches the user: the desktop application answers with real dialogs and
// windows, the command-line tool and the tests with scripted answers. The notifications have
// empty defaults so that a headless front end implements only what it needs.
class WorkspaceUi : public EditorUi {
 public:
  // A path, or nullopt when the user cancels.
  virtual std::optional<std::filesystem::path> ChooseFile(const FileDialogSpec& dialog) = 0;

  // What a command or an event changed, once when it ends: the windows repaint and refresh
  // what shows it (the title follows kContent, kFiles and kView; the tree window kTree).
  virtual void Changed(ChangeSet /*changes*/) {}
  // Modules changed since they were loaded or saved are about to be dropped: "変更を保存しますか？"
  virtual SaveChangesAnswer AskSaveChanges() { return SaveChangesAnswer::kDiscard; }
  // Asked before a file is written over that would lose something; a front end with no one to
  // ask refuses.
  virtual OverwriteAnswer AskOverwrite(const OverwriteQuestion& /*question*/) {
    return OverwriteAnswer::kCancel;
  }
  // A save failed: shown to the user beside the log line, which a hidden log would keep from
  // being seen. The text names the file and the reason.
  virtual void ShowSaveFailure(const std::string& /*text*/) {}
  // A design file was opened or saved: it joins the recent files.
  virtual void DesignFileUsed(const std::filesystem::path& /*path*/) {}

  // The animation timer: while it runs, every period calls Workspace::Tick.
  virtual void StartTimer(int /*intervalMilliseconds*/) {}
  virtual void StopTimer() {}
  virtual void SetWaitCursor(bool /*waiting*/) {}
  // What a run without animation reports after each step: the desktop shows a progress dialog
  // with Cancel once it has run half a second, which lives as long as the function returned.
  virtual RunProgress LongRunProgress() { return {}; }
  // The module tree window, which a check opens when it is closed and the end of that
  // simulation closes again.
  virtual bool IsModuleTreeOpen() const { return false; }
  virtual void OpenModuleTree() {}
  virtual void CloseModuleTree() {}
};

}  // namespace pelkor
