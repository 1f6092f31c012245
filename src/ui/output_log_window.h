// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "model/output_log.h"

class QPlainTextEdit;

namespace pelkor {

// The output log: a small, half-transparent, frameless tool window that floats over the
// bottom-left corner of the main window and collects every line written while it exists.
class OutputLogWindow : public QWidget, public LogSink {
  Q_OBJECT

 public:
  explicit OutputLogWindow(QWidget* owner);

  void WriteLine(std::string_view line) override;
  QString text() const;
  // Puts the window's top-left corner at (left + 20, bottom - 150) of the owner's frame, raised
  // by `bottomInset` pixels that something docked at the frame's bottom takes.
  void FollowOwner(int bottomInset = 0);

 signals:
  // Escape or the close box: the owner hides the window through its own toggle.
  void closeRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* owner_;
  QPlainTextEdit* edit_;
};

}  // namespace pelkor
