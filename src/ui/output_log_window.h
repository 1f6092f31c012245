// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDockWidget>

#include "model/output_log.h"

class QPlainTextEdit;

namespace pelkor {

// The output log: a dock window, at the main window's bottom by default, that collects every
// line written while it is shown. Floating, it keeps the half-transparent look of the log that
// floats over the drawing.
class OutputLogWindow : public QDockWidget, public LogSink {
  Q_OBJECT

 public:
  explicit OutputLogWindow(QWidget* parent = nullptr);

  void WriteLine(std::string_view line) override;
  QString text() const;
  // Forgets every line, as closing the log does.
  void Clear();

 signals:
  // Escape or the close box: the owner hides the window through its own toggle.
  void closeRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QPlainTextEdit* edit_;
};

}  // namespace pelkor
