#pragma once

#include <cstdint>
#include <optional>

#include "GDirection.h"
#include "GRTagARNotationElement.h"

class GREvent;

// A staccato, accent, marcato, tenuto, fermata or breath mark attached to one event. It stands
// outside the head and the event's other articulations, in a fixed order from the head outwards,
// and follows the event whenever it moves.
class GRArticulation : public GRTagARNotationElement {
 public:
  // The flags, shared with the event's articulation flags.
  enum Flag {
    kStaccato = 1,
    kTenuto = 4,
    kAccent = 8,
    kMarcato = 16,
    kFermata = 32,
    kBreathMark = 64,
  };

  // The flag of a tag's mark; an unknown tag is drawn as a staccato.
  static int FlagOf(ARMusicalTag const& tag);
  // An unknown tag is drawn as a staccato.
  GRArticulation(ARMusicalTag* tag, float lineSpace, bool ownsAR = false);

  // Takes its place from the event that tells it.
  void tellPosition(GObject* caller, NVPoint const& point) override;
  NVPoint const& getReferencePosition() const override { return mRefpos; }

  void setArticulationSymbol(unsigned int symbol);
  void setMarcatoDirection(bool up);
  // Above the notes, or turned over below them.
  void setFermataDirection(bool above);
  int getArticulationFlag() const { return mArticulationFlag; }
  // Where the glyph puts its ink, in the staff's coordinates: the box the mark keeps room by
  // reaches otherwise (a breath mark's stands under its ink, a marcato's stops short of its
  // point). A curve passing the mark keeps clear of this.
  NVRect inkBox() const;
  // Whether the mark's place, where it was last told, depends on the end of its event's stem.
  bool followsStem() const { return mFollowsStem; }

 private:
  void Set(unsigned int symbol, int flag, float refY, float top, float bottom);
  // Where voices share the staff: above the heads and an up stem, or below the heads and a down
  // stem, stacked as on the head's side.
  void placeOnVoiceSide(GREvent const* event, NVPoint& point, bool above);
  // The end of the event's stem where it points that way, or the edge of a beam on it over the
  // mark standing at x, where that reaches further; the mark then follows that end.
  std::optional<float> stemEnd(GREvent const* event, GDirection direction, float x);
  // Above the staff, the note and the stem.
  void placeFermata(GREvent const* event, NVPoint& point, bool stemUp);
  // Below the staff, the note and the stem: for the lower of two voices.
  void placeFermataBelow(GREvent const* event, NVPoint& point);
  void placeAfterNote(GREvent const* event, NVPoint& point, bool above) const;
  void placeAbove(GREvent const* event, NVPoint& point) const;
  void placeBelow(GREvent const* event, NVPoint& point) const;

  // Both stand where an int flag alone would: a text may put hundreds of thousands of marks on
  // its notes.
  std::uint8_t mArticulationFlag = kStaccato;
  bool mFollowsStem = false;
  NVPoint mRefpos;
};
