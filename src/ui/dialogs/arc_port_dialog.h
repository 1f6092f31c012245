// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;

namespace pelkor {

// "アーク": the port name of an arc, typed or picked from the names of the object it joins.
class ArcPortDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ArcPortDialog(QWidget* parent = nullptr);

  // The names to pick from; the list shows them sorted.
  void Fill(const std::vector<std::string>& names);
  void Preset(const std::string& text);
  // The text as typed after OK; the preset after Cancel.
  const std::string& ChosenText() const { return chosen_; }

  void accept() override;

 private:
  std::string chosen_;

  QLineEdit* nameEdit_;
  QListWidget* namesList_;
};

}  // namespace pelkor
