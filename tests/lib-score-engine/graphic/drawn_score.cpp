#include "drawn_score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QFontMetricsF>
#include <QHash>
#include <QRectF>
#include <QString>

#include "GObject.h"
#include "GRPage.h"
#include "VGFont.h"
#include "graphic_globals.h"
#include "lib-razid-qt/GFontQt.h"
#include "parse_music.h"

namespace EngineTesting {

void PlacingDevice::Clear() {
  glyphs.clear();
  texts.clear();
  shapes.clear();
  lines.clear();
  mState = State();
  mSaved.clear();
}

bool PlacingDevice::BeginDraw() {
  mSaved.push_back(mState);
  return RecordingDevice::BeginDraw();
}

void PlacingDevice::EndDraw() {
  RecordingDevice::EndDraw();
  if (mSaved.empty()) return;
  mState = mSaved.back();
  mSaved.pop_back();
}

void PlacingDevice::PushPen(VGColor const& c, float width) {
  RecordingDevice::PushPen(c, width);
  mSaved.push_back(mState);
  mState.pen = width;
  mState.alpha = c.alpha;
}

void PlacingDevice::PopPen() {
  RecordingDevice::PopPen();
  EndDraw();
}

void PlacingDevice::PushFillColor(VGColor const& c) {
  RecordingDevice::PushFillColor(c);
  mSaved.push_back(mState);
}

void PlacingDevice::PopFillColor() {
  RecordingDevice::PopFillColor();
  EndDraw();
}

void PlacingDevice::SetScale(float x, float y) {
  RecordingDevice::SetScale(x, y);
  mState.sx *= x, mState.sy *= y;
}

void PlacingDevice::SetOrigin(float x, float y) {
  RecordingDevice::SetOrigin(x, y);
  mState.dx = x * mState.sx, mState.dy = y * mState.sy;
}

void PlacingDevice::OffsetOrigin(float dx, float dy) {
  RecordingDevice::OffsetOrigin(dx, dy);
  mState.dx += dx * mState.sx, mState.dy += dy * mState.sy;
}

NVPoint PlacingDevice::Map(float x, float y) const {
  return NVPoint{x * mState.sx + mState.dx, y * mState.sy + mState.dy};
}

void PlacingDevice::AddLine(NVPoint const& from, NVPoint const& to) {
  lines.push_back({page, from.x, from.y, to.x, to.y, mState.pen, mState.alpha});
  mPen = to;
}

void PlacingDevice::MoveTo(float x, float y) {
  RecordingDevice::MoveTo(x, y);
  mPen = Map(x, y);
}

void PlacingDevice::LineTo(float x, float y) {
  RecordingDevice::LineTo(x, y);
  AddLine(mPen, Map(x, y));
}

void PlacingDevice::Line(float x1, float y1, float x2, float y2) {
  RecordingDevice::Line(x1, y1, x2, y2);
  AddLine(Map(x1, y1), Map(x2, y2));
}

void PlacingDevice::Polygon(float const* xs, float const* ys, int count) {
  RecordingDevice::Polygon(xs, ys, count);
  if (count <= 0) return;
  NVPoint const first = Map(xs[0], ys[0]);
  Shape shape{page, first.x, first.y, first.x, first.y, {}, {}};
  for (int i = 0; i < count; ++i) {
    NVPoint const p = Map(xs[i], ys[i]);
    shape.left = std::min(shape.left, p.x);
    shape.right = std::max(shape.right, p.x);
    shape.top = std::min(shape.top, p.y);
    shape.bottom = std::max(shape.bottom, p.y);
    shape.xs.push_back(p.x);
    shape.ys.push_back(p.y);
  }
  shapes.push_back(shape);
}

void PlacingDevice::Rectangle(float l, float t, float r, float b) {
  RecordingDevice::Rectangle(l, t, r, b);
  NVPoint const from = Map(l, t), to = Map(r, b);
  shapes.push_back({page, from.x, from.y, to.x, to.y, {}, {}});
}

namespace {

// What the Qt device's music font draws for a symbol at (0, 0) on its base line, measured once
// for the process: a page draws the same few symbols over and over.
struct SymbolInk {
  QRectF ink;
  qreal ascent, descent, advance;
};

SymbolInk const& InkOfSymbol(GFontQt const& font, unsigned int symbol) {
  static QHash<QString, QHash<unsigned int, SymbolInk>> measured;
  QHash<unsigned int, SymbolInk>& ofFont = measured[font.symbolFontKey()];
  auto found = ofFont.find(symbol);
  if (found != ofFont.end()) return *found;
  QFontMetricsF const metrics(font.symbolFont());
  QString const text(font.Symbol(symbol));
  return *ofFont.insert(symbol, {metrics.tightBoundingRect(text), metrics.ascent(),
                                 metrics.descent(), metrics.horizontalAdvance(text)});
}

}  // namespace

NVRect PlacingDevice::InkOf(unsigned int symbol, float x, float y) const {
  auto const* font = dynamic_cast<GFontQt const*>(GetMusicFont());
  if (!font) {
    NVPoint const at = Map(x, y);
    return NVRect{at.x, at.y, at.x, at.y};
  }
  SymbolInk const& measured = InkOfSymbol(*font, symbol);
  unsigned int const align = GetFontAlign();
  if (align & kAlignTop) {
    y += measured.ascent;
  } else if (align & kAlignBottom) {
    y -= measured.descent;
  }
  if (align & kAlignRight) {
    x -= measured.advance;
  } else if (align & kAlignCenter) {
    x -= 0.5f * measured.advance;
  }
  QRectF const& ink = measured.ink;
  NVPoint const from = Map(x + ink.left(), y + ink.top());
  NVPoint const to = Map(x + ink.right(), y + ink.bottom());
  return NVRect{from.x, from.y, to.x, to.y};
}

void PlacingDevice::DrawMusicSymbol(float x, float y, unsigned int symbol) {
  RecordingDevice::DrawMusicSymbol(x, y, symbol);
  NVPoint const at = Map(x, y);
  glyphs.push_back(
      {page, at.x, at.y, symbol, GetFontColor(), GetMusicFont(), InkOf(symbol, x, y), mState.sx});
}

void PlacingDevice::DrawString(float x, float y, char const* s, int count) {
  RecordingDevice::DrawString(x, y, s, count);
  std::string text = s ? std::string(s, count < 0 ? std::strlen(s) : size_t(count)) : "";
  VGFont const* font = GetTextFont();
  NVPoint const at = Map(x, y);
  texts.push_back({page, at.x, at.y, text, GetFontAlign(), FontName(font),
                   font ? font->GetProperties() : 0, font});
}

void PlacingSymbolMap::AddElement(VGDevice const& device, ScoreElementDesc const& desc) {
  ScoreElementDesc moved = desc;
  float const x = device.GetXOrigin(), y = device.GetYOrigin();
  float const sx = device.GetXScale(), sy = device.GetYScale();
  for (float* value : {&moved.left, &moved.right, &moved.refX, &moved.headX})
    *value = (*value + x) * sx;
  for (float* value : {&moved.top, &moved.bottom, &moved.refY}) *value = (*value + y) * sy;
  records.push_back({static_cast<PlacingDevice const&>(device).page, moved});
}

void DrawnScore::SetUp() {
  RazidFontFixture::SetUp();
  drawn.setVGSystem(&razidSystem);
  StartEngine();
}

void DrawnScore::TearDown() {
  music.reset();
  parsed.reset();
  RazidFontFixture::TearDown();
}

void DrawnScore::Draw(std::string const& text, float scale) {
  music.reset();
  drawn.Clear();
  drawn.SetScale(scale, scale);
  placed.records.clear();
  testing::internal::CaptureStderr();
  ParsedMusic result = ParseMusicText(text.c_str());
  if (result.result == 0) {
    parsed = std::move(result.music);
    music = std::make_unique<GRMusic>(parsed.get(), nullptr);
    for (int n = 1; n <= music->getNumPages(); ++n) {
      drawn.page = n;
      drawn.SetOrigin(0, 0);
      gClipRect.Set(-1e9f, -1e9f, 1e9f, 1e9f);
      music->getPage(n)->OnDraw(drawn, placed);
    }
  }
  warnings = testing::internal::GetCapturedStderr();
  ASSERT_EQ(result.result, 0) << text;
}

int DrawnScore::Pages() const {
  return music ? music->getNumPages() : 0;
}

std::vector<PlacingDevice::Glyph> DrawnScore::Glyphs(unsigned int code) const {
  std::vector<PlacingDevice::Glyph> found;
  for (auto const& glyph : drawn.glyphs)
    if (glyph.code == code) found.push_back(glyph);
  return found;
}

int DrawnScore::FontSize(PlacingDevice::Glyph const& glyph) {
  return glyph.face ? glyph.face->GetSize() : 0;
}

void DrawnScore::InkHeight(PlacingDevice::Glyph const& glyph, float* top, float* bottom) {
  *top = glyph.ink.top;
  *bottom = glyph.ink.bottom;
}

float DrawnScore::Width(unsigned int code) {
  return GObject::GetSymbolExtent(code);
}

float DrawnScore::Width(PlacingDevice::Text const& text, std::string const& words) {
  float width = 0, height = 0;
  if (text.face)
    text.face->GetExtent(words.c_str(), static_cast<int>(words.size()), &width, &height, &drawn);
  return width;
}

NVRect DrawnScore::TextInk(PlacingDevice::Text const& text) {
  float width = 0, height = 0;
  if (text.face) text.face->GetExtent(text.text.c_str(), text.text.size(), &width, &height, &drawn);
  float const left = text.x - (text.align & 8 ? width / 2 : text.align & 32 ? width : 0);
  float const top = text.align & 4 ? text.y : text.y - height;  // from its top or its base line
  return NVRect{left, top, left + width, top + height};
}

int Overlaps(std::vector<NVRect> const& boxes, std::vector<NVRect> const& others) {
  auto const overlap = [](NVRect const& a, NVRect const& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  };
  int count = 0;
  for (size_t i = 0; i < boxes.size(); ++i) {
    for (size_t j = i + 1; j < boxes.size(); ++j) count += overlap(boxes[i], boxes[j]);
    for (NVRect const& other : others) count += overlap(boxes[i], other);
  }
  return count;
}

std::vector<ScoreElementDesc> DrawnScore::Records(int kind, int subtype, int page) const {
  std::vector<ScoreElementDesc> found;
  for (auto const& record : placed.records)
    if (record.desc.kind == kind && (subtype < 0 || record.desc.subtype == subtype) &&
        (page == 0 || record.page == page))
      found.push_back(record.desc);
  return found;
}

std::vector<ScoreElementDesc> DrawnScore::LeftToRight(std::vector<ScoreElementDesc> records) {
  std::stable_sort(records.begin(), records.end(),
                   [](auto const& a, auto const& b) { return a.left < b.left; });
  return records;
}

std::vector<PlacingSymbolMap::Record> DrawnScore::NoteRecords() const {
  std::vector<PlacingSymbolMap::Record> notes;
  for (auto const& record : placed.records)
    if (record.desc.kind == 1 && record.desc.subtype == 10) notes.push_back(record);
  // The line of a note: the system whose box holds it, top down.
  std::vector<PlacingSymbolMap::Record> systems;
  for (auto const& record : placed.records)
    if (record.desc.kind == 7) systems.push_back(record);
  auto line = [&](PlacingSymbolMap::Record const& r) {
    int index = 0;
    for (auto const& system : systems) {
      if (system.page == r.page && r.desc.refY >= system.desc.top &&
          r.desc.refY <= system.desc.bottom)
        return index;
      ++index;
    }
    return index;
  };
  std::stable_sort(notes.begin(), notes.end(), [&](auto const& a, auto const& b) {
    if (a.page != b.page) return a.page < b.page;
    if (line(a) != line(b)) return line(a) < line(b);
    if (a.desc.refX != b.desc.refX) return a.desc.refX < b.desc.refX;
    return a.desc.refY < b.desc.refY;
  });
  return notes;
}

std::vector<DrawnScore::DrawnLine> DrawnScore::DrawnLines() const {
  std::vector<DrawnLine> lines;
  for (int page = 1; page <= Pages(); ++page)
    for (ScoreElementDesc const& system : LeftToRight(Records(7, -1, page)))
      lines.push_back({page, system, {}});
  for (auto const& [page, note] : NoteRecords())
    for (DrawnLine& line : lines)
      if (line.page == page && note.refY >= line.system.top && note.refY <= line.system.bottom) {
        line.notes.push_back(note);
        break;
      }
  return lines;
}

int DrawnScore::LineAt(float y, bool over) const {
  std::vector<DrawnLine> const lines = DrawnLines();
  int nearest = -1;
  float distance = 1e9f;
  for (int n = 0; n < static_cast<int>(lines.size()) && lines[n].page == 1; ++n) {
    if (over && lines[n].system.bottom >= y) return n;
    float const d = std::max({lines[n].system.top - y, y - lines[n].system.bottom, 0.f});
    if (!over && d < distance) nearest = n, distance = d;
  }
  return nearest;
}

NVRect DrawnScore::LineBox(PlacingDevice::Segment const& line) {
  float const half = line.width / 2;
  return {std::min(line.x1, line.x2) - half, std::min(line.y1, line.y2) - half,
          std::max(line.x1, line.x2) + half, std::max(line.y1, line.y2) + half};
}

std::vector<NVRect> DrawnScore::WedgeBoxes(float pen) const {
  std::vector<NVRect> wedges;
  for (auto const& line : drawn.lines) {
    if (line.width != pen) continue;
    NVRect const box = LineBox(line);
    auto const same = std::ranges::find_if(wedges, [&](NVRect const& wedge) {
      return std::abs(wedge.left - box.left) < 1 && std::abs(wedge.right - box.right) < 1;
    });
    if (same == wedges.end())
      wedges.push_back(box);
    else
      same->Merge(box);
  }
  return wedges;
}

std::vector<PlacingDevice::Text> DrawnScore::Texts(std::string const& words) const {
  std::vector<PlacingDevice::Text> found;
  for (auto const& text : drawn.texts)
    if (text.text == words) found.push_back(text);
  return found;
}

bool IsAccidental(unsigned int code) {
  return code == 35 || code == 98 || code == 110 || code == 134 || code == 180;
}

bool OutlineCrosses(PlacingDevice::Shape const& shape, NVRect const& box) {
  size_t const corners = shape.xs.size();
  for (size_t i = 0; i < corners; ++i) {
    float const x1 = shape.xs[i], y1 = shape.ys[i];
    float const x2 = shape.xs[(i + 1) % corners], y2 = shape.ys[(i + 1) % corners];
    int const steps = 1 + static_cast<int>(std::hypot(x2 - x1, y2 - y1));
    for (int step = 0; step <= steps; ++step) {
      float const t = static_cast<float>(step) / static_cast<float>(steps);
      float const x = x1 + (x2 - x1) * t, y = y1 + (y2 - y1) * t;
      if (x > box.left && x < box.right && y > box.top && y < box.bottom) return true;
    }
  }
  return false;
}

std::vector<std::vector<unsigned int>> DrawnScore::SignsOfNotes() const {
  std::vector<PlacingSymbolMap::Record> const notes = NoteRecords();
  std::vector<std::vector<unsigned int>> signs;
  for (size_t i = 0; i < notes.size(); ++i) {
    ScoreElementDesc const& note = notes[i].desc;
    float from = note.headX - 400;
    for (size_t j = i; j-- > 0;)
      if (notes[j].page == notes[i].page && notes[j].desc.refX < note.refX &&
          std::abs(notes[j].desc.refY - note.refY) < 600) {
        from = std::max(from, notes[j].desc.headX);
        break;
      }
    std::vector<PlacingDevice::Glyph> at;
    for (auto const& glyph : drawn.glyphs)
      if (IsAccidental(glyph.code) && glyph.page == notes[i].page &&
          std::abs(glyph.y - note.refY) < 1 && glyph.x > from && glyph.x < note.headX)
        at.push_back(glyph);
    std::sort(at.begin(), at.end(), [](auto const& a, auto const& b) { return a.x < b.x; });
    signs.emplace_back();
    for (auto const& glyph : at) signs.back().push_back(glyph.code);
  }
  return signs;
}

}  // namespace EngineTesting
