#pragma once

// Maps a play time to a page and an x on it by interpolating between the note positions of a
// rendered score, running on to the page's music end past its last note. Owns nothing.

#include "src/core/score_builder/score_records.h"

namespace UI {

class ScoreNavigator {
 public:
  explicit ScoreNavigator(const Core::ScoresDescription* description) : description(description) {}

  // Page 0 and x 0 without notes or for a negative time; x -1 before the first note.
  void GetGraphicsPosition(double time, int& page, float& x) const;

 private:
  const Core::ScoresDescription* description;
};

}  // namespace UI
