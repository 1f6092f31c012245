// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/primitives.h"

class QWidget;

namespace pelkor {

// The property dialogs run modally over `parent`. Each edits the record it is given the way
// its buttons say; the caller stores the record back whichever button closed the dialog.

void EditShiftRegister(QWidget* parent, ShiftRegister& record, bool simulating);
void EditSource(QWidget* parent, SourceTransition& record, bool simulating);
void EditCounter(QWidget* parent, Counter& record, bool simulating);
// `received`: what the sink took so far, shown with the verdict on it while simulating.
void EditSink(QWidget* parent, SinkTransition& record, bool simulating,
              const std::vector<int>& received);

// The arc's port name: the text typed after OK, nullopt after Cancel.
std::optional<std::string> ChooseArcPort(QWidget* parent, const std::vector<std::string>& names,
                          const std::string& preset);

// A module name as typed (possibly empty) after OK; nullopt after Cancel.
std::optional<std::string> AskModuleName(QWidget* parent);

}  // namespace pelkor
