#pragma once

#include "GRPTagARNotationElement.h"
#include "NVRect.h"

class ARText;
class NVstring;
class VGFont;

// The text of a text, label, mark or fingering tag, drawn under the staff at the place of the
// event it is attached to. It keeps one piece per system; a range continued on a new system
// shows a hyphen there.
class GRText : public GRPTagARNotationElement {
 public:
  struct GRTextSaveStruct : GRPositionTag::GRSaveStruct {
    ~GRTextSaveStruct() override;
    NVPoint position;
    // Left 0, top the text's height, right its width, bottom 200.
    NVRect boundingBox;
    NVstring* text = nullptr;
  };

  GRText(GRStaff* staff, ARText* text);

  // Device alignment from a two-letter format: "l" 16, "c" 8, "r" 32, then "t" 4, "c" 1, "b" 2;
  // other letters count as "l" and "t", and so does a format that is not two letters long.
  static unsigned int AlignmentOf(char const* format);

  ARText const* getARText() const;
  // The piece of the text's own system follows.
  void setPosition(NVPoint const& point) override;
  void setHPosition(float x) override;
  // The piece of the caller's system takes the caller's place: the text at its start element,
  // or a hyphen 25 units before the first element of a continued piece.
  void tellPosition(GObject* caller, NVPoint const& point) override;
  float getLeftSpace() const override;
  float getRightSpace() const override;
  unsigned int getTextAlign() const override { return mTextAlign; }
  GRSaveStruct* getNewGRSaveStruct() override { return new GRTextSaveStruct; }
  // A text hung on one event keeps the next event clear of it: the event takes the text's room.
  void RangeEnd(GRStaff* staff) override;
  // The piece of the system being drawn, under the staff being drawn and, unless the score
  // places it, at its default height below that staff and the lowest note of that staff in the
  // system, and below the texts and dynamics it would meet there.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

  // How high and how low the notes of a staff's line reach, in the staff's coordinates.
  struct NotesReach {
    float top, bottom;
  };
  // Where the piece of a system stands under the staff that draws it, before it keeps clear of
  // others: false when the system has no piece with text. The reach of the notes of the staff's
  // line, when given, stands for the music of the system under the letters. A text written
  // among the notes or on the staff stands under them instead, as a text not placed does.
  struct Placement {
    float x, y;         // where it is drawn
    float left, right;  // where its letters reach across
    float top, height;  // where its letters begin below y (negative: above), and their height
    bool placed;        // the score placed it: it stays where it is
    // Texts meeting each other stand in this order from the top: plain texts, fingerings,
    // syllables; each verse under the one before; the text of a higher note over the other's.
    int rank;
    int verse;
    float noteY;
    // The syllables of one lyrics range share this and move as one row; null for other texts.
    void const* row;
    // The event it hangs on: the syllables of one event are the verses of one voice there.
    void const* event;
  };
  bool placementOn(GRSystem const* system, GRStaff const* staff, Placement* placement,
                   NotesReach const* notes = nullptr) const;

 private:
  GRTextSaveStruct* pieceOf(GRSystem const* system) const;
  GRTextSaveStruct* firstPiece() const;
  // The text's own font, else the default text font.
  VGFont const* textFont() const;
  // The piece's box from its text in the text's font (empty without a drawing device).
  void measure(GRTextSaveStruct* piece) const;
  // Where its letters, from top to bottom, meet the staff or the music on it between left and
  // right.
  static bool meetsMusic(GRSystem const* system, GRStaff const* staff, NotesReach const* notes,
                         float left, float right, float top, float bottom);

  unsigned int mTextAlign;
  // The width of a space in the text's font, and the height of its lines.
  float mWordSpace = 0;
  float mLineHeight = 0;
};
