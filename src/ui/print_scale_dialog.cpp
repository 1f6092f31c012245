// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/print_scale_dialog.h"

#include <algorithm>

#include <QComboBox>
#include <QGridLayout>
#include <QRadioButton>
#include <QSpinBox>

#include "ui/dialogs/dialog_buttons.h"
#include "view/view_state.h"

namespace pelkor {

PrintScaleDialog::PrintScaleDialog(const PrintScale& scale, QWidget* parent) : QDialog(parent) {
  setObjectName("printScaleDialog");
  setWindowTitle("印刷の倍率");
  onePage_ = new QRadioButton("1ページに合わせる", this);
  onePage_->setObjectName("onePage");
  pagesWide_ = new QRadioButton("横のページ数に合わせる", this);
  pagesWide_->setObjectName("pagesWide");
  pageCount_ = new QSpinBox(this);
  pageCount_->setObjectName("pageCount");
  pageCount_->setRange(1, kMaxPrintPagesPerSide);
  pageCount_->setSuffix(" ページ");
  pageCount_->setValue(scale.pagesWide);
  zoomed_ = new QRadioButton("表示倍率で印刷する", this);
  zoomed_->setObjectName("zoomed");
  zoomLevel_ = new QComboBox(this);
  zoomLevel_->setObjectName("zoomLevel");
  zoomLevel_->addItem("等倍");
  for (int level = 1; level <= kMaxZoomLevel; ++level)
    zoomLevel_->addItem(QString("1/%1").arg(1 << level));
  zoomLevel_->setCurrentIndex(std::clamp(scale.zoomLevel, 0, kMaxZoomLevel));
  switch (scale.fit) {
    case PrintFit::kOnePage:
      onePage_->setChecked(true);
      break;
    case PrintFit::kPagesWide:
      pagesWide_->setChecked(true);
      break;
    case PrintFit::kFullSize:
      zoomed_->setChecked(true);
      break;
  }
  // Each choice's value is entered only while the choice is made.
  pageCount_->setEnabled(pagesWide_->isChecked());
  zoomLevel_->setEnabled(zoomed_->isChecked());
  connect(pagesWide_, &QRadioButton::toggled, pageCount_, &QSpinBox::setEnabled);
  connect(zoomed_, &QRadioButton::toggled, zoomLevel_, &QComboBox::setEnabled);

  auto* layout = new QGridLayout(this);
  layout->addWidget(onePage_, 0, 0, 1, 2);
  layout->addWidget(pagesWide_, 1, 0);
  layout->addWidget(pageCount_, 1, 1);
  layout->addWidget(zoomed_, 2, 0);
  layout->addWidget(zoomLevel_, 2, 1);
  layout->addWidget(MakeOkCancelButtons(this), 3, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

PrintScale PrintScaleDialog::scale() const {
  PrintScale scale{.pagesWide = pageCount_->value(), .zoomLevel = zoomLevel_->currentIndex()};
  if (pagesWide_->isChecked())
    scale.fit = PrintFit::kPagesWide;
  else if (zoomed_->isChecked())
    scale.fit = PrintFit::kFullSize;
  return scale;
}

bool AskPrintScale(QWidget* parent, PrintScale& scale) {
  PrintScaleDialog dialog(scale, parent);
  if (dialog.exec() != QDialog::Accepted)
    return false;
  scale = dialog.scale();
  return true;
}

}  // namespace pelkor
