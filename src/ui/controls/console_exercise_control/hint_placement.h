#pragma once

// Where the "Press spacebar to pause" bubble stands: at its usual place above the keys unless
// that covers what the question shows, else under it, else beside it; nowhere when it would cover
// the question wherever it stood.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace UI {

struct HintRoom {
  QSize bubble;
  QPoint usual;   // the bubble's top-left corner at its usual place
  QRect shown;    // what the question area shows; empty when it shows nothing
  int floor = 0;  // the lowest row the bubble may take, above the answer buttons or the keys
  int right = 0;  // the rightmost column the bubble may take
  int gap = 0;    // kept free between the bubble and what it stands clear of
};

// The bubble's top-left corner, or none when no place leaves the question clear.
std::optional<QPoint> PlaceHint(const HintRoom& room);

}  // namespace UI
