// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/diff_picture.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "files/design_file.h"

namespace pelkor {
namespace {

constexpr const char* kBefore =
    "//pelkor file\n"
    "shift[1,100,100,0,1,2]{\n}\n"
    "shift[2,200,100,0,1,2]{\n}\n"
    "shift[3,2000,1500,0,1,2]{\n}\n"
    "kemmakix[4,300,100,0,0,y]{\n1}\n"
    "arc[1,4]{}\n";
// Register 1 stays, 2 moves down, 3 goes, the sink expects another value, a source comes.
constexpr const char* kAfter =
    "//pelkor file\n"
    "shift[1,100,100,0,1,2]{\n}\n"
    "shift[2,200,200,0,1,2]{\n}\n"
    "uhzi[3,0,100,0,0,0,a]{\n1}\n"
    "kemmakix[4,300,100,0,0,y]{\n0}\n"
    "arc[3,1]{}\n"
    "arc[1,4]{}\n";

Module Read(const char* text) {
  Module module;
  ReadModule(text, module);
  return module;
}

// Whether an operation drawn with `colour` (outline or text) starts within an object's box
// around `centre` (an arrowhead of an arc that ends there counts too).
bool DrawnNear(const DrawList& list, ColorRef colour, Point centre) {
  for (const DrawOp& op : list.ops) {
    if (op.pen && op.pen->colour == colour && op.pointCount > 0 &&
        std::abs(op.points[0].x - centre.x) <= kObjectSize &&
        std::abs(op.points[0].y - centre.y) <= kObjectSize)
      return true;
  }
  return false;
}

TEST(DiffPictureTest, EachChangeIsMarkedWhereItIs) {
  const Module before = Read(kBefore);
  const Module after = Read(kAfter);
  const std::vector<ObjectChange> changes = DiffModules(before, after);
  const ViewState view = DiffPictureView(before, after, changes, 0);
  const DrawList picture = DiffPicture(before, after, changes, ViewStyle{}, 0);
  const auto at = [&](Point logical) { return view.viewport().ToScreen(logical); };

  struct Case {
    const char* what;
    ColorRef colour;
    Point place;
    bool marked;
  };
  const Case cases[] = {
      {"the added source", kAddedColour, {0, 100}, true},
      {"the changed sink", kChangedColour, {300, 100}, true},
      {"the removed register, far off", kRemovedColour, {2000, 1500}, true},
      {"the old place of the moved register", kOldPlaceColour, {200, 100}, true},
      {"the unchanged register", kChangedColour, {100, 100}, false},
      {"the unchanged register", kRemovedColour, {100, 100}, false},
      {"the moved register at its new place", kChangedColour, {200, 200}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Point p = at(c.place);
    EXPECT_TRUE(p.x >= 0 && p.y >= 0 && p.x < picture.width && p.y < picture.height);
    EXPECT_EQ(DrawnNear(picture, c.colour, p), c.marked);
  }
}

}  // namespace
}  // namespace pelkor
