#pragma once

#include <functional>

#include "src/core/exercise/questions/allowed_ids.h"

namespace Core {

// A validator over any predicate, for pools the tests make up.
class FnValidator : public QValidator {
 public:
  explicit FnValidator(std::function<bool(unsigned long)> fn) : m_fn(std::move(fn)) {}
  bool Validate(unsigned long id) override { return m_fn(id); }

 private:
  std::function<bool(unsigned long)> m_fn;
};

// The ids of a pool of `poolSize` entries that a predicate accepts.
inline AllowedIds AllowedBy(unsigned long poolSize, std::function<bool(unsigned long)> fn) {
  FnValidator validator(std::move(fn));
  return AllowedIds(poolSize, validator);
}

}  // namespace Core
