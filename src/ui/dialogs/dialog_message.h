// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace pelkor {

// Where the property dialogs send the messages of a refused OK. The desktop shows a modal
// message box without title text; tests put a handler in its place for their lifetime, so no
// box ever blocks them.
using DialogMessageHandler = std::function<void(QWidget* parent, const QString& text)>;

void ShowDialogMessage(QWidget* parent, const QString& text);

// Checks a bit text (hexadecimal entry or not) and shows "間違った値が入力されています" when a
// character is not allowed; whether the text passed.
bool CheckBitText(QWidget* parent, const std::string& text, bool hexEntry);

class ScopedDialogMessageHandler {
 public:
  explicit ScopedDialogMessageHandler(DialogMessageHandler handler);
  ~ScopedDialogMessageHandler();
  ScopedDialogMessageHandler(const ScopedDialogMessageHandler&) = delete;
  ScopedDialogMessageHandler& operator=(const ScopedDialogMessageHandler&) = delete;

 private:
  DialogMessageHandler previous_;
};

}  // namespace pelkor
