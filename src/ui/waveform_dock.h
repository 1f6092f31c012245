// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDockWidget>
#include <functional>

class QLabel;
class QPushButton;
class QScrollBar;

namespace pelkor {

class WaveformView;
class Workspace;

// The dockable "波形" window: the workspace's signal history as waveforms, following the
// simulation, with horizontal scrolling and zoom, the jump to the next mismatch and saving as
// VCD. The rows scroll when they do not fit.
class WaveformDock : public QDockWidget {
  Q_OBJECT

 public:
  // Asks for the file to save to; an empty text cancels.
  using FileChooser = std::function<QString()>;

  explicit WaveformDock(Workspace& workspace, QWidget* parent = nullptr);

  WaveformView* view() const { return view_; }
  QScrollBar* scrollBar() const { return scrollBar_; }
  QScrollBar* rowScrollBar() const { return rowScrollBar_; }
  void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

 public slots:
  // Takes in the steps recorded since; while the last step is in sight it stays in sight.
  void Refresh();
  void JumpToNextMismatch();
  void SaveVcd();
  void Zoom(int direction);

 private:
  void UpdateStepLabel(std::optional<std::int64_t> step);

  Workspace& workspace_;
  WaveformView* view_;
  QScrollBar* scrollBar_;
  QScrollBar* rowScrollBar_;
  QLabel* stepLabel_;
  QLabel* droppedNote_;
  QPushButton* nextMismatch_;
  QPushButton* saveVcd_;
  FileChooser chooseFile_;
  int shownLastStep_ = 0;  // the last step of the history when last refreshed
};

}  // namespace pelkor
