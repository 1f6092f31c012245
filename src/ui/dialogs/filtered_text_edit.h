// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>
#include <string>

namespace pelkor {

// A multi-line edit of a dialog: Enter starts a new line, Tab moves on to the next control.
// It can refuse every typed character but digits, or turn typed and pasted letters into upper
// case. Its text is read and written with the records' CR LF line breaks.
class FilteredTextEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  enum class Input { kAny, kDigits, kUpperCase };

  explicit FilteredTextEdit(Input input, QWidget* parent = nullptr);

  void SetRecordText(const std::string& text);
  std::string RecordText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  Input input_;
};

}  // namespace pelkor
