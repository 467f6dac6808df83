#include "drawn_score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "GObject.h"
#include "GRPage.h"
#include "graphic_globals.h"
#include "parse_music.h"

namespace EngineTesting {

void PlacingDevice::DrawMusicSymbol(float x, float y, unsigned int symbol) {
  RecordingDevice::DrawMusicSymbol(x, y, symbol);
  glyphs.push_back({page, x + mX, y + mY, symbol, GetFontColor()});
}

void PlacingDevice::DrawString(float x, float y, char const* s, int count) {
  RecordingDevice::DrawString(x, y, s, count);
  std::string text = s ? std::string(s, count < 0 ? std::strlen(s) : size_t(count)) : "";
  VGFont const* font = GetTextFont();
  texts.push_back({page, x + mX, y + mY, text, GetFontAlign(), FontName(font),
                   font ? font->GetProperties() : 0});
}

void PlacingDevice::Polygon(float const* xs, float const* ys, int count) {
  RecordingDevice::Polygon(xs, ys, count);
  if (count <= 0) return;
  Shape shape{page, xs[0], ys[0], xs[0], ys[0]};
  for (int i = 1; i < count; ++i) {
    shape.left = std::min(shape.left, xs[i]);
    shape.right = std::max(shape.right, xs[i]);
    shape.top = std::min(shape.top, ys[i]);
    shape.bottom = std::max(shape.bottom, ys[i]);
  }
  shape.left += mX, shape.right += mX, shape.top += mY, shape.bottom += mY;
  for (int i = 0; i < count; ++i) {
    shape.xs.push_back(xs[i] + mX);
    shape.ys.push_back(ys[i] + mY);
  }
  shapes.push_back(shape);
}

void PlacingDevice::Rectangle(float l, float t, float r, float b) {
  RecordingDevice::Rectangle(l, t, r, b);
  shapes.push_back({page, l + mX, t + mY, r + mX, b + mY, {}, {}});
}

void PlacingDevice::Line(float x1, float y1, float x2, float y2) {
  RecordingDevice::Line(x1, y1, x2, y2);
  lines.push_back({page, x1 + mX, y1 + mY, x2 + mX, y2 + mY});
}

void PlacingSymbolMap::AddElement(VGDevice const& device, ScoreElementDesc const& desc) {
  ScoreElementDesc moved = desc;
  float const x = device.GetXOrigin(), y = device.GetYOrigin();
  moved.left += x, moved.right += x, moved.refX += x, moved.headX += x;
  moved.top += y, moved.bottom += y, moved.refY += y;
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

void DrawnScore::Draw(std::string const& text) {
  music.reset();
  drawn.glyphs.clear();
  drawn.texts.clear();
  drawn.shapes.clear();
  drawn.lines.clear();
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

float DrawnScore::Width(unsigned int code) {
  return GObject::GetSymbolExtent(code);
}

std::vector<ScoreElementDesc> DrawnScore::Records(int kind, int subtype) const {
  std::vector<ScoreElementDesc> found;
  for (auto const& record : placed.records)
    if (record.desc.kind == kind && record.desc.subtype == subtype) found.push_back(record.desc);
  return found;
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

namespace {
bool IsAccidental(unsigned int code) {
  return code == 35 || code == 98 || code == 110 || code == 134 || code == 180;
}
}  // namespace

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
