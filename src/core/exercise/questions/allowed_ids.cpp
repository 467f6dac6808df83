#include "src/core/exercise/questions/allowed_ids.h"

namespace Core {

AllowedIds::AllowedIds(unsigned long poolSize, QValidator& validator)
    : m_positions(poolSize, NotAllowed) {
  for (unsigned long id = 0; id < poolSize; ++id) {
    if (!validator.Validate(id)) continue;
    m_positions[id] = m_ids.size();
    m_ids.push_back(id);
  }
}

}  // namespace Core
