#pragma once

#include "GRARCompositeNotationElement.h"
#include "GRTag.h"

class ARKey;

// A key signature: a row of accidentals on the places the staff's clef gives each altered note
// name. Against a key already shown on its line it shows only what changes; in natural mode it
// shows that change as naturals.
class GRKey : public GRARCompositeNotationElement, public GRTag {
 public:
  static constexpr int kEntries = 12;

  // The accidentals are made once the key has a staff.
  GRKey(GRStaff* staff, ARKey* key, int isNatural, bool ownsAR);

  // The alteration of each note name (index 0 c to 6 b) for the key number of sharps or flats,
  // taken in the order of fifths; past 7 they add up (8 sharps give f double sharp).
  static int getNonFreeKeyArray(int keyNumber, int* out);
  // How far before its place a key's first sign, a sharp, begins on a staff of that line space.
  static float FirstSignLead(float lineSpace);
  // The key's own alterations: a free key's as written, else by the order of fifths.
  int getKeyArray(int* out) const;
  void getOctArray(int* out) const;
  // Against the signature already shown on the staff's line, a key shows what it adds or takes
  // away; a natural key cancels every sign of the key it copies.
  // onStaff is false while the key is being made and stands in no staff's list yet.
  void createAccidentals(bool onStaff = true);
  int getKeyNumber() const { return mKeyNumber; }
  bool isNatural() const { return mIsNatural != 0; }

  // Only x: the accidentals go side by side from there, each with a tenth of a line space
  // between them.
  void setPosition(NVPoint const& point) override;
  void setHPosition(float x) override;
  void setGRStaff(GRStaff* staff) override;
  void recalcVerticalPosition() override;
  void updateBoundingBox() override;
  bool operator==(GRKey const& other) const { return mKeyNumber == other.mKeyNumber; }
  bool operator==(GRTag const& other) const override;
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  // Each accidental's glyph; nothing for a key in error.
  void GGSOutput() const override;

  NVPoint const& getOffset() const override { return GRTag::getOffset(); }
  float getSize() const override { return GRTag::getSize(); }
  unsigned char const* getColRef() const override { return GRTag::getColRef(); }

 private:
  ARKey const* getARKey() const;
  void takeStaff(GRStaff* staff);

  int mIsNatural;
  int mKeyNumber;
  int mAccidentals[kEntries] = {};
  int mOctArray[kEntries] = {};
  float mCurLSPACE = 50;
};
