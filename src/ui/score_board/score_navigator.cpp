#include "src/ui/score_board/score_navigator.h"

#include <algorithm>
#include <cmath>

namespace UI {

namespace {

bool HasPage(const Core::ScoresDescription& score, int page) {
  return page >= 0 && page < score.pages.size();
}

// Where the music of the page ends in time.
float PageEnd(const Core::ScoresDescription& score, int page) {
  return float((score.pages[page].lastMeasure + 1) * score.measureLength);
}

}  // namespace

void ScoreNavigator::GetGraphicsPosition(double time, int& page, float& x) const {
  page = 0;
  x = 0;
  if (time < 0 || !description) return;
  const QVector<Core::NoteDesc>& notes = description->notes;
  // Positions without a time are sorted last and cannot be placed in time.
  const auto timed = std::find_if(notes.begin(), notes.end(),
                                  [](const Core::NoteDesc& note) { return std::isnan(note.time); });
  if (timed == notes.begin()) return;
  const float t = float(time);

  if (time < notes.front().time) {
    x = -1;
    return;
  }
  const Core::NoteDesc& last = *(timed - 1);
  if (time > last.time) {
    page = int(description->pages.size()) - 1;
    if (page < 0) {
      page = 0;
      x = float(last.x);
      return;
    }
    const float end = PageEnd(*description, page);
    const float endX = float(description->pages[page].musicEndX);
    const float lastTime = float(last.time), lastX = float(last.x);
    x = end > lastTime ? std::min(lastX + (endX - lastX) * (t - lastTime) / (end - lastTime), endX)
                       : endX;
    return;
  }

  for (auto next = notes.begin(); next != timed; ++next) {
    if (next->time == time) {
      page = next->page;
      x = float(next->x);
      return;
    }
    if (next->time < time) continue;
    const Core::NoteDesc& prev = *(next - 1);
    const float prevTime = float(prev.time), prevX = float(prev.x);
    const float nextTime = float(next->time), nextX = float(next->x);
    page = prev.page;
    if (prev.page == next->page) {
      x = prevX + (nextX - prevX) * (t - prevTime) / (nextTime - prevTime);
    } else if (!HasPage(*description, prev.page) || !HasPage(*description, next->page)) {
      x = prevX;  // a position naming a page the score lacks: stay on the last known note
    } else {
      const float end = PageEnd(*description, prev.page);
      if (t > end) {
        page = next->page;
        const float start = float(description->pages[next->page].musicStartX);
        x = start + (nextX - start) * (t - end) / (nextTime - end);
      } else {
        const float endX = float(description->pages[prev.page].musicEndX);
        x = prevX + (endX - prevX) * (t - prevTime) / (end - prevTime);
      }
    }
    return;
  }
}

}  // namespace UI
