// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace pelkor {

// A left press that a double-click may yet claim. It is handed on when the double-click
// interval has passed, or at once when another event must not overtake it; a double-click
// drops it. Used for presses that would complete an arc, since a double-click never does.
class HeldPress : public QObject {
 public:
  explicit HeldPress(QObject* parent);

  void Hold(std::function<void()> deliver);
  // Hands on the press held, if any.
  void Flush();
  // Drops the press held; whether there was one.
  bool Drop();

 private:
  QTimer timer_;
  std::function<void()> deliver_;
};

}  // namespace pelkor
