// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "base/geometry.h"
#include "model/primitives.h"

namespace pelkor {

// One field of a record as a text, for comparing two versions of it and showing the values.
struct RecordField {
  const char* name;  // the record's field name
  std::string value;
  bool isText = false;  // a typed text rather than a number, a flag or a list of points
};
using RecordFields = std::vector<RecordField>;

// The fields a user sets, position apart, in the order the dialogs show them. Texts with LF
// line ends; flags 0 or 1; a state machine as its main state, its states' positions, their
// texts and its state arcs.
RecordFields FieldsOf(const ShiftRegister& r);
RecordFields FieldsOf(const StateMachine& m);
RecordFields FieldsOf(const Counter& c);
RecordFields FieldsOf(const SourceTransition& s);
RecordFields FieldsOf(const SinkTransition& s);
RecordFields FieldsOf(const ModuleInstance& i);
RecordFields FieldsOf(const Arc& a);

// A typed text as the file stores it: CR LF line ends become LF.
std::string FileText(const std::string& text);
// "(x,y)"
std::string PointText(Point p);
// "(x,y) (x,y)", empty for none.
std::string PointsText(const std::vector<Point>& points);

}  // namespace pelkor
