#pragma once

#include "GRTagARNotationElement.h"

class ARClef;

// The clef at a staff's start or where the clef changes: one glyph with an optional octave mark
// above or below it. Its pitch, octave and line place every note and key accidental of the staff.
class GRClef : public GRTagARNotationElement {
 public:
  // The clef stands on staff; without one it takes five lines at line space 50.
  GRClef(ARClef* clef, GRStaff* staff, bool ownsAR);

  ARClef* getARClef() const;
  bool operator==(GRClef const& other) const;
  bool operator==(GRTag const& other) const override;

  // Widens the room after the clef by space: a clef changed within a line keeps before what
  // follows it the room a line's opening clef has before its first note.
  void keepRoomAfter(float space) {
    mRightSpace += space;
    mSecondTrebleDx += 0.5f * space;
  }
  // Where the glyph ends, or a double treble's second one.
  float inkRight() const override;

  NVPoint const& getReferencePosition() const override;
  unsigned int getTextAlign() const override { return sClefTextAlign; }
  // The glyph (twice for a double treble), the octave mark, then the map's record, also for a
  // clef of kind none.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  // The treble, alto or bass clef image at the glyph's left edge; other clefs write nothing.
  void GGSOutput() const override;

  // Note name on the reference line: 2 c, 5 f, 6 g.
  int mClefPitch = 6;
  int mClefOctave = 1;
  // Counted from the top line, from 0.
  int mClefStaffLine = 0;
  // "8" or "15"; null for none.
  char const* mOctaveStr = nullptr;
  // Where the octave mark's bottom stands relative to the clef.
  NVPoint mTextOffset;
  bool mDoubleTreble = false;
  // Where a double treble's second glyph stands right of the first.
  float mSecondTrebleDx = 0;

 protected:
  // The octave mark goes along.
  void moveInk(float dx) override;

 private:
  // Each kind's reference point, rewritten by every clef of its kind from the glyph width.
  static NVPoint refposTreble;
  static NVPoint refposBass;
  static NVPoint refposAlto;
  static unsigned int sClefTextAlign;
};
