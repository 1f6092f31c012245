// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>

#include "edit/editor_ui.h"
#include "edit/state_machine_editor.h"

class QAction;
class QPushButton;
class QToolBar;
class QWidget;

namespace pelkor {

// The state machine editor: a resizable modal dialog whose drawing surface shows the states
// and state arcs of one machine, with the tools in a toolbar and in the menu "ツール".
class StateMachineDialog : public QDialog, private StateMachineEditorUi {
  Q_OBJECT

 public:
  // Opens the state dialog for a state and gives back what it took.
  using StateDialogFunction =
      std::function<StateDialogValues(QWidget* parent, const StateDialogValues& values)>;

  // `arcNames` answers the arc-name dialog (its ChooseArcPort).
  StateMachineDialog(const StateMachine& machine, EditorUi& arcNames, QWidget* parent = nullptr);

  // Writes the machine back, whichever button closed the dialog: after Cancel, as it was.
  void store(StateMachine& machine) const { editor_.Store(machine); }
  const StateMachineEditor& editor() const { return editor_; }
  QWidget* surface() const { return surface_; }
  void setStateDialog(StateDialogFunction stateDialog) { stateDialog_ = std::move(stateDialog); }

  void accept() override;
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::optional<std::string> ChooseArcName(const std::vector<std::string>& names,
                            const std::string& preset) override;
  StateDialogValues EditState(const StateDialogValues& values) override;
  void Warn(const std::string& text) override;

  QAction* AddTool(const char* name, const QString& text, const QString& toolTip,
                   const QString& icon, MachineTool tool);
  void ShowTool();
  void LayOut();

  EditorUi& arcNames_;
  StateMachineEditor editor_;
  StateDialogFunction stateDialog_;
  QWidget* client_;
  QToolBar* toolBar_;
  QWidget* surface_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
  std::vector<std::pair<QAction*, MachineTool>> tools_;
};

}  // namespace pelkor
