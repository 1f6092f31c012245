// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/waveform_dock.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <array>

#include "ui/waveform_view.h"
#include "workspace/workspace.h"

namespace pelkor {

namespace {

constexpr std::array kColumnWidths = {2, 4, 8, 16, 32, 64};

QPushButton* AddButton(QHBoxLayout* row, const QString& text, const char* name) {
  auto* button = new QPushButton(text);
  button->setObjectName(name);
  row->addWidget(button);
  return button;
}

}  // namespace

WaveformDock::WaveformDock(Workspace& workspace, QWidget* parent)
    : QDockWidget("波形", parent), workspace_(workspace) {
  setObjectName("waveformDock");
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* buttons = new QHBoxLayout;
  nextMismatch_ = AddButton(buttons, "次の不一致", "nextMismatchButton");
  saveVcd_ = AddButton(buttons, "VCDで保存...", "saveVcdButton");
  QPushButton* zoomIn = AddButton(buttons, "拡大", "waveZoomInButton");
  QPushButton* zoomOut = AddButton(buttons, "縮小", "waveZoomOutButton");
  stepLabel_ = new QLabel(body);
  stepLabel_->setObjectName("stepLabel");
  buttons->addWidget(stepLabel_);
  buttons->addStretch();
  droppedNote_ = new QLabel(body);
  droppedNote_->setObjectName("droppedNote");
  buttons->addWidget(droppedNote_);
  layout->addLayout(buttons);
  auto* rows = new QHBoxLayout;
  view_ = new WaveformView(workspace_.history(), body);
  rows->addWidget(view_, 1);
  rowScrollBar_ = new QScrollBar(Qt::Vertical, body);
  rowScrollBar_->setObjectName("waveformRowScrollBar");
  rowScrollBar_->setSingleStep(WaveformView::kRowHeight);
  rows->addWidget(rowScrollBar_);
  layout->addLayout(rows, 1);
  scrollBar_ = new QScrollBar(Qt::Horizontal, body);
  scrollBar_->setObjectName("waveformScrollBar");
  layout->addWidget(scrollBar_);
  setWidget(body);

  connect(nextMismatch_, &QPushButton::clicked, this, &WaveformDock::JumpToNextMismatch);
  connect(saveVcd_, &QPushButton::clicked, this, &WaveformDock::SaveVcd);
  connect(zoomIn, &QPushButton::clicked, this, [this] { Zoom(1); });
  connect(zoomOut, &QPushButton::clicked, this, [this] { Zoom(-1); });
  connect(view_, &WaveformView::zoomRequested, this, &WaveformDock::Zoom);
  connect(view_, &WaveformView::resized, this, &WaveformDock::Refresh);
  connect(view_, &WaveformView::hoveredStepChanged, this, &WaveformDock::UpdateStepLabel);
  connect(view_, &WaveformView::stepClicked, this, [this](std::int64_t step) {
    if (workspace_.IsSimulating())
      workspace_.GoToStep(step);
  });
  connect(scrollBar_, &QScrollBar::valueChanged, view_,
          [this](int value) { view_->SetFirstStep(value); });
  connect(rowScrollBar_, &QScrollBar::valueChanged, view_, &WaveformView::SetTopOffset);
  connect(view_, &WaveformView::scrollRequested, this, [this](QWheelEvent* event) {
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) ||
                          qAbs(event->angleDelta().x()) > qAbs(event->angleDelta().y());
    QScrollBar* bar = sideways ? scrollBar_ : rowScrollBar_;
    // A scroll bar scrolls a page with Shift; the wheel moves it line by line.
    QWheelEvent lines(event->position(), event->globalPosition(), event->pixelDelta(),
                      sideways && event->angleDelta().x() == 0 ? QPoint(event->angleDelta().y(), 0)
                                                               : event->angleDelta(),
                      event->buttons(), event->modifiers() & ~Qt::ShiftModifier, event->phase(),
                      event->inverted());
    QCoreApplication::sendEvent(bar, &lines);
  });
  chooseFile_ = [this] {
    return QFileDialog::getSaveFileName(this, "VCDで保存", QString(), "Value Change Dump (*.vcd)");
  };
  Refresh();
}

void WaveformDock::Refresh() {
  const SignalHistory& history = workspace_.history();
  const bool following = scrollBar_->value() >= scrollBar_->maximum();
  const int first = history.empty() ? 0 : static_cast<int>(history.firstStep());
  const int last = history.empty() ? 0 : static_cast<int>(history.lastStep());
  const int columns = view_->VisibleColumns();
  scrollBar_->setRange(first, std::max(first, last - columns + 1));
  scrollBar_->setPageStep(columns);
  if (following)
    scrollBar_->setValue(scrollBar_->maximum());
  view_->SetFirstStep(scrollBar_->value());
  rowScrollBar_->setRange(0, std::max(0, view_->ContentHeight() - view_->height()));
  rowScrollBar_->setPageStep(std::max(1, view_->height()));
  view_->SetTopOffset(rowScrollBar_->value());
  // A new run, which starts the history again, leaves nothing marked from the last one.
  if (history.empty() || last < shownLastStep_) {
    view_->SetMarkedStep(std::nullopt);
    stepLabel_->clear();
  }
  shownLastStep_ = last;
  droppedNote_->setText(
      history.droppedSteps() > 0
          ? QString("古い%1ステップは記録から外しました").arg(history.droppedSteps())
          : QString());
  nextMismatch_->setEnabled(!history.empty());
  saveVcd_->setEnabled(!history.empty());
  view_->update();
}

void WaveformDock::JumpToNextMismatch() {
  const std::int64_t from = view_->markedStep().value_or(view_->firstStep() - 1);
  const std::optional<std::int64_t> next = workspace_.history().NextMismatch(from);
  view_->SetMarkedStep(next);
  if (!next) {
    stepLabel_->setText("次の不一致はありません");
    return;
  }
  stepLabel_->setText(QString("不一致: ステップ%1").arg(*next));
  const int columns = view_->VisibleColumns();
  if (*next < view_->firstStep() || *next >= view_->firstStep() + columns)
    scrollBar_->setValue(static_cast<int>(*next - columns / 4));
}

void WaveformDock::SaveVcd() {
  const QString path = chooseFile_();
  if (!path.isEmpty())
    workspace_.SaveWaveforms(path.toStdString());
}

void WaveformDock::Zoom(int direction) {
  const auto current = std::find(kColumnWidths.begin(), kColumnWidths.end(), view_->columnWidth());
  const auto index =
      std::clamp<std::ptrdiff_t>((current - kColumnWidths.begin()) + direction, 0,
                                 static_cast<std::ptrdiff_t>(kColumnWidths.size()) - 1);
  view_->SetColumnWidth(kColumnWidths[static_cast<std::size_t>(index)]);
  Refresh();
}

void WaveformDock::UpdateStepLabel(std::optional<std::int64_t> step) {
  stepLabel_->setText(step ? QString("ステップ%1").arg(*step) : QString());
}

}  // namespace pelkor
