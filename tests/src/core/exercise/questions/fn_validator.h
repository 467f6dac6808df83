#pragma once

#include <functional>

#include "src/core/exercise/questions/validators.h"

namespace Core {

// A validator over any predicate, for pools the tests make up.
class FnValidator : public QValidator {
 public:
  explicit FnValidator(std::function<bool(unsigned long)> fn) : m_fn(std::move(fn)) {}
  bool Validate(unsigned long id) override { return m_fn(id); }

 private:
  std::function<bool(unsigned long)> m_fn;
};

}  // namespace Core
