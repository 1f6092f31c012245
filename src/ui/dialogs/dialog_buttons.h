// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;
class QWidget;

namespace pelkor {

// The OK and "キャンセル" buttons every property dialog ends with, wired to accept and reject.
QWidget* MakeOkCancelButtons(QDialog* dialog);

}  // namespace pelkor
