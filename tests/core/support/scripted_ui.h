#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "workspace/workspace_ui.h"

namespace pelkor::testing {

// Answers the workspace's questions from a script, the way a user would, and records the
// notifications it receives.
class ScriptedUi : public WorkspaceUi {
 public:
  std::optional<std::filesystem::path> ChooseFile(const FileDialogSpec& dialog) override {
    dialogs.push_back(dialog);
    if (files.empty())
      return std::nullopt;
    auto answer = files.front();
    files.pop_front();
    return answer;
  }
  std::optional<std::string> AskModuleName() override {
    if (names.empty())
      return std::nullopt;
    auto answer = names.front();
    names.pop_front();
    return answer;
  }
  void TitleChanged(const std::string& title) override { titles.push_back(title); }
  SaveChangesAnswer AskSaveChanges() override {
    ++saveQuestions;
    return saveAnswer;
  }
  void DesignFileUsed(const std::filesystem::path& path) override { usedFiles.push_back(path); }
  void ModuleTreeChanged() override { ++treeRebuilds; }

  std::deque<std::optional<std::filesystem::path>> files;  // nullopt answers "cancel"
  std::deque<std::optional<std::string>> names;
  std::vector<FileDialogSpec> dialogs;
  std::vector<std::string> titles;
  int treeRebuilds = 0;
  SaveChangesAnswer saveAnswer = SaveChangesAnswer::kDiscard;
  int saveQuestions = 0;
  std::vector<std::filesystem::path> usedFiles;
};

}  // namespace pelkor::testing
