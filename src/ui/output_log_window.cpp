// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/output_log_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include "workspace/workspace.h"

namespace pelkor {

OutputLogWindow::OutputLogWindow(Workspace& workspace, QWidget* parent)
    : QDockWidget("アウトプット", parent), workspace_(workspace) {
  setObjectName("outputLog");
  edit_ = new QPlainTextEdit(this);
  edit_->setObjectName("outputLogText");
  edit_->setReadOnly(true);
  edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setWidget(edit_);
  edit_->viewport()->installEventFilter(this);
  // Floating, the log is see-through so that it hides little of the drawing; docked it takes
  // a place of its own and stays opaque. It stays opaque where the window system cannot blend.
  connect(this, &QDockWidget::topLevelChanged, this,
          [this](bool floating) { setWindowOpacity(floating ? 0.5 : 1.0); });
}

void OutputLogWindow::WriteLine(std::string_view line) {
  // Appended at the end whatever the user selected, and scrolled into view.
  QTextCursor cursor(edit_->document());
  cursor.movePosition(QTextCursor::End);
  if (!edit_->document()->isEmpty())
    cursor.insertBlock();
  cursor.insertText(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
  edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->maximum());
}

QString OutputLogWindow::text() const {
  return edit_->toPlainText();
}

void OutputLogWindow::Clear() {
  edit_->clear();
}

void OutputLogWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    emit closeRequested();
    return;
  }
  QDockWidget::keyPressEvent(event);
}

bool OutputLogWindow::eventFilter(QObject* watched, QEvent* event) {
  // A click, not the end of a drag that selected text to copy.
  if (watched == edit_->viewport() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      !edit_->textCursor().hasSelection()) {
    const QTextBlock line =
        edit_->cursorForPosition(static_cast<QMouseEvent*>(event)->position().toPoint()).block();
    workspace_.ShowLogLineObject(line.text().toStdString(), line.next().text().toStdString());
  }
  return QDockWidget::eventFilter(watched, event);
}

void OutputLogWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  emit closeRequested();
}

}  // namespace pelkor
