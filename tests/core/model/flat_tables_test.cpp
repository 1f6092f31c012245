// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "model/arc_index.h"
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
}

}  // namespace
}  // namespace pelkor
