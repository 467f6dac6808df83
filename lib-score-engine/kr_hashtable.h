#pragma once

// The engine's small string-keyed table: an owning list of key/value entries searched from the
// head, which suits the handful of keys each table holds. Entries keep first-insertion order and
// are removed only with the table. The table never deletes values.

#include "NVstring.h"
#include "kf_ilist.h"

template <class K, class V>
class KR_HashTable {
 public:
  struct KeyType {
    K key;
    V value;
  };

  KR_HashTable() : mList(new KF_IPointerList<KeyType>(1)) {}
  KR_HashTable(KR_HashTable const&) = delete;
  KR_HashTable& operator=(KR_HashTable const&) = delete;
  virtual ~KR_HashTable() { delete mList; }

  // Overwrites the value of the first entry whose key is equal (exact, case-sensitive) and
  // returns 1; otherwise appends a new entry and returns 0.
  int Set(NVstring const& key, V const& value) {
    for (void* pos = mList->GetHeadPosition(); pos;) {
      KeyType* entry = mList->GetNext(pos);
      if (entry->key.equal(key.c_str())) {
        entry->value = value;
        return 1;
      }
    }
    mList->AddTail(new KeyType{key, value});
    return 0;
  }

  // The entries, for walking and sorting.
  KF_IPointerList<KeyType>* getList() const { return mList; }

  // Orders entries by the int number of their values, ascending, for the list's sort; the value
  // type must expose that int as `number`.
  static int compVal(KeyType const* a, KeyType const* b) {
    return a->value.number > b->value.number ? 1 : 0;
  }

 private:
  KF_IPointerList<KeyType>* mList;
};
