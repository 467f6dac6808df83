#pragma once

// A drawn score asked how much room its lines keep: how close the marks of neighbouring events
// and the syllables of a verse come, and how tightly its lines are set.

#include <string>
#include <vector>

#include "drawn_score.h"

namespace EngineTesting {

class RoomCheckedScore : public DrawnScore {
 protected:
  // How a line of music keeps room, as drawn.
  struct LineRoom {
    int page;
    // The force that fills it, as a share of the optimum force (the last line of a piece may
    // stand unstretched at 0).
    float force;
    // How close the heads, accidentals, dots and ledger lines of neighbouring events come on
    // it: the least gap between two of them at one height (overlapping by more than a graze)
    // that belong to different events.
    // Each is the event's whose head stands nearest to its middle on the line (a sign's after
    // it, a dot's before it), and the notes of a chord are one event (they share their place
    // in the line, where a head may stand beside the stem). A sign and a ledger line are not
    // asked: a note below the staff takes no room for its ledger lines, where the next note's
    // sign may come close.
    float events;
    // How close two syllables next to each other on one base line come on it.
    float syllables;
  };
  std::vector<LineRoom> LinesRoom();
  // The least room between events on any line.
  float LeastRoomBetweenEvents();
  // The number of bar lines each line of music ends or holds, page by page.
  std::vector<std::vector<int>> BarsPerLine() const;
};

// The bars per line of each page as "4+4 | 3+3".
std::string Listed(std::vector<std::vector<int>> const& pages);

}  // namespace EngineTesting
