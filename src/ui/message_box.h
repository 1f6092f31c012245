#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace pelkor {

// Shows a message to the user; dialogs take one so that tests can answer without a window.
using MessageBoxFunction = std::function<void(QWidget* parent, const QString& text)>;

// The application's message box: a warning with the parent's title.
void ShowWarning(QWidget* parent, const QString& text);

}  // namespace pelkor
