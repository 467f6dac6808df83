#pragma once

#include <memory>

#include "TagParameterList.h"
#include "TagParameterString.h"

// The texts of a tempo change (accelerando, ritardando): the tempo at its start and at its end,
// each null unless the text gave a string.
struct TempoChangeTexts {
  static constexpr char const* kTemplate = "S,tempo,,o;S,abstempo,,o";

  // Takes both out of a list matched against kTemplate.
  void Take(TagParameterList& own);

  std::unique_ptr<TagParameterString> tempo, abstempo;
};
