#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kr_hashtable.h"

namespace {

struct Entry {
  int number = -1;
};

using Table = KR_HashTable<NVstring, Entry>;

std::vector<std::string> Keys(Table const& table) {
  std::vector<std::string> keys;
  for (void* pos = table.getList()->GetHeadPosition(); pos;)
    keys.emplace_back(table.getList()->GetNext(pos)->key.c_str());
  return keys;
}

TEST(KR_HashTableTest, SetUpdatesEqualKeysAndAppendsOthers) {
  Table table;
  EXPECT_EQ(table.Set("GRClef", Entry{1}), 0);
  EXPECT_EQ(table.Set("GRKey", Entry{2}), 0);
  EXPECT_EQ(table.Set("GRClef", Entry{3}), 1);
  EXPECT_EQ(table.Set("grclef", Entry{4}), 0);  // case matters
  EXPECT_EQ(table.Set("", Entry{5}), 0);        // the empty key is a key of its own
  EXPECT_EQ(table.Set("", Entry{6}), 1);
  EXPECT_EQ(Keys(table), (std::vector<std::string>{"GRClef", "GRKey", "grclef", ""}));
  EXPECT_EQ(table.getList()->GetHead()->value.number, 3);
  EXPECT_EQ(table.getList()->GetTail()->value.number, 6);
}

TEST(KR_HashTableTest, CompValOrdersByNumberAscending) {
  Table table;
  table.Set("c", Entry{3});
  table.Set("a", Entry{1});
  table.Set("b", Entry{1});
  table.Set("d", Entry{0});
  Table::KeyType const* head = table.getList()->GetHead();
  EXPECT_EQ(Table::compVal(head, head), 0);
  table.getList()->sort(Table::compVal);
  EXPECT_EQ(Keys(table), (std::vector<std::string>{"d", "a", "b", "c"}));
}

}  // namespace
