#pragma once

// Scores parsed, laid out on Razid2's real metrics and drawn page by page onto a device that
// keeps where each symbol, text, line and filled shape lands on the page, as a reader sees it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ARMusic.h"
#include "CScoreElement.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "ScoreSymbolMap.h"
#include "parse_music.h"
#include "razid_font_system.h"

namespace EngineTesting {

// Draws nothing; transforms as a painter does (a scale multiplies, a saved state restores the
// scale and origin) and records in page units what each call puts where.
class PageDevice : public RecordingDevice {
 public:
  struct Symbol {
    unsigned int glyph;
    float x, y, scale;
  };
  struct Text {
    std::string text;
    float x, y, scale;
  };
  struct Segment {
    float x1, y1, x2, y2, width;
    int alpha;
  };
  std::vector<Symbol> symbols;
  std::vector<Text> texts;
  std::vector<Segment> lines;
  std::vector<std::vector<NVPoint>> polygons;

  using RecordingDevice::RecordingDevice;
  void Clear() {
    calls.clear();
    symbols.clear();
    texts.clear();
    lines.clear();
    polygons.clear();
  }
  // The scale in force now, as the page's own scale leaves it.
  float Scale() const { return mState.sx; }

  bool BeginDraw() override {
    RecordingDevice::BeginDraw();
    mSaved.push_back(mState);
    return true;
  }
  void EndDraw() override {
    RecordingDevice::EndDraw();
    if (mSaved.empty()) return ADD_FAILURE() << "EndDraw without BeginDraw";
    mState = mSaved.back();
    mSaved.pop_back();
  }
  void PushPen(VGColor const& c, float width) override {
    BeginDraw();
    RecordingDevice::PushPen(c, width);
    mState.penWidth = width;
    mState.penAlpha = c.alpha;
  }
  void PopPen() override { EndDraw(); }
  void PushFillColor(VGColor const& c) override {
    BeginDraw();
    RecordingDevice::PushFillColor(c);
  }
  void PopFillColor() override { EndDraw(); }
  void SetScale(float x, float y) override {
    RecordingDevice::SetScale(x, y);
    mState.sx *= x;
    mState.sy *= y;
  }
  void OffsetOrigin(float dx, float dy) override {
    RecordingDevice::OffsetOrigin(dx, dy);
    mState.dx += dx * mState.sx;
    mState.dy += dy * mState.sy;
  }
  float GetXScale() const override { return mState.sx; }
  float GetYScale() const override { return mState.sy; }
  float GetXOrigin() const override { return mState.dx / mState.sx; }
  float GetYOrigin() const override { return mState.dy / mState.sy; }

  void MoveTo(float x, float y) override {
    RecordingDevice::MoveTo(x, y);
    mPen = Map(x, y);
  }
  void LineTo(float x, float y) override {
    RecordingDevice::LineTo(x, y);
    NVPoint const to = Map(x, y);
    lines.push_back({mPen.x, mPen.y, to.x, to.y, mState.penWidth, mState.penAlpha});
    mPen = to;
  }
  void Line(float x1, float y1, float x2, float y2) override {
    RecordingDevice::Line(x1, y1, x2, y2);
    NVPoint const from = Map(x1, y1);
    NVPoint const to = Map(x2, y2);
    lines.push_back({from.x, from.y, to.x, to.y, mState.penWidth, mState.penAlpha});
  }
  void Polygon(float const* xs, float const* ys, int count) override {
    RecordingDevice::Polygon(xs, ys, count);
    std::vector<NVPoint>& points = polygons.emplace_back();
    for (int i = 0; i < count; ++i) points.push_back(Map(xs[i], ys[i]));
  }
  void DrawMusicSymbol(float x, float y, unsigned int glyph) override {
    RecordingDevice::DrawMusicSymbol(x, y, glyph);
    NVPoint const at = Map(x, y);
    symbols.push_back({glyph, at.x, at.y, mState.sx});
  }
  void DrawString(float x, float y, char const* s, int count) override {
    RecordingDevice::DrawString(x, y, s, count);
    NVPoint const at = Map(x, y);
    texts.push_back({s ? s : "", at.x, at.y, mState.sx});
  }

 private:
  struct State {
    float sx = 1, sy = 1, dx = 0, dy = 0, penWidth = 1;
    int penAlpha = 255;
  };
  NVPoint Map(float x, float y) const {
    return NVPoint{x * mState.sx + mState.dx, y * mState.sy + mState.dy};
  }

  State mState;
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
    parsed.reset();
    RazidFontFixture::TearDown();
  }

  void LayOut(std::string const& text) {
    music.reset();
    ParsedMusic result = ParseMusicText(text.c_str());
    ASSERT_EQ(result.result, 0) << text;
    parsed = std::move(result.music);
    music = std::make_unique<GRMusic>(parsed.get(), nullptr);
  }
  int Pages() const { return music->getNumPages(); }
  // Draws the page onto the page device and returns its map's records.
  std::vector<CScoreElement> Draw(int page = 1) {
    GRPage const* drawn = music->getPage(page);
    EXPECT_NE(drawn, nullptr);
    if (!drawn) return {};
    pageDevice.Clear();
    gClipRect.Set(0, 0, drawn->getPageWidth(), drawn->getPageHeight());
    drawn->OnDraw(pageDevice);
    EXPECT_EQ(pageDevice.Scale(), 1);
    ScoreSymbolMap const& map = drawn->getSymbolMap();
    std::vector<CScoreElement> records;
    for (int i = 0; i < map.ElementCount(); ++i) records.push_back(*map.GetElement(i));
    return records;
  }
  // The records of a kind, and of a subtype when one is given, left to right.
  static std::vector<CScoreElement> Of(std::vector<CScoreElement> const& records, int kind,
                                       int subtype = -1) {
    std::vector<CScoreElement> found;
    for (CScoreElement const& record : records)
      if (record.kind == kind && (subtype < 0 || record.subtype == subtype))
        found.push_back(record);
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
  std::unique_ptr<ARMusic> parsed;
  std::unique_ptr<GRMusic> music;
};

}  // namespace EngineTesting
