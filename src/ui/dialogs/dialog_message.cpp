// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/dialog_message.h"

#include <QMessageBox>
#include <utility>

#include "edit/bit_text.h"

namespace pelkor {
namespace {

void ShowMessageBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Warning, QString(), text, QMessageBox::Ok, parent);
  box.exec();
}

DialogMessageHandler& CurrentHandler() {
  static DialogMessageHandler handler = ShowMessageBox;
  return handler;
}

}  // namespace

void ShowDialogMessage(QWidget* parent, const QString& text) {
  CurrentHandler()(parent, text);
}

bool CheckBitText(QWidget* parent, const std::string& text, bool hexEntry) {
  if (!FindInvalidBitCharacter(text, hexEntry))
    return true;
  ShowDialogMessage(parent, QStringLiteral("間違った値が入力されています"));
  return false;
}

ScopedDialogMessageHandler::ScopedDialogMessageHandler(DialogMessageHandler handler)
    : previous_(std::exchange(CurrentHandler(), std::move(handler))) {}

ScopedDialogMessageHandler::~ScopedDialogMessageHandler() {
  CurrentHandler() = std::move(previous_);
}

}  // namespace pelkor
