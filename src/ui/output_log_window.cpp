// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/output_log_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace pelkor {

OutputLogWindow::OutputLogWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), owner_(owner) {
  setObjectName("outputLog");
  setWindowTitle("アウトプット");
  setWindowOpacity(0.5);  // stays opaque where the window system cannot blend
  edit_ = new QPlainTextEdit(this);
  edit_->setObjectName("outputLogText");
  edit_->setReadOnly(true);
  edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->addWidget(edit_);
  resize(420, 110);
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

void OutputLogWindow::FollowOwner(int bottomInset) {
  if (owner_ == nullptr)
    return;
  const QRect frame = owner_->frameGeometry();
  move(frame.left() + 20, frame.bottom() - bottomInset - 150);
}

void OutputLogWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    emit closeRequested();
    return;
  }
  QWidget::keyPressEvent(event);
}

void OutputLogWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  emit closeRequested();
}

}  // namespace pelkor
