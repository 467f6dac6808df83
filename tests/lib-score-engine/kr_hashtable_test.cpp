#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kr_hashtable.h"

namespace {

struct Entry {
  int number = -1;
};

using Table = KR_HashTable<NVstring, Entry>;

std::vector<std::string> KeysAndNumbers(Table const& table) {
  std::vector<std::string> entries;
  for (void* pos = table.getList()->GetHeadPosition(); pos;) {
    Table::KeyType const* entry = table.getList()->GetNext(pos);
    entries.push_back(std::string(entry->key.c_str()) + "=" + std::to_string(entry->value.number));
  }
  return entries;
}

TEST(KR_HashTableTest, SetUpdatesEqualKeysInPlaceAndAppendsOthers) {
  Table table;
  EXPECT_EQ(table.Set("GRClef", Entry{1}), 0);
  EXPECT_EQ(table.Set("GRKey", Entry{2}), 0);
  EXPECT_EQ(table.Set("GRClef", Entry{3}), 1);
  EXPECT_EQ(table.Set("grclef", Entry{4}), 0);  // case matters
  EXPECT_EQ(table.Set("", Entry{5}), 0);        // the empty key is a key of its own
  EXPECT_EQ(table.Set("", Entry{6}), 1);
  EXPECT_EQ(KeysAndNumbers(table),
            (std::vector<std::string>{"GRClef=3", "GRKey=2", "grclef=4", "=6"}));
}

TEST(KR_HashTableTest, CompValSortsByNumberKeepingEqualOnesInOrder) {
  Table table;
  for (auto [key, number] : {std::pair{"c", 3}, {"a", 1}, {"b", 1}, {"d", 0}})
    table.Set(key, Entry{number});
  Table::KeyType const* head = table.getList()->GetHead();
  EXPECT_EQ(Table::compVal(head, head), 0);
  table.getList()->sort(Table::compVal);
  EXPECT_EQ(KeysAndNumbers(table), (std::vector<std::string>{"d=0", "a=1", "b=1", "c=3"}));
}

}  // namespace
