// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

class QWheelEvent;

namespace pelkor {

class SignalHistory;

// Draws a signal history as digital waveforms: one row per signal, one column per step; high,
// low, and a mid-level line for no value, grey where the node had no state. Sink rows with
// expectations show the expected value of each arrival below it, a departure in red.
class WaveformView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kNameWidth = 150;
  static constexpr int kRowHeight = 26;
  static constexpr int kExpectedHeight = 16;  // the line of expected values under a sink row

  explicit WaveformView(const SignalHistory& history, QWidget* parent = nullptr);

  // The step drawn in the leftmost column, and the width of a column in pixels.
  std::int64_t firstStep() const { return firstStep_; }
  void SetFirstStep(std::int64_t step);
  int columnWidth() const { return columnWidth_; }
  void SetColumnWidth(int pixels);
  // How many whole columns fit.
  int VisibleColumns() const;
  // How far the rows are scrolled up, in pixels, and the height of all rows.
  int topOffset() const { return topOffset_; }
  void SetTopOffset(int pixels);
  int ContentHeight() const;
  // A step marked with a line, as the jump to a mismatch leaves it.
  std::optional<std::int64_t> markedStep() const { return markedStep_; }
  void SetMarkedStep(std::optional<std::int64_t> step);

  // Geometry, in the widget's pixels.
  int XOfStep(std::int64_t step) const;
  std::optional<std::int64_t> StepAt(int x) const;
  int RowTop(std::size_t row) const;
  int RowHeight(std::size_t row) const;

 signals:
  // A press of the left button on the column of `step`, drawn or still to come.
  void stepClicked(std::int64_t step);
  // The step under the pointer, or none when it left the columns.
  void hoveredStepChanged(std::optional<std::int64_t> step);
  // Ctrl and the wheel: +1 to zoom in, -1 to zoom out.
  void zoomRequested(int direction);
  // The wheel without Ctrl, for the scroll bars: vertical, or sideways with Shift.
  void scrollRequested(QWheelEvent* event);
  // The number of columns in sight may have changed.
  void resized();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PaintRow(class QPainter& painter, std::size_t row, std::int64_t lastStep);
  void SetHoveredStep(std::optional<std::int64_t> step);

  const SignalHistory& history_;
  std::int64_t firstStep_ = 0;
  int topOffset_ = 0;
  int columnWidth_ = 16;
  std::optional<std::int64_t> markedStep_;
  std::optional<std::int64_t> hoveredStep_;
};

}  // namespace pelkor
