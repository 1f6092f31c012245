// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "model/arc_index.h"
#include "model/point_list.h"
#include "model/sorted_id_map.h"

namespace pelkor {
namespace {

// The compact tables replace a multimap and a map: random filing, lookups and removals must
// leave them equal to the tree containers they stand for, entry for entry and in order.
TEST(FlatTablesTest, BehaveAsTheTreeContainersTheyReplace) {
  std::mt19937 random(16);
  std::uniform_int_distribution<int> id(0, 30);
  std::uniform_int_distribution<int> action(0, 9);
  ArcIndex index;
  std::multimap<int, int> multimap;
  SortedIdMap<int> ids;
  std::map<int, int> map;
  for (int arc = 1; arc <= 3000; ++arc) {
    const int key = id(random);
    const int what = action(random);
    if (what < 6) {
      index.emplace(key, arc);
      multimap.emplace(key, arc);
      ASSERT_EQ(ids.try_emplace(key, arc).second, map.try_emplace(key, arc).second);
    } else if (what == 6) {
      ASSERT_EQ(index.erase(key), multimap.erase(key));
      ASSERT_EQ(ids.erase(key), map.erase(key));
    } else if (what == 7) {
      auto [begin, end] = index.equal_range(key);
      auto [mapBegin, mapEnd] = multimap.equal_range(key);
      ASSERT_EQ(end - begin, std::distance(mapBegin, mapEnd));
      if (begin != end) {
        index.erase(begin + (end - begin) / 2);
        multimap.erase(std::next(mapBegin, std::distance(mapBegin, mapEnd) / 2));
      }
    } else {
      ids[key] = -arc;
      map[key] = -arc;
    }
    ASSERT_EQ(ids.contains(key), map.contains(key));
    if (map.contains(key)) {
      ASSERT_EQ(ids.at(key), map.at(key));
    }
  }
  EXPECT_TRUE(index == multimap);
  EXPECT_TRUE(ids == map);
  EXPECT_EQ(index.size(), multimap.size());
  EXPECT_EQ(ids.size(), map.size());
  EXPECT_THROW(ids.at(31), std::out_of_range);
  index.emplace(5, 99999);
  EXPECT_FALSE(index == multimap);

  // A copy is equal and apart; emptied by EraseIf it is equal to an empty map again.
  SortedIdMap<int> copy = ids;
  EXPECT_TRUE(copy == map);
  copy.EraseIf([](const auto& entry) { return entry.second < 0; });
  std::erase_if(map, [](const auto& entry) { return entry.second < 0; });
  EXPECT_TRUE(copy == map);
  EXPECT_FALSE(copy == ids);
  copy.EraseIf([](const auto&) { return true; });
  copy.ShrinkToFit();
  EXPECT_TRUE(copy.empty());
  EXPECT_TRUE(copy == SortedIdMap<int>());
  copy = ids;
  EXPECT_TRUE(copy == ids);
}

// An arc's bends read as the vector they replace: a copy is apart, editing through the list
// reaches the points, and an emptied list equals a fresh one.
TEST(FlatTablesTest, PointListActsAsAVectorOfPoints) {
  PointList bends = std::vector<Point>{{1, 2}, {3, 4}};
  PointList copy = bends;
  for (Point& bend : copy)
    bend.x += 10;
  EXPECT_EQ(bends.List(), (std::vector<Point>{{1, 2}, {3, 4}}));
  EXPECT_EQ(static_cast<const std::vector<Point>&>(copy), (std::vector<Point>{{11, 2}, {13, 4}}));
  EXPECT_FALSE(copy == bends);
  copy.push_back({5, 6});
  EXPECT_EQ(copy.size(), 3u);
  EXPECT_EQ(copy.back(), (Point{5, 6}));
  copy = std::vector<Point>{};
  EXPECT_TRUE(copy.empty());
  EXPECT_TRUE(copy == PointList());
  EXPECT_EQ(copy.begin(), copy.end());
  bends.clear();
  EXPECT_TRUE(bends == copy);
}

}  // namespace
}  // namespace pelkor
