#pragma once

// The pool ids a section's settings allow, taken once per settings change. Question generation
// walks this list instead of asking the validator about every pool entry for every question; the
// chord pool alone has 4,099 entries, and most questions of a lesson are asked under unchanged
// settings.

#include <cstddef>
#include <optional>
#include <vector>

#include "src/core/exercise/questions/validators.h"

namespace Core {

class AllowedIds {
 public:
  // Asks the validator once about every id of a pool of `poolSize` entries.
  AllowedIds(unsigned long poolSize, QValidator& validator);

  static constexpr std::size_t NotAllowed = static_cast<std::size_t>(-1);

  unsigned long PoolSize() const { return static_cast<unsigned long>(m_positions.size()); }
  // The accepted ids in ascending order.
  const std::vector<unsigned long>& Ids() const { return m_ids; }
  // Where `id` stands in Ids(), or NotAllowed.
  std::size_t PositionOf(unsigned long id) const {
    return id < m_positions.size() ? m_positions[id] : NotAllowed;
  }
  bool Contains(unsigned long id) const { return PositionOf(id) != NotAllowed; }

 private:
  std::vector<unsigned long> m_ids;
  std::vector<std::size_t> m_positions;  // by id
};

// The allowed ids of one kind of question, built again only when the settings record selects
// other questions than the one they were built for (see SameSelection). Not locked: each exercise
// keeps its own and uses it under its lesson lock.
template <class Settings, bool (*Fn)(unsigned long, const Settings*)>
class AllowedIdsCache {
 public:
  const AllowedIds& Get(unsigned long poolSize, const Settings& settings) {
    if (!m_allowed || m_allowed->PoolSize() != poolSize || !SameSelection(m_settings, settings)) {
      m_settings = settings;
      SimpleValidator<Settings, Fn> validator(&m_settings);
      m_allowed.emplace(poolSize, validator);
    }
    return *m_allowed;
  }

 private:
  Settings m_settings{};
  std::optional<AllowedIds> m_allowed;
};

using NoteIdsCache = AllowedIdsCache<NotesDiapason, &ValidateNoteQuestion>;
using IntervalIdsCache = AllowedIdsCache<IntervalSettings, &ValidateIntervalQuestion>;
using ChordIdsCache = AllowedIdsCache<ChordSettings, &ValidateChordQuestion>;
using ScaleIdsCache = AllowedIdsCache<ScalesSettings, &ValidateScaleQuestion>;
using TempoIdsCache = AllowedIdsCache<TempoSettings, &ValidateTempoQuestion>;

}  // namespace Core
