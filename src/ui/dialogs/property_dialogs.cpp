// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/property_dialogs.h"

#include "model/sink_verification.h"

#include "ui/dialogs/arc_port_dialog.h"
#include "ui/dialogs/counter_dialog.h"
#include "ui/dialogs/module_name_dialog.h"
#include "ui/dialogs/shift_register_dialog.h"
#include "ui/dialogs/sink_dialog.h"
#include "ui/dialogs/source_dialog.h"

namespace pelkor {
namespace {

template <class Dialog, class Record>
void RunPropertyDialog(QWidget* parent, Record& record, bool simulating) {
  Dialog dialog(parent);
  dialog.Load(record, simulating);
  dialog.exec();
  dialog.Store(record);
}

}  // namespace

void EditShiftRegister(QWidget* parent, ShiftRegister& record, bool simulating) {
  RunPropertyDialog<ShiftRegisterDialog>(parent, record, simulating);
}

void EditSource(QWidget* parent, SourceTransition& record, bool simulating) {
  RunPropertyDialog<SourceDialog>(parent, record, simulating);
}

void EditCounter(QWidget* parent, Counter& record, bool simulating) {
  RunPropertyDialog<CounterDialog>(parent, record, simulating);
}

void EditSink(QWidget* parent, SinkTransition& record, bool simulating,
              const std::vector<int>& received) {
  SinkDialog dialog(parent);
  dialog.Load(record, simulating, received);
  // While simulating, "合否" tells whether what the sink took so far agrees with its values.
  if (simulating)
    dialog.SetVerdict(QString::fromUtf8(LiveVerdictText(LiveVerdict(record, received))));
  dialog.exec();
  dialog.Store(record);
}

std::optional<std::string> ChooseArcPort(QWidget* parent, const std::vector<std::string>& names,
                          const std::string& preset) {
  ArcPortDialog dialog(parent);
  dialog.Fill(names);
  dialog.Preset(preset);
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return dialog.ChosenText();
}

std::optional<std::string> AskModuleName(QWidget* parent) {
  ModuleNameDialog dialog(parent);
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return dialog.EnteredName();
}

}  // namespace pelkor
