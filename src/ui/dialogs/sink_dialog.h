// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "model/primitives.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace pelkor {

class FilteredTextEdit;

// "ケムマキ": the expected values, the output mode and the output name of a sink, and the
// values it has received so far.
class SinkDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SinkDialog(QWidget* parent = nullptr);

  // `received`: the values the sink took so far.
  void Load(const SinkTransition& record, bool simulating, const std::vector<int>& received = {});
  // The values OK took (name, mode and "16進" also from an OK that was refused), the name
  // trimmed; an unknown output mode comes back as "Big".
  void Store(SinkTransition& record) const;

  // The "合否" field: empty unless a verdict is put there.
  void SetVerdict(const QString& text);

  void accept() override;

 private:
  std::string expected_;
  std::string receivedText_;
  int outputMode_ = 0;
  bool hexDisplay_ = false;
  std::string name_;

  FilteredTextEdit* receivedEdit_;
  FilteredTextEdit* expectedEdit_;
  QLineEdit* verdictEdit_;
  std::array<QRadioButton*, 4> modeButtons_;  // in output-mode order
  QLineEdit* nameEdit_;
  QCheckBox* hexDisplayBox_;
};

}  // namespace pelkor
