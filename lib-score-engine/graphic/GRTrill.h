#pragma once

#include "GRFirstNoteMark.h"

class ARTrill;

// Draws a trill, turn or mordent over its notes, at the first note.
class GRTrill : public GRFirstNoteMark {
 public:
  GRTrill(GRStaff* staff, ARTrill* ar);
  void drawMark(VGDevice& device, VScoreSymbolMap& map) const override;
  // The ink of a mordent's glyph drawn on the system, in the staff's coordinates: none for a
  // mark drawn as words or standing on another system. Curves passing there keep clear of it.
  std::optional<NVRect> glyphBoxOn(GRSystem const* system) const;

 protected:
  char const* words() const override;
};
