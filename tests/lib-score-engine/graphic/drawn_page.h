#pragma once

// Scores parsed, laid out on Razid2's real metrics and drawn page by page onto a device that
// keeps where each symbol, line and filled shape lands on the page.

#include <memory>
#include <string>
#include <vector>

#include "CScoreElement.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "ScoreSymbolMap.h"
#include "parse_music.h"
#include "razid_font_system.h"

namespace EngineTesting {

// Draws nothing; transforms as a painter does (a scale multiplies, a saved state restores the
// transform) and keeps in page units what each call puts where.
class PageDevice : public RecordingDevice {
 public:
  struct Symbol {
    unsigned int glyph;
    float x, y;
  };
  struct Segment {
    float x1, y1, x2, y2, width;
    int alpha;
  };
  std::vector<Symbol> symbols;
  std::vector<Segment> lines;
  std::vector<std::vector<NVPoint>> polygons;

  using RecordingDevice::RecordingDevice;

  bool BeginDraw() override { return mSaved.push_back(mState), true; }
  void EndDraw() override { mState = mSaved.back(), mSaved.pop_back(); }
  void PushPen(VGColor const& c, float width) override {
    BeginDraw();
    mState.pen = width;
    mState.alpha = c.alpha;
  }
  void PopPen() override { EndDraw(); }
  void PushFillColor(VGColor const&) override { BeginDraw(); }
  void PopFillColor() override { EndDraw(); }
  void SetScale(float x, float y) override { mState.sx *= x, mState.sy *= y; }
  void OffsetOrigin(float dx, float dy) override {
    mState.dx += dx * mState.sx, mState.dy += dy * mState.sy;
  }
  float GetXScale() const override { return mState.sx; }
  float GetYScale() const override { return mState.sy; }
  float GetXOrigin() const override { return mState.dx / mState.sx; }
  float GetYOrigin() const override { return mState.dy / mState.sy; }

  void MoveTo(float x, float y) override { mPen = Map(x, y); }
  void LineTo(float x, float y) override { Line(mPen.x, mPen.y, x, y, false); }
  void Line(float x1, float y1, float x2, float y2) override { Line(x1, y1, x2, y2, true); }
  void Polygon(float const* xs, float const* ys, int count) override {
    std::vector<NVPoint>& points = polygons.emplace_back();
    for (int i = 0; i < count; ++i) points.push_back(Map(xs[i], ys[i]));
  }
  void DrawMusicSymbol(float x, float y, unsigned int glyph) override {
    NVPoint const at = Map(x, y);
    symbols.push_back({glyph, at.x, at.y});
  }

 private:
  void Line(float x1, float y1, float x2, float y2, bool map) {
    NVPoint const from = map ? Map(x1, y1) : NVPoint{x1, y1};
    mPen = Map(x2, y2);
    lines.push_back({from.x, from.y, mPen.x, mPen.y, mState.pen, mState.alpha});
  }
  NVPoint Map(float x, float y) const {
    return NVPoint{x * mState.sx + mState.dx, y * mState.sy + mState.dy};
  }

  struct State {
    float sx = 1, sy = 1, dx = 0, dy = 0, pen = 1;
    int alpha = 255;
  } mState;
  std::vector<State> mSaved;
  NVPoint mPen;
};

// A score's pages drawn at scale 1, with each page's symbol map in page units.
class DrawnPageFixture : public RazidFontFixture {
 protected:
  void SetUp() override {
    RazidFontFixture::SetUp();
    StartEngine();
  }
  void TearDown() override {
    music.reset();
    parsed.music.reset();
    RazidFontFixture::TearDown();
  }

  void LayOut(std::string const& text) {
    music.reset();
    parsed = ParseMusicText(text.c_str());
    ASSERT_EQ(parsed.result, 0) << text;
    music = std::make_unique<GRMusic>(parsed.music.get(), nullptr);
  }
  // Draws the page afresh onto the page device and returns its map's records.
  std::vector<CScoreElement> Draw(int page = 1) {
    GRPage const* drawn = music->getPage(page);
    pageDevice = PageDevice(&razidSystem);
    gClipRect.Set(0, 0, drawn->getPageWidth(), drawn->getPageHeight());
    drawn->OnDraw(pageDevice);
    ScoreSymbolMap const& map = drawn->getSymbolMap();
    std::vector<CScoreElement> records;
    for (int i = 0; i < map.ElementCount(); ++i) records.push_back(*map.GetElement(i));
    return records;
  }
  // The records of a kind (and subtype, when given) in drawing order, or left to right.
  static std::vector<CScoreElement> Of(std::vector<CScoreElement> const& records, int kind,
                                       int subtype = -1, bool sorted = true) {
    std::vector<CScoreElement> found;
    for (CScoreElement const& record : records)
      if (record.kind == kind && (subtype < 0 || record.subtype == subtype))
        found.push_back(record);
    if (sorted)
      std::stable_sort(found.begin(), found.end(),
                       [](auto const& a, auto const& b) { return a.left < b.left; });
    return found;
  }
  std::vector<PageDevice::Symbol> SymbolsOf(unsigned int glyph) const {
    std::vector<PageDevice::Symbol> found;
    for (PageDevice::Symbol const& symbol : pageDevice.symbols)
      if (symbol.glyph == glyph) found.push_back(symbol);
    return found;
  }

  PageDevice pageDevice{&razidSystem};
  ParsedMusic parsed;
  std::unique_ptr<GRMusic> music;
};

}  // namespace EngineTesting
