#include "ui/message_box.h"

#include <QMessageBox>

namespace pelkor {

void ShowWarning(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, parent != nullptr ? parent->windowTitle() : QString(), text);
}

}  // namespace pelkor
