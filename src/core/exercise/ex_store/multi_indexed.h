#pragma once

// A record container with several sorted lookups over one vector of records. The records keep
// their insertion order (that is the order files are written in); each index is a list of record
// positions sorted by its own key. Changing the records only marks the indexes stale; the next
// lookup rebuilds them all, so a burst of additions costs one sort, not one per record.
// Not thread-safe: the owner serialises access.

#include <algorithm>
#include <array>
#include <cstddef>
#include <tuple>
#include <utility>
#include <vector>

namespace Core {

// Orders records by one member.
template <auto Member>
struct OrderByMember {
  template <class Record>
  static auto Key(const Record& record) {
    return record.*Member;
  }
};

// Orders records by two members, the first deciding.
template <auto First, auto Second>
struct OrderByMember2 {
  template <class Record>
  static auto Key(const Record& record) {
    return std::pair(record.*First, record.*Second);
  }
};

namespace Detail {

// One index: record positions sorted by the index's key.
struct IndexData {
  std::vector<std::size_t> positions;
};

}  // namespace Detail

template <class Record, class... Orders>
class MultiIndexed {
 public:
  static constexpr std::size_t IndexCount = sizeof...(Orders);

  template <std::size_t I>
  using Order = std::tuple_element_t<I, std::tuple<Orders...>>;
  template <std::size_t I>
  using Key = decltype(Order<I>::Key(std::declval<const Record&>()));
  using Positions = std::vector<std::size_t>::const_iterator;

  const std::vector<Record>& Records() const { return m_records; }
  // Only fields outside every key may be changed through this.
  Record& At(std::size_t position) { return m_records[position]; }

  void Append(const Record& record) {
    m_records.push_back(record);
    m_indexed = false;
  }
  // Erases every record the predicate accepts; the others keep their order.
  template <class Predicate>
  void EraseIf(Predicate predicate) {
    std::erase_if(m_records, predicate);
    m_indexed = false;
  }
  void Clear() {
    m_records.clear();
    m_indexed = false;
  }

  // The span of index I whose records have this key, as record positions (equal range found by
  // bisection); their order among themselves is not defined.
  template <std::size_t I>
  std::pair<Positions, Positions> Range(const Key<I>& key) {
    Rebuild();
    const std::vector<std::size_t>& positions = m_indexes[I].positions;
    return std::equal_range(positions.begin(), positions.end(), key, KeyLess<I>{this});
  }

 private:
  // Compares a record position with a key, either way round, for the bisection.
  template <std::size_t I>
  struct KeyLess {
    const MultiIndexed* self;
    bool operator()(std::size_t position, const Key<I>& key) const {
      return Order<I>::Key(self->m_records[position]) < key;
    }
    bool operator()(const Key<I>& key, std::size_t position) const {
      return key < Order<I>::Key(self->m_records[position]);
    }
  };

  void Rebuild() {
    if (m_indexed) return;
    RebuildAll(std::make_index_sequence<IndexCount>());
    m_indexed = true;
  }

  template <std::size_t... I>
  void RebuildAll(std::index_sequence<I...>) {
    (RebuildOne<I>(), ...);
  }

  template <std::size_t I>
  void RebuildOne() {
    std::vector<std::size_t> positions;
    positions.reserve(m_indexes[I].positions.size());
    for (std::size_t p = 0; p < m_records.size(); ++p) positions.push_back(p);
    std::sort(positions.begin(), positions.end(), [this](std::size_t a, std::size_t b) {
      return Order<I>::Key(m_records[a]) < Order<I>::Key(m_records[b]);
    });
    m_indexes[I].positions.swap(positions);
  }

  std::array<Detail::IndexData, IndexCount> m_indexes;
  std::vector<Record> m_records;
  bool m_indexed = false;
};

}  // namespace Core
