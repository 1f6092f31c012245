// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "workspace/workspace_ui.h"

class QWidget;

namespace pelkor {

// The workspace's way to the user on the desktop: real dialogs, and its notifications turned
// into Qt signals that the windows connect to. Tests replace the file chooser.
class DesktopUi : public QObject, public WorkspaceUi {
  Q_OBJECT

 public:
  using FileChooser =
      std::function<std::optional<std::filesystem::path>(const FileDialogSpec& dialog)>;

  explicit DesktopUi(QWidget* dialogParent);

  void SetFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }
  void SetDialogParent(QWidget* parent) { dialogParent_ = parent; }
  // The widget whose client coordinates the context menus are given in.
  void SetViewWidget(QWidget* view) { viewWidget_ = view; }
  // Tells AskSaveChanges which modules changed.
  void SetModifiedModulesProbe(std::function<std::vector<std::string>()> probe) {
    modifiedModules_ = std::move(probe);
  }
  QTimer& timer() { return timer_; }

  // WorkspaceUi
  std::optional<std::filesystem::path> ChooseFile(const FileDialogSpec& dialog) override;
  std::optional<std::string> AskModuleName() override;
  void EditShiftRegister(ShiftRegister& record, bool simulating) override;
  void EditSource(SourceTransition& record, bool simulating) override;
  void EditCounter(Counter& record, bool simulating) override;
  void EditSink(SinkTransition& record, bool simulating, const std::vector<int>& received) override;
  void EditStateMachine(StateMachine& machine) override;
  std::optional<std::string> ChooseArcPort(const std::vector<std::string>& names,
                                           const std::string& preset) override;
  SaveChangesAnswer AskSaveChanges() override;
  OverwriteAnswer AskOverwrite(const OverwriteQuestion& question) override;
  void ShowSaveFailure(const std::string& text) override;
  void DesignFileUsed(const std::filesystem::path& path) override;
  std::optional<CommandId> ShowContextMenu(Point client,
                                           const std::vector<ContextMenuItem>& items) override;
  void Changed(ChangeSet changes) override { emit changed(changes.bits()); }
  void TooltipChanged(const std::string& text) override;
  void PointerMoved(Point logical) override { emit pointerMoved(logical.x, logical.y); }
  RunProgress LongRunProgress() override;
  void StartTimer(int intervalMilliseconds) override;
  void StopTimer() override { timer_.stop(); }
  void SetWaitCursor(bool waiting) override;
  bool IsModuleTreeOpen() const override { return moduleTreeOpen_ && moduleTreeOpen_(); }
  void OpenModuleTree() override { emit moduleTreeOpenRequested(); }
  void CloseModuleTree() override { emit moduleTreeCloseRequested(); }

  // Answers IsModuleTreeOpen for the window that owns the tree.
  void SetModuleTreeProbe(std::function<bool()> probe) { moduleTreeOpen_ = std::move(probe); }

 signals:
  // What a command or an event of the workspace changed: a ChangeSet's bits.
  void changed(quint16 changes);
  void tooltipChanged(const QString& text);
  void pointerMoved(int x, int y);
  void moduleTreeOpenRequested();
  void moduleTreeCloseRequested();
  void designFileUsed(const QString& path);

 private:
  QWidget* dialogParent_;
  QWidget* viewWidget_ = nullptr;
  std::function<std::vector<std::string>()> modifiedModules_;
  FileChooser fileChooser_;
  QTimer timer_;
  std::function<bool()> moduleTreeOpen_;
  bool waitCursor_ = false;
};

// Qt's filter string for a filter in the form "description(*.ext)|*.ext||".
QString QtFileFilter(const std::string& filter);

}  // namespace pelkor
