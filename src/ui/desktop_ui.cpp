// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/desktop_ui.h"

#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QWidget>

#include "ui/design_file_dialog.h"
#include "ui/dialogs/property_dialogs.h"
#include "ui/state_machine_dialog.h"

namespace pelkor {

namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<std::filesystem::path> ShowFileDialog(QWidget* parent,
                                                    const FileDialogSpec& request) {
  DesignFileDialog dialog(parent, request);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return std::filesystem::path(dialog.selectedFiles().constFirst().toStdString());
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
  const QString text = FromUtf8(filter);
  return text.section('|', 0, 0);
}

DesktopUi::DesktopUi(QWidget* dialogParent) : dialogParent_(dialogParent) {
  fileChooser_ = [this](const FileDialogSpec& request) {
    return ShowFileDialog(dialogParent_, request);
  };
}

std::optional<std::filesystem::path> DesktopUi::ChooseFile(const FileDialogSpec& dialog) {
  return fileChooser_(dialog);
}

std::optional<std::string> DesktopUi::AskModuleName() {
  return pelkor::AskModuleName(dialogParent_);
}

void DesktopUi::EditShiftRegister(ShiftRegister& record, bool simulating) {
  pelkor::EditShiftRegister(dialogParent_, record, simulating);
}

void DesktopUi::EditSource(SourceTransition& record, bool simulating) {
  pelkor::EditSource(dialogParent_, record, simulating);
}

void DesktopUi::EditCounter(Counter& record, bool simulating) {
  pelkor::EditCounter(dialogParent_, record, simulating);
}

void DesktopUi::EditSink(SinkTransition& record, bool simulating,
                         const std::vector<int>& received) {
  pelkor::EditSink(dialogParent_, record, simulating, received);
}

void DesktopUi::EditStateMachine(StateMachine& machine) {
  StateMachineDialog dialog(machine, *this, dialogParent_);
  dialog.exec();
  dialog.store(machine);
}

std::optional<std::string> DesktopUi::ChooseArcPort(const std::vector<std::string>& names,
                                                    const std::string& preset) {
  return pelkor::ChooseArcPort(dialogParent_, names, preset);
}

SaveChangesAnswer DesktopUi::AskSaveChanges() {
  QMessageBox box(QMessageBox::Warning, "pelkor", "変更を保存しますか？", QMessageBox::NoButton,
                  dialogParent_);
  box.setObjectName("saveChangesBox");
  if (modifiedModules_) {
    QStringList names;
    for (const std::string& name : modifiedModules_())
      names << FromUtf8(name);
    box.setInformativeText("変更されたモジュール: " + names.join(", "));
  }
  QPushButton* saveAll = box.addButton("一括保存", QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton("破棄", QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton("キャンセル", QMessageBox::RejectRole);
  saveAll->setObjectName("saveAllButton");
  discard->setObjectName("discardButton");
  cancel->setObjectName("cancelButton");
  box.setDefaultButton(saveAll);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == saveAll)
    return SaveChangesAnswer::kSaveAll;
  if (box.clickedButton() == discard)
    return SaveChangesAnswer::kDiscard;
  return SaveChangesAnswer::kCancel;
}

OverwriteAnswer DesktopUi::AskOverwrite(const OverwriteQuestion& question) {
  QMessageBox box(QMessageBox::Warning, "pelkor", FromUtf8(question.text), QMessageBox::NoButton,
                  dialogParent_);
  box.setObjectName("overwriteBox");
  QPushButton* overwrite = box.addButton("上書きする", QMessageBox::DestructiveRole);
  QPushButton* saveAs = box.addButton("名前を付けて保存...", QMessageBox::AcceptRole);
  QPushButton* skip = question.canSkip
                          ? box.addButton("このモジュールを保存しない", QMessageBox::RejectRole)
                          : nullptr;
  QPushButton* cancel = box.addButton("キャンセル", QMessageBox::RejectRole);
  overwrite->setObjectName("overwriteButton");
  saveAs->setObjectName("saveAsButton");
  cancel->setObjectName("cancelButton");
  if (skip != nullptr)
    skip->setObjectName("skipButton");
  // What loses nothing is what Return and Escape do.
  box.setDefaultButton(saveAs);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == overwrite)
    return OverwriteAnswer::kOverwrite;
  if (box.clickedButton() == saveAs)
    return OverwriteAnswer::kSaveAs;
  if (skip != nullptr && box.clickedButton() == skip)
    return OverwriteAnswer::kSkip;
  return OverwriteAnswer::kCancel;
}

void DesktopUi::ShowSaveFailure(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, "pelkor", FromUtf8(text), QMessageBox::Ok, dialogParent_);
  box.setObjectName("saveFailureBox");
  box.exec();
}

void DesktopUi::DesignFileUsed(const std::filesystem::path& path) {
  emit designFileUsed(QString::fromStdString(path.string()));
}

std::optional<CommandId> DesktopUi::ShowContextMenu(Point client,
                                                    const std::vector<ContextMenuItem>& items) {
  QMenu menu(dialogParent_);
  for (const ContextMenuItem& item : items) {
    if (!item.command) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(FromUtf8(item.text));
    action->setEnabled(item.enabled);
    action->setData(static_cast<int>(*item.command));
  }
  QWidget* origin = viewWidget_ != nullptr ? viewWidget_ : dialogParent_;
  const QPoint at = origin != nullptr ? origin->mapToGlobal(QPoint(client.x, client.y))
                                      : QPoint(client.x, client.y);
  QAction* chosen = menu.exec(at);
  if (chosen == nullptr)
    return std::nullopt;
  return static_cast<CommandId>(chosen->data().toInt());
}

RunProgress DesktopUi::LongRunProgress() {
  // The run holds the window until the net is idle; past half a second a modal progress dialog
  // lets the user cancel it between steps. It lives as long as the function that reports to it.
  auto progress = std::make_shared<QProgressDialog>("アニメーションなしで実行しています...",
                                                    "キャンセル", 0, 0, dialogParent_);
  progress->setObjectName("runProgress");
  progress->setWindowTitle("pelkor");
  progress->setWindowModality(Qt::WindowModal);
  progress->setMinimumDuration(500);
  progress->setAutoReset(false);
  progress->setAutoClose(false);
  auto sinceEvents = std::make_shared<QElapsedTimer>();
  sinceEvents->start();
  return [progress, sinceEvents](std::int64_t steps, StepActivity) {
    if (sinceEvents->elapsed() < 50)
      return true;
    sinceEvents->restart();
    progress->setLabelText(QString("アニメーションなしで実行しています... %1 ステップ").arg(steps));
    progress->setValue(0);
    QApplication::processEvents();
    return !progress->wasCanceled();
  };
}

void DesktopUi::TooltipChanged(const std::string& text) {
  emit tooltipChanged(FromUtf8(text));
}

void DesktopUi::StartTimer(int intervalMilliseconds) {
  timer_.start(intervalMilliseconds);
}

void DesktopUi::SetWaitCursor(bool waiting) {
  if (waiting == waitCursor_)
    return;
  waitCursor_ = waiting;
  if (waiting) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

}  // namespace pelkor
