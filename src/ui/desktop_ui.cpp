#include "ui/desktop_ui.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QWidget>

namespace pelkor {

namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<std::filesystem::path> ShowFileDialog(QWidget* parent, const FileDialogSpec& spec) {
  const QString filter = QtFileFilter(spec.filter);
  // The initial name is a pattern such as "*.dtn": the filter already says it, so the name
  // field starts empty, as it would with the pattern applied.
  const QString name = spec.forSaving ? QFileDialog::getSaveFileName(parent, {}, {}, filter)
                                      : QFileDialog::getOpenFileName(parent, {}, {}, filter);
  if (name.isEmpty())
    return std::nullopt;
  return std::filesystem::path(name.toStdString());
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
  const QString text = FromUtf8(filter);
  return text.section('|', 0, 0);
}

DesktopUi::DesktopUi(QWidget* dialogParent) : dialogParent_(dialogParent) {
  fileChooser_ = [this](const FileDialogSpec& spec) { return ShowFileDialog(dialogParent_, spec); };
}

std::optional<std::filesystem::path> DesktopUi::ChooseFile(const FileDialogSpec& dialog) {
  return fileChooser_(dialog);
}

std::optional<std::string> DesktopUi::AskModuleName() {
  bool ok = false;
  const QString name =
      QInputDialog::getText(dialogParent_, "Please input data...", "Module nameを設定してください",
                            QLineEdit::Normal, {}, &ok);
  if (!ok)
    return std::nullopt;
  return name.toStdString();
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
  const QPoint at = dialogParent_ != nullptr
                        ? dialogParent_->mapToGlobal(QPoint(client.x, client.y))
                        : QPoint(client.x, client.y);
  QAction* chosen = menu.exec(at);
  if (chosen == nullptr)
    return std::nullopt;
  return static_cast<CommandId>(chosen->data().toInt());
}

void DesktopUi::TitleChanged(const std::string& title) {
  emit titleChanged(FromUtf8(title));
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
