#pragma once

// A score parsed, laid out on the default page as the music root does, on the real music font's
// metrics, and drawn page by page through a recording device. What is drawn is kept at its place
// on the page: glyphs, texts, lines, filled shapes and the symbol map's records.

#include <memory>
#include <string>
#include <vector>

#include "ARMusic.h"
#include "GRMusic.h"
#include "NVRect.h"
#include "ScoreElementDesc.h"
#include "razid_font_system.h"
#include "recording_symbol_map.h"

namespace EngineTesting {

// A recording device that moves and scales as a painter does (a scale multiplies, a saved state
// restores the transform) and keeps in page units what each call puts where.
class PlacingDevice : public RecordingDevice {
 public:
  using RecordingDevice::RecordingDevice;

  struct Glyph {
    int page;
    float x, y;
    unsigned int code;
    VGColor color;
    VGFont const* face;  // the music font drawn with, kept by the engine's font cache
    // Where the glyph puts ink on the page, by the music font's outlines as the Qt device aligns
    // them; an empty box at (x, y) when the font is not the Qt one.
    NVRect ink;
    float xscale = 1;  // the glyph's width is its width at the default size times this
  };
  struct Text {
    int page;
    float x, y;
    std::string text;
    unsigned int align;
    std::string font;
    int properties;      // of the font: 1 bold, 2 italic
    VGFont const* face;  // the font drawn with, kept by the engine's font cache
  };
  // A filled polygon or rectangle; a rectangle has no corners listed.
  struct Shape {
    int page;
    float left, top, right, bottom;
    std::vector<float> xs, ys;  // a polygon's corners
  };
  struct Segment {
    int page;
    float x1, y1, x2, y2;
    float width;  // of the pen
    int alpha;
  };

  int page = 0;
  std::vector<Glyph> glyphs;
  std::vector<Text> texts;
  std::vector<Shape> shapes;
  std::vector<Segment> lines;

  // Forgets what was drawn and goes back to the untransformed page.
  void Clear();

  bool BeginDraw() override;
  void EndDraw() override;
  void PushPen(VGColor const& c, float width) override;
  void PopPen() override;
  void PushFillColor(VGColor const& c) override;
  void PopFillColor() override;
  void SetScale(float x, float y) override;
  void SetOrigin(float x, float y) override;
  void OffsetOrigin(float dx, float dy) override;
  float GetXScale() const override { return mState.sx; }
  float GetYScale() const override { return mState.sy; }
  float GetXOrigin() const override { return mState.dx / mState.sx; }
  float GetYOrigin() const override { return mState.dy / mState.sy; }

  void MoveTo(float x, float y) override;
  void LineTo(float x, float y) override;
  void Line(float x1, float y1, float x2, float y2) override;
  void Polygon(float const* xs, float const* ys, int count) override;
  void Rectangle(float l, float t, float r, float b) override;
  void DrawMusicSymbol(float x, float y, unsigned int symbol) override;
  void DrawString(float x, float y, char const* s, int count) override;

 private:
  struct State {
    float sx = 1, sy = 1, dx = 0, dy = 0, pen = 1;
    int alpha = 255;
  };
  NVPoint Map(float x, float y) const;
  NVRect InkOf(unsigned int symbol, float x, float y) const;
  void AddLine(NVPoint const& from, NVPoint const& to);

  State mState;
  std::vector<State> mSaved;
  NVPoint mPen;
};

// Keeps the records moved to the page by the device's transform, as the page's own map does.
class PlacingSymbolMap : public RecordingSymbolMap {
 public:
  struct Record {
    int page;
    ScoreElementDesc desc;
  };
  std::vector<Record> records;
  void AddElement(VGDevice const& device, ScoreElementDesc const& desc) override;
};

// How many two of the boxes, or a box and one of the others, share more than an edge.
int Overlaps(std::vector<NVRect> const& boxes, std::vector<NVRect> const& others = {});

inline std::string Repeated(std::string const& piece, int times) {
  std::string text;
  while (times-- > 0) text += piece + " ";
  return text;
}
// Two voices on one staff, the first with its stems up.
inline std::string TwoVoices(std::string const& upper, std::string const& lower) {
  return "{ [ \\staff<1> \\stemsUp " + upper + " ], [ \\staff<1> \\stemsDown " + lower + " ] }";
}

// Whether a music glyph is an accidental sign: sharp, flat, natural, double flat or double sharp.
bool IsAccidental(unsigned int code);

// Whether the outline of a drawn shape (the band of a tie or slur) passes through the box: its
// edges are followed a unit at a time.
bool OutlineCrosses(PlacingDevice::Shape const& shape, NVRect const& box);

class DrawnScore : public RazidFontFixture {
 public:
  // The width of a music glyph drawn at the default size.
  static float Width(unsigned int code);
  // The width of a text as drawn, or of other words in its font.
  float Width(PlacingDevice::Text const& text, std::string const& words);
  float Width(PlacingDevice::Text const& text) { return Width(text, text.text); }
  // Where a text puts its letters, by its font's extent and the alignment it was drawn with.
  NVRect TextInk(PlacingDevice::Text const& text);
  static std::vector<ScoreElementDesc> LeftToRight(std::vector<ScoreElementDesc> records);

 protected:
  void SetUp() override;
  void TearDown() override;

  // Lays the score out and draws all its pages, at a scale as a painter may draw them; fails the
  // test when it does not parse.
  void Draw(std::string const& text, float scale = 1);
  int Pages() const;

  std::vector<PlacingDevice::Glyph> Glyphs(unsigned int code) const;
  // The size of the music font a glyph was drawn with: 200 at full size.
  static int FontSize(PlacingDevice::Glyph const& glyph);
  // How far a glyph's ink reaches up and down, as its font draws it on its base line.
  static void InkHeight(PlacingDevice::Glyph const& glyph, float* top, float* bottom);
  // The records of a kind, of any subtype unless one is given, on a page (on every page for 0),
  // in drawing order.
  std::vector<ScoreElementDesc> Records(int kind, int subtype = -1, int page = 0) const;
  // The records of the notes drawn, in reading order: page, line, left to right, top down.
  std::vector<PlacingSymbolMap::Record> NoteRecords() const;
  // A line of music as drawn: its page, its system's record and the notes on it in reading order.
  struct DrawnLine {
    int page;
    ScoreElementDesc system;
    std::vector<ScoreElementDesc> notes;
  };
  std::vector<DrawnLine> DrawnLines() const;
  // The index among DrawnLines() of the line of the first page nearest to a height or, for a mark
  // standing over the music, of the first line reaching below it.
  int LineAt(float y, bool over = false) const;
  std::vector<PlacingDevice::Text> Texts(std::string const& words) const;
  // The box a line drawn with its pen covers.
  static NVRect LineBox(PlacingDevice::Segment const& line);
  // Each wedge drawn with the pen as one box over its two legs, which meet, or nearly, at one
  // end: nothing belongs between them.
  std::vector<NVRect> WedgeBoxes(float pen) const;
  // For each note in reading order, the accidental signs drawn at its height between the note
  // before it and its head, left to right.
  std::vector<std::vector<unsigned int>> SignsOfNotes() const;

  PlacingDevice drawn{nullptr};
  PlacingSymbolMap placed;
  std::unique_ptr<ARMusic> parsed;
  std::unique_ptr<GRMusic> music;
  std::string warnings;
};

}  // namespace EngineTesting
