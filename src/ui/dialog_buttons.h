#pragma once

class QDialog;
class QDialogButtonBox;

namespace pelkor {

// The buttons "OK" and "キャンセル", closing the dialog through its accept() and reject().
QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog);

}  // namespace pelkor
