// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
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
    opened.push_back("module name");
    if (names.empty())
      return std::nullopt;
    auto answer = names.front();
    names.pop_front();
    return answer;
  }
  void Changed(ChangeSet changes) override {
    notifications.push_back(changes);
    if (changes.Has(Change::kTree))
      ++treeRebuilds;
    if (changes != ChangeSet(Change::kOverlay))
      ++redraws;
  }
  SaveChangesAnswer AskSaveChanges() override {
    ++saveQuestions;
    return saveAnswer;
  }
  void DesignFileUsed(const std::filesystem::path& path) override { usedFiles.push_back(path); }
  // Answers with the next scripted answer, or cancels when none is left.
  OverwriteAnswer AskOverwrite(const OverwriteQuestion& question) override {
    overwriteQuestions.push_back(question);
    if (overwriteAnswers.empty())
      return OverwriteAnswer::kCancel;
    const OverwriteAnswer answer = overwriteAnswers.front();
    overwriteAnswers.pop_front();
    return answer;
  }
  void ShowSaveFailure(const std::string& text) override { saveFailures.push_back(text); }

  // The editing tools' dialogs: each records its name; an edit function, when set, plays the
  // user's changes on the record.
  void EditShiftRegister(ShiftRegister& r, bool) override {
    Open("shift register", editRegister, r);
  }
  void EditSource(SourceTransition& s, bool) override { Open("source", editSource, s); }
  void EditCounter(Counter& c, bool) override { Open("counter", editCounter, c); }
  void EditSink(SinkTransition& s, bool, const std::vector<int>& received) override {
    sinkReceived = received;
    Open("sink", editSink, s);
  }
  void EditStateMachine(StateMachine& m) override { Open("state machine", editMachine, m); }
  // Answers with the next scripted port (nullopt: Cancel), or OK on the preset when none is
  // left.
  std::optional<std::string> ChooseArcPort(const std::vector<std::string>& offered,
                                           const std::string& preset) override {
    opened.push_back("arc port");
    portLists.push_back(offered);
    if (ports.empty())
      return preset;
    auto answer = ports.front();
    ports.pop_front();
    return answer;
  }
  std::optional<CommandId> ShowContextMenu(Point,
                                           const std::vector<ContextMenuItem>& items) override {
    menus.push_back(items);
    if (menuChoices.empty())
      return std::nullopt;
    auto answer = menuChoices.front();
    menuChoices.pop_front();
    return answer;
  }
  void TooltipChanged(const std::string& text) override { tooltips.push_back(text); }
  void PointerMoved(Point logical) override { pointer = logical; }

  std::deque<std::optional<std::filesystem::path>> files;  // nullopt answers "cancel"
  std::deque<std::optional<std::string>> names;
  std::vector<FileDialogSpec> dialogs;
  std::vector<ChangeSet> notifications;  // one for each command or event that changed something
  int treeRebuilds = 0;

  std::function<void(ShiftRegister&)> editRegister;
  std::function<void(SourceTransition&)> editSource;
  std::function<void(Counter&)> editCounter;
  std::function<void(SinkTransition&)> editSink;
  std::function<void(StateMachine&)> editMachine;
  std::deque<std::optional<std::string>> ports;  // nullopt answers "cancel"
  std::deque<std::optional<CommandId>> menuChoices;
  std::vector<std::string> opened;  // the dialogs opened, in order
  std::vector<int> sinkReceived;    // what the last sink dialog was given as received
  std::vector<std::vector<std::string>> portLists;
  std::vector<std::vector<ContextMenuItem>> menus;
  std::vector<std::string> tooltips;
  Point pointer;
  int redraws = 0;  // notifications of more than the overlay
  SaveChangesAnswer saveAnswer = SaveChangesAnswer::kDiscard;
  int saveQuestions = 0;
  std::vector<std::filesystem::path> usedFiles;
  std::deque<OverwriteAnswer> overwriteAnswers;
  std::vector<OverwriteQuestion> overwriteQuestions;
  std::vector<std::string> saveFailures;

 private:
  template <typename Record>
  void Open(const char* dialog, const std::function<void(Record&)>& edit, Record& record) {
    opened.push_back(dialog);
    if (edit)
      edit(record);
  }
};

}  // namespace pelkor::testing
