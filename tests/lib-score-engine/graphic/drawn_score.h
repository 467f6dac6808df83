#pragma once

// A score parsed, laid out on the default page as the music root does, on the real music font's
// metrics, and drawn page by page through a recording device. What is drawn is kept at its place
// on the page: glyphs, texts, filled shapes and the symbol map's records.

#include <memory>
#include <string>
#include <vector>

#include "ARMusic.h"
#include "GRMusic.h"
#include "ScoreElementDesc.h"
#include "razid_font_system.h"
#include "recording_symbol_map.h"

namespace EngineTesting {

// A recording device that knows where its origin has been moved to.
class PlacingDevice : public RecordingDevice {
 public:
  using RecordingDevice::RecordingDevice;

  struct Glyph {
    int page;
    float x, y;
    unsigned int code;
    VGColor color;
  };
  struct Text {
    int page;
    float x, y;
    std::string text;
    unsigned int align;
    std::string font;
    int properties;  // of the font: 1 bold, 2 italic
  };
  struct Shape {
    int page;
    float left, top, right, bottom;
    std::vector<float> xs, ys;  // a polygon's corners
  };

  int page = 0;
  std::vector<Glyph> glyphs;
  std::vector<Text> texts;
  std::vector<Shape> shapes;

  void SetOrigin(float x, float y) override { mX = x, mY = y; }
  void OffsetOrigin(float dx, float dy) override { mX += dx, mY += dy; }
  float GetXOrigin() const override { return mX; }
  float GetYOrigin() const override { return mY; }
  void DrawMusicSymbol(float x, float y, unsigned int symbol) override;
  void DrawString(float x, float y, char const* s, int count) override;
  void Polygon(float const* xs, float const* ys, int count) override;
  void Rectangle(float l, float t, float r, float b) override;
  void Line(float x1, float y1, float x2, float y2) override;

  struct Segment {
    int page;
    float x1, y1, x2, y2;
  };
  std::vector<Segment> lines;

 private:
  float mX = 0, mY = 0;
};

// Keeps the records moved to the page by the device's origin.
class PlacingSymbolMap : public RecordingSymbolMap {
 public:
  struct Record {
    int page;
    ScoreElementDesc desc;
  };
  std::vector<Record> records;
  void AddElement(VGDevice const& device, ScoreElementDesc const& desc) override;
};

class DrawnScore : public RazidFontFixture {
 public:
  // The width of a music glyph drawn at the default size.
  static float Width(unsigned int code);

 protected:
  void SetUp() override;
  void TearDown() override;

  // Lays the score out and draws all its pages; fails the test when it does not parse.
  void Draw(std::string const& text);
  int Pages() const;

  std::vector<PlacingDevice::Glyph> Glyphs(unsigned int code) const;
  std::vector<ScoreElementDesc> Records(int kind, int subtype) const;
  // The records of the notes drawn, in reading order: page, line, left to right, top down.
  std::vector<PlacingSymbolMap::Record> NoteRecords() const;
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
