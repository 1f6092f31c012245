// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/waveform_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "ui/qt_values.h"
#include "workspace/waveform/signal_history.h"

namespace pelkor {

namespace {

const QColor kWaveColour(0, 110, 0);
const QColor kEmptyColour(90, 110, 200);
const QColor kUnknownFill(215, 215, 215);
const QColor kMismatchColour(220, 0, 0);
const QColor kMismatchFill(255, 215, 215);
const QColor kExpectedColour(110, 110, 110);
const QColor kGridColour(235, 235, 235);
const QColor kPointerColour(120, 120, 120);

// Margins of a wave inside its row: high and low levels.
constexpr int kHighInset = 5;
constexpr int kLowInset = 21;
// No level drawn in the previous column, so no vertical edge joins it; rows lie at y >= 0.
constexpr int kNoLevel = -1;

}  // namespace

WaveformView::WaveformView(const SignalHistory& history, QWidget* parent)
    : QWidget(parent), history_(history) {
  setObjectName("waveformView");
  setMouseTracking(true);
  setMinimumHeight(kRowHeight * 4);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void WaveformView::SetFirstStep(std::int64_t step) {
  if (step == firstStep_)
    return;
  firstStep_ = step;
  update();
}

void WaveformView::SetColumnWidth(int pixels) {
  if (pixels == columnWidth_)
    return;
  columnWidth_ = pixels;
  update();
}

void WaveformView::SetTopOffset(int pixels) {
  if (pixels == topOffset_)
    return;
  topOffset_ = pixels;
  update();
}

int WaveformView::ContentHeight() const {
  return RowTop(history_.rows().size()) + topOffset_;
}

int WaveformView::VisibleColumns() const {
  return std::max(1, (width() - kNameWidth) / columnWidth_);
}

void WaveformView::SetMarkedStep(std::optional<std::int64_t> step) {
  markedStep_ = step;
  update();
}

int WaveformView::XOfStep(std::int64_t step) const {
  return kNameWidth + static_cast<int>(step - firstStep_) * columnWidth_;
}

std::optional<std::int64_t> WaveformView::StepAt(int x) const {
  if (x < kNameWidth || history_.empty())
    return std::nullopt;
  const std::int64_t step = firstStep_ + (x - kNameWidth) / columnWidth_;
  if (step < history_.firstStep() || step > history_.lastStep())
    return std::nullopt;
  return step;
}

void WaveformView::mousePressEvent(QMouseEvent* event) {
  const int x = static_cast<int>(event->position().x());
  if (event->button() == Qt::LeftButton && x >= kNameWidth)
    emit stepClicked(firstStep_ + (x - kNameWidth) / columnWidth_);
  QWidget::mousePressEvent(event);
}

int WaveformView::RowHeight(std::size_t row) const {
  return history_.rows()[row].expected.empty() ? kRowHeight : kRowHeight + kExpectedHeight;
}

int WaveformView::RowTop(std::size_t row) const {
  int top = -topOffset_;
  for (std::size_t i = 0; i < row; ++i)
    top += RowHeight(i);
  return top;
}

void WaveformView::PaintRow(QPainter& painter, std::size_t row, std::int64_t lastStep) {
  const int top = RowTop(row);
  const HistoryRow& shown = history_.rows()[row];
  int previousY = kNoLevel;
  for (std::int64_t step = std::max(firstStep_, history_.firstStep()); step <= lastStep; ++step) {
    const HistoryCell cell = history_.At(row, step);
    const int x = XOfStep(step);
    if (cell.mismatch)
      painter.fillRect(QRect(x, top, columnWidth_, RowHeight(row)), kMismatchFill);
    if (cell.value == kSignalUnknown) {
      painter.fillRect(QRect(x, top + kHighInset, columnWidth_, kLowInset - kHighInset),
                       kUnknownFill);
      previousY = kNoLevel;
      continue;
    }
    const int y = top + (cell.value == 1   ? kHighInset
                         : cell.value == 0 ? kLowInset
                                           : (kHighInset + kLowInset) / 2);
    painter.setPen(QPen(cell.mismatch                ? kMismatchColour
                        : cell.value == kSignalEmpty ? kEmptyColour
                                                     : kWaveColour,
                        2));
    if (previousY != kNoLevel && previousY != y)
      painter.drawLine(x, previousY, x, y);
    painter.drawLine(x, y, x + columnWidth_, y);
    previousY = y;
    if (!shown.expected.empty() && cell.expected && columnWidth_ >= 6) {
      painter.setPen(cell.mismatch ? kMismatchColour : kExpectedColour);
      painter.drawText(QRect(x, top + kRowHeight, columnWidth_, kExpectedHeight), Qt::AlignCenter,
                       QString::number(*cell.expected));
    }
  }
}

void WaveformView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const auto& rows = history_.rows();
  painter.setPen(Qt::black);
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const int top = RowTop(row);
    painter.fillRect(QRect(0, top + RowHeight(row) - 1, width(), 1), kGridColour);
    painter.drawText(QRect(4, top, kNameWidth - 8, kRowHeight), Qt::AlignVCenter | Qt::AlignLeft,
                     ToQString(rows[row].Label()));
  }
  painter.fillRect(QRect(kNameWidth - 1, 0, 1, height()), kGridColour);
  if (history_.empty())
    return;
  painter.setClipRect(QRect(kNameWidth, 0, width() - kNameWidth, height()));
  const std::int64_t lastStep = std::min(history_.lastStep(), firstStep_ + VisibleColumns());
  for (std::size_t row = 0; row < rows.size(); ++row)
    PaintRow(painter, row, lastStep);
  if (markedStep_) {
    painter.setPen(QPen(kMismatchColour, 1, Qt::DashLine));
    const int x = XOfStep(*markedStep_) + columnWidth_ / 2;
    painter.drawLine(x, 0, x, height());
  }
  if (hoveredStep_) {
    painter.setPen(QPen(kPointerColour, 1, Qt::DotLine));
    const int x = XOfStep(*hoveredStep_) + columnWidth_ / 2;
    painter.drawLine(x, 0, x, height());
    const QString text = QString::number(*hoveredStep_);
    const QRect box = painter.fontMetrics().boundingRect(text).adjusted(-3, -1, 3, 1);
    const QRect placed(x + 4, height() - box.height() - 2, box.width(), box.height());
    painter.fillRect(placed, QColor(255, 255, 225));
    painter.setPen(Qt::black);
    painter.drawText(placed, Qt::AlignCenter, text);
  }
}

void WaveformView::SetHoveredStep(std::optional<std::int64_t> step) {
  if (step == hoveredStep_)
    return;
  hoveredStep_ = step;
  update();
  emit hoveredStepChanged(step);
}

void WaveformView::mouseMoveEvent(QMouseEvent* event) {
  SetHoveredStep(StepAt(event->position().toPoint().x()));
}

void WaveformView::leaveEvent(QEvent*) {
  SetHoveredStep(std::nullopt);
}

void WaveformView::resizeEvent(QResizeEvent*) {
  emit resized();
}

void WaveformView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    emit scrollRequested(event);
    return;
  }
  emit zoomRequested(event->angleDelta().y() > 0 ? 1 : -1);
  event->accept();
}

}  // namespace pelkor
