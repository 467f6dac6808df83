#include "src/ui/controls/console_exercise_control/hint_placement.h"

#include <algorithm>
#include <array>

namespace UI {

namespace {

bool Clear(const HintRoom& room, QPoint corner) {
  const QRect bubble(corner, room.bubble);
  const QRect kept = room.shown.adjusted(-room.gap, -room.gap, room.gap, room.gap);
  return bubble.bottom() <= room.floor && bubble.left() >= 0 && bubble.right() <= room.right &&
         (room.shown.isEmpty() || !bubble.intersects(kept));
}

}  // namespace

std::optional<QPoint> PlaceHint(const HintRoom& room) {
  const int lowest = room.floor - room.bubble.height() + 1;
  const QPoint usual(room.usual.x(), std::min(room.usual.y(), lowest));
  if (Clear(room, usual)) return usual;
  // Centred under the question, as near to it as the gap allows.
  const QPoint under(usual.x(), room.shown.bottom() + 1 + room.gap);
  if (Clear(room, under)) return under;
  // Beside it, at the usual height, on the side with more room.
  const QPoint right(room.shown.right() + 1 + room.gap, usual.y());
  const QPoint left(room.shown.left() - room.gap - room.bubble.width(), usual.y());
  const bool rightRoomier = room.right - room.shown.right() >= room.shown.left();
  for (const QPoint& beside : rightRoomier ? std::array{right, left} : std::array{left, right})
    if (Clear(room, beside)) return beside;
  return std::nullopt;
}

}  // namespace UI
