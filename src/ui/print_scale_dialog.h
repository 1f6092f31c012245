// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "view/print_layout.h"

class QComboBox;
class QRadioButton;
class QSpinBox;

namespace pelkor {

// Asked before printing and before the preview: fit the module to one page, fit it to a
// number of pages across, or print it as large as the view shows it at one of its zoom
// levels, across as many pages as that needs.
class PrintScaleDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PrintScaleDialog(const PrintScale& scale, QWidget* parent = nullptr);

  PrintScale scale() const;

 private:
  QRadioButton* onePage_;
  QRadioButton* pagesWide_;
  QRadioButton* zoomed_;
  QSpinBox* pageCount_;
  QComboBox* zoomLevel_;
};

// Shows the dialog; false when the user cancels, else `scale` holds the choice.
bool AskPrintScale(QWidget* parent, PrintScale& scale);

}  // namespace pelkor
