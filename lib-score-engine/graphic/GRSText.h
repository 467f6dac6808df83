#pragma once

#include <optional>

#include "GRNotationElement.h"
#include "GRTag.h"
#include "NVRect.h"

class NVstring;
class VGFont;

// A short text the staff writes itself, such as the mark of an octava change; it follows the
// one event it is attached to.
class GRSText : public GRNotationElement, public GRTag {
 public:
  // The text stands at line x 50 from the staff's top, in the staff's text font and size; a
  // line over the staff's top line puts it over the music under it, a line at or under its
  // bottom line under the music.
  GRSText(GRStaff* staff, NVstring const& text, int line);
  ~GRSText() override;

  // Only the first element counts; it tells the text its positions from then on.
  void addAssociation(GRNotationElement* element) override;
  void removeAssociation(GRNotationElement* element) override;
  using GRNotationElement::removeAssociation;
  void tellPosition(GObject*, NVPoint const& point) override { setPosition(point); }
  NVstring const& getText() const { return *mText; }
  // The mark stands for nothing after all and draws nothing (an octava carried into a line that
  // ends where the line begins).
  void drawNothing();
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  // How far down a text under the staff reaches as it is drawn, under the music of its staff's
  // line; none for a text over the staff. In the staff's coordinates, once the system is placed.
  std::optional<float> bottomUnder() const;
  // Where a text over the staff puts its letters as it is drawn, in the staff's coordinates;
  // none for a text under the staff.
  std::optional<NVRect> inkOver() const;
  // Where the letters of a text under the staff stand as drawn, in the staff's coordinates and
  // the system's x; none for a text over the staff.
  std::optional<NVRect> boxUnder() const;

 private:
  bool standsUnder() const;
  // Where the foot of a text over the staff stands, over the music under it.
  float footOver() const;
  // Where the top of a text under the staff stands.
  float topUnder() const;
  VGFont const* font() const;
  float lineSpace() const;

  NVstring* mText;
  GRNotationElement* mAssociatedElement = nullptr;
  int mLine;
};
