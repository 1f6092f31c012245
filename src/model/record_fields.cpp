// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/record_fields.h"

namespace pelkor {

namespace {

std::string Number(int value) {
  return std::to_string(value);
}

std::string Flag(bool value) {
  return value ? "1" : "0";
}

}  // namespace

std::string FileText(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n')
      result += text[i];
  }
  return result;
}

std::string PointText(Point p) {
  return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
}

std::string PointsText(const std::vector<Point>& points) {
  std::string text;
  for (const Point& p : points)
    text += (text.empty() ? "" : " ") + PointText(p);
  return text;
}

RecordFields FieldsOf(const ShiftRegister& r) {
  return {{"contents", FileText(r.contents), true},
          {"sizeFixed", Flag(r.sizeFixed)},
          {"size", Number(r.size)},
          {"direction", Number(r.direction)}};
}

RecordFields FieldsOf(const StateMachine& m) {
  std::string positions;
  std::string texts;
  for (const auto& [id, state] : m.states) {
    positions += (positions.empty() ? "" : " ") + PointText(state.position);
    texts +=
        "{" + FileText(state.firstText.source) + "}{" + FileText(state.secondText.source) + "}";
  }
  std::string stateArcs;
  for (const auto& [id, arc] : m.stateArcs) {
    stateArcs += (stateArcs.empty() ? "" : " ") + Number(arc.from) + "->" + Number(arc.to) +
                 PointsText(arc.bends) + "{" + FileText(arc.name) + "}";
  }
  return {{"mainState", Number(m.mainState)},
          {"states", positions},
          {"expressions", texts, true},
          {"stateArcs", stateArcs}};
}

RecordFields FieldsOf(const Counter& c) {
  return {{"countText", FileText(c.countText.source), true},
          {"countNumber", Number(c.countNumber)}};
}

RecordFields FieldsOf(const SourceTransition& s) {
  return {{"name", s.name, true},
          {"data", FileText(s.data), true},
          {"hexDisplay", Flag(s.hexDisplay)},
          {"holdValue", Flag(s.holdValue)},
          {"fromEnd", Flag(s.fromEnd)}};
}

RecordFields FieldsOf(const SinkTransition& s) {
  return {{"name", s.name, true},
          {"expected", FileText(s.expected), true},
          {"hexDisplay", Flag(s.hexDisplay)},
          {"outputMode", Number(s.outputMode)}};
}

RecordFields FieldsOf(const ModuleInstance& i) {
  return {{"moduleName", i.moduleName, true}};
}

RecordFields FieldsOf(const Arc& a) {
  return {{"name", FileText(a.name), true}, {"bends", PointsText(a.bends)}};
}

}  // namespace pelkor
