// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/diff_report.h"

namespace pelkor::cli {

namespace {

nlohmann::ordered_json Id(const std::optional<int>& id) {
  return id ? nlohmann::ordered_json(*id) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json Position(const std::optional<Point>& p) {
  return p ? nlohmann::ordered_json::array({p->x, p->y}) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json End(const ObjectIds& end) {
  return {{"kind", KindWord(end.kind)}, {"before", Id(end.before)}, {"after", Id(end.after)}};
}

nlohmann::ordered_json ChangeJson(const ObjectChange& change) {
  nlohmann::ordered_json json = {{"change", ChangeWord(change.change)},
                                 {"kind", KindWord(change.ids.kind)},
                                 {"before", Id(change.ids.before)},
                                 {"after", Id(change.ids.after)}};
  if (change.ids.kind == kArcChangeKind) {
    json["from"] = End(change.from);
    json["to"] = End(change.to);
    json["name"] = change.arcName;
  } else {
    json["positionBefore"] = Position(change.positionBefore);
    json["positionAfter"] = Position(change.positionAfter);
  }
  json["fields"] = nlohmann::ordered_json::array();
  for (const FieldChange& field : change.fields)
    json["fields"].push_back(
        {{"field", field.field}, {"before", field.before}, {"after", field.after}});
  return json;
}

}  // namespace

nlohmann::ordered_json DiffJson(const std::string& before, const std::string& after,
                                const std::vector<ObjectChange>& changes) {
  nlohmann::ordered_json json = {
      {"before", before}, {"after", after}, {"changes", nlohmann::ordered_json::array()}};
  for (const ObjectChange& change : changes)
    json["changes"].push_back(ChangeJson(change));
  return json;
}

}  // namespace pelkor::cli
