#pragma once

#include "ARName.h"

// The name of a note as written, lower case.
class ARNoteName : public ARName {
 public:
  using ARName::ARName;
  using ARName::operator=;
  ARNoteName(ARNoteName const&) = default;
  ARNoteName& operator=(ARNoteName const&) = default;

  // The name of the placeholder event that holds time without a symbol.
  static ARNoteName const empty;
  static ARNoteName const unknown;
};
