#include "room_checked_score.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "GRPage.h"
#include "GRSpaceForceFunction2.h"
#include "GRSystem.h"

namespace EngineTesting {

namespace {

constexpr unsigned int kLedgerLine = 95;
constexpr unsigned int kDot = 46;
// Two glyphs stand at one height where they overlap by more than half a ledger line: a ledger
// line that grazes the edge of the head beside it does not run into it.
constexpr float kGraze = 2;

bool IsHeadLedgerLineOrDot(unsigned int code) {
  return code == 88 || code == 69 || code == 119 || code == kLedgerLine || code == kDot;
}

}  // namespace

std::vector<RoomCheckedScore::LineRoom> RoomCheckedScore::LinesRoom() {
  std::vector<LineRoom> lines;
  std::vector<ScoreElementDesc> boxes;
  for (int n = 1; n <= Pages(); ++n) {
    GRPage const* page = music->getPage(n);
    for (void* pos = page->getSystems().GetHeadPosition(); pos;) {
      const float force = page->getSystems().GetNext(pos)->getForce();
      lines.push_back({n, force / GRSpaceForceFunction2::getOptForce(), 1e9f, 1e9f});
    }
    for (ScoreElementDesc const& system : Records(7, -1, n)) boxes.push_back(system);
  }
  // The line whose box holds a height on a page.
  auto const lineAt = [&](int page, float y) {
    for (size_t n = 0; n < lines.size() && n < boxes.size(); ++n)
      if (lines[n].page == page && y >= boxes[n].top && y <= boxes[n].bottom) return int(n);
    return -1;
  };

  struct Ink {
    int line;
    NVRect box;
    float event;
    bool sign;
    bool ledgerLine;
  };
  std::vector<PlacingSymbolMap::Record> const notes = NoteRecords();
  std::vector<Ink> inks;
  for (auto const& glyph : drawn.glyphs) {
    if (!IsHeadLedgerLineOrDot(glyph.code) && !IsAccidental(glyph.code)) continue;
    float const middle = 0.5f * (glyph.ink.left + glyph.ink.right);
    float const height = 0.5f * (glyph.ink.top + glyph.ink.bottom);
    bool const sign = IsAccidental(glyph.code);
    // How far from the glyph a note's head stands, a line further down counting as far away.
    auto const distance = [&](PlacingSymbolMap::Record const& note) {
      float const above = std::max({0.0f, note.desc.top - height, height - note.desc.bottom});
      if ((sign && note.desc.headX < middle) || (glyph.code == kDot && note.desc.headX > middle))
        return 1e9f;
      return std::abs(note.desc.headX - middle) + 10 * above;
    };
    PlacingSymbolMap::Record const* nearest = nullptr;
    for (auto const& note : notes)
      if (note.page == glyph.page && (!nearest || distance(note) < distance(*nearest)))
        nearest = &note;
    const int line = lineAt(glyph.page, height);
    if (nearest && line >= 0)
      inks.push_back({line, glyph.ink, nearest->desc.refX, sign, glyph.code == kLedgerLine});
  }
  for (Ink const& a : inks)
    for (Ink const& b : inks)
      if (a.line == b.line && b.event - a.event > 1 && a.box.top + kGraze < b.box.bottom &&
          b.box.top + kGraze < a.box.bottom && !(a.ledgerLine && b.sign) &&
          !(a.sign && b.ledgerLine))
        lines[a.line].events = std::min(
            lines[a.line].events, std::max(b.box.left - a.box.right, a.box.left - b.box.right));

  // Texts on one base line in one font, from the left: the syllables of a verse on a line.
  std::map<std::tuple<int, long, std::string>, std::vector<NVRect>> rows;
  for (auto const& text : drawn.texts)
    if (!text.text.empty())
      rows[{text.page, std::lround(text.y), text.font}].push_back(TextInk(text));
  for (auto& [row, texts] : rows) {
    const int line = lineAt(std::get<0>(row), static_cast<float>(std::get<1>(row)));
    if (line < 0) continue;
    std::sort(texts.begin(), texts.end(),
              [](NVRect const& a, NVRect const& b) { return a.left < b.left; });
    for (size_t n = 1; n < texts.size(); ++n)
      lines[line].syllables = std::min(lines[line].syllables, texts[n].left - texts[n - 1].right);
  }
  return lines;
}

float RoomCheckedScore::LeastRoomBetweenEvents() {
  float least = 1e9f;
  for (LineRoom const& line : LinesRoom()) least = std::min(least, line.events);
  return least;
}

std::vector<std::vector<int>> RoomCheckedScore::BarsPerLine() const {
  std::vector<std::vector<int>> pages(Pages());
  for (int n = 1; n <= Pages(); ++n)
    for (ScoreElementDesc const& system : Records(7, -1, n)) {
      // Each staff draws the bar lines of the line: they count once by their date.
      std::vector<float> dates;
      for (auto const& record : placed.records)
        if (record.page == n && record.desc.kind == 3 && record.desc.top >= system.top &&
            record.desc.bottom <= system.bottom &&
            std::find(dates.begin(), dates.end(), record.desc.date) == dates.end())
          dates.push_back(record.desc.date);
      pages[n - 1].push_back(static_cast<int>(dates.size()));
    }
  return pages;
}

std::string Listed(std::vector<std::vector<int>> const& pages) {
  std::string text;
  for (size_t n = 0; n < pages.size(); ++n) {
    if (n) text += " | ";
    for (size_t line = 0; line < pages[n].size(); ++line)
      text += (line ? "+" : "") + std::to_string(pages[n][line]);
  }
  return text;
}

}  // namespace EngineTesting
