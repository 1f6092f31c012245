// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QFont>
#include <array>
#include <functional>
#include <optional>

#include "edit/settings_sheet.h"

class QAbstractSpinBox;
class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QSlider;
class QTabWidget;

namespace pelkor {

// The settings dialog "プロパティシート": object colours, grid size and font on the page
// "その１", animation speed and shift-register direction on "その２". It works on a copy; after
// OK, sheet() holds what the view takes (ApplySheet). A number edit outside its range keeps
// its page, with the message, until it is corrected.
class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // The font dialog's answer: the font it showed when it opened at the sheet's font, which
  // differs where this system lacks the face or size, and the font chosen.
  struct FontAnswer {
    QFont shown;
    QFont chosen;
  };
  // The font dialog: its answer, or nullopt when it is cancelled.
  using FontChooser =
      std::function<std::optional<FontAnswer>(QWidget* parent, const QFont& initial)>;

  explicit SettingsDialog(const Settings& settings, QWidget* parent = nullptr);

  const Settings& sheet() const { return sheet_; }
  void setFontChooser(FontChooser chooser) { fontChooser_ = std::move(chooser); }

  void accept() override;

 private:
  QWidget* MakeColourPage();
  QWidget* MakeSpeedPage();
  // Loads the selected entry's colour into the sliders, the edits and the sample.
  void LoadEntry();
  void SlidersMoved();
  void ChannelTyped(int channel);
  // Shows the range message while a colour edit holds anything but a number from 0 to 255.
  void ShowChannelRefusal();
  void ShowSample();
  void ChooseFont();
  void RestoreDefaults();
  // Reads a page's number edits into the sheet; when one is out of range, shows that page with
  // the message and the focus on the edit, and gives false.
  bool ReadPage(int page);
  void PageChanged(int page);
  int SelectedColourNumber() const;

  Settings sheet_;
  FontChooser fontChooser_;
  QTabWidget* pages_;
  int shownPage_ = 0;
  QListWidget* objectList_;
  std::array<QSlider*, 3> sliders_{};
  std::array<QLineEdit*, 3> channelEdits_{};
  QLabel* channelRefusal_;
  QFrame* sample_;
  QAbstractSpinBox* gridSizeEdit_;
  QLineEdit* speedEdit_;
  QButtonGroup* directions_;
};

}  // namespace pelkor
