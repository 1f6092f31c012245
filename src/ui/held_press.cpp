// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/held_press.h"

#include <QApplication>
#include <utility>

namespace pelkor {

HeldPress::HeldPress(QObject* parent) : QObject(parent) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &HeldPress::Flush);
}

void HeldPress::Hold(std::function<void()> deliver) {
  Flush();
  deliver_ = std::move(deliver);
  timer_.start(QApplication::doubleClickInterval());
}

void HeldPress::Flush() {
  timer_.stop();
  if (std::function<void()> deliver = std::exchange(deliver_, nullptr))
    deliver();
}

bool HeldPress::Drop() {
  timer_.stop();
  return std::exchange(deliver_, nullptr) != nullptr;
}

}  // namespace pelkor
