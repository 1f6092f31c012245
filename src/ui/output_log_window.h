// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDockWidget>

#include "model/output_log.h"

class QPlainTextEdit;

namespace pelkor {

class Workspace;

// The output log: a dock window, at the main window's bottom by default, that collects every
// line written while it is shown. Floating, it keeps the half-transparent look of the log that
// floats over the drawing. A click on a line that names an object shows that object.
class OutputLogWindow : public QDockWidget, public LogSink {
  Q_OBJECT

 public:
  explicit OutputLogWindow(Workspace& workspace, QWidget* parent = nullptr);

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
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Workspace& workspace_;
  QPlainTextEdit* edit_;
};

}  // namespace pelkor
