#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/module_library.h"
#include "model/output_log.h"
#include "workspace/workspace_ui.h"

namespace pelkor {

// The one object that the desktop application and the command-line tool both drive: it owns
// the module library, the output log and the design folder, and its methods are the commands.
// Every failure inside a command ends as a line in the log, never as an exception.
class Workspace {
 public:
  explicit Workspace(WorkspaceUi& ui);
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  OutputLog& log() { return log_; }
  ModuleLibrary& library() { return library_; }
  const ModuleLibrary& library() const { return library_; }
  const std::string& documentTitle() const { return documentTitle_; }

  // The folder the file commands read and write module files in; a chosen file's folder
  // becomes it, as a file dialog leaves it.
  const std::filesystem::path& designFolder() const { return designFolder_; }
  void SetDesignFolder(const std::filesystem::path& folder) { designFolder_ = folder; }

  bool IsSimulating() const { return simulating_; }

  // Design-file commands.
  void New();
  void Open();                                    // asks for the file
  void OpenFile(const std::filesystem::path& path);  // the same, for a path already chosen
  void Save();
  void SaveAs();
  void DropFiles(const std::vector<std::filesystem::path>& paths);
  void SaveAll();
  void LoadModule();
  void LoadIntoInstance(int instanceId);
  // Reads the module file of every instance of `module` not yet loaded and grows the tree
  // below `node`, recursively.
  void LoadSubModules(Module& module, RuntimeInstance& node);

  // Hierarchy moves.
  void EnterInstance(int instanceId);
  void GoUp();
  void GoToTreeItem(TreeItem item);

 private:
  // The path of a module's file in the design folder, or nullopt for a name that is not a
  // plain file name (a separator, "..", a NUL): such a file is never opened.
  std::optional<std::filesystem::path> ModuleFilePath(const std::string& moduleName) const;
  // Reads a design file into `module`, writing a read failure to the log. False when the file
  // cannot be opened.
  bool ReadInto(const std::filesystem::path& path, Module& module);
  void SetTitle(const std::string& title);
  void ShowCurrentNode();
  void NameInstance(int instanceId);

  WorkspaceUi& ui_;
  OutputLog log_;
  ModuleLibrary library_{log_};
  std::filesystem::path designFolder_;
  std::string documentTitle_ = "untitle";
  bool simulating_ = false;
};

}  // namespace pelkor
