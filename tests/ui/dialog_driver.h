// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "ui/dialogs/dialog_message.h"

namespace pelkor::testing {

// A control of a dialog by its object name; a missing one ends the run with its name.
template <class Control = QWidget>
Control* Find(const QWidget* dialog, const char* name) {
  auto* control = dialog->findChild<Control*>(name);
  if (!control)
    qFatal("no control \"%s\" of the expected kind", name);
  return control;
}

// Clicks a button near its left end, where check boxes and radio buttons have their marks.
inline void Click(const QWidget* dialog, const char* name) {
  auto* button = Find<QAbstractButton>(dialog, name);
  const int half = button->height() / 2;
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(std::min(half, button->width() / 2), half));
}

// Records the messages the dialogs would have shown in a message box.
class RecordedMessages {
 public:
  QStringList texts;

 private:
  ScopedDialogMessageHandler handler_{
      [this](QWidget* /*parent*/, const QString& text) { texts << text; }};
};

// Runs `act` on the modal dialog the next call opens, once its event loop runs. A dialog that
// `act` leaves open (a failed check returns early) is cancelled, so the test never hangs.
inline void WhenModal(std::function<void(QDialog*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog)
      qFatal("no modal dialog open");
    act(dialog);
    if (dialog->isVisible())
      dialog->reject();
  });
}

// A double-click as the window system delivers it: press, release, then the double-click in
// place of the second press, and its release.
inline void DoubleClick(QWidget* widget, QPoint at) {
  const QPointF local(at);
  const QPointF global = widget->mapToGlobal(local);
  for (const auto& [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton},
                                      std::pair{QEvent::MouseButtonRelease, Qt::NoButton},
                                      std::pair{QEvent::MouseButtonDblClick, Qt::LeftButton},
                                      std::pair{QEvent::MouseButtonRelease, Qt::NoButton}}) {
    QMouseEvent event(type, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  }
}

inline const QString kWrongValue = QStringLiteral("間違った値が入力されています");

}  // namespace pelkor::testing
