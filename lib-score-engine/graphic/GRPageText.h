#pragma once

#include "GRTagARNotationElement.h"
#include "NVstring.h"

class GRPage;

// A title or composer text, placed by its page format relative to the page and its margins.
class GRPageText : public GRTagARNotationElement {
 public:
  // Without a text format the text hangs from its top left corner ("lt").
  GRPageText(ARMusicalTag* tag, GRPage* page, NVstring const* text, NVstring const* pageFormat,
             NVstring const* textFormat, NVstring const* font, int fontSize,
             NVstring const* fontAttrib);

  // The first letter of the page format gives x, the second y: "l"/"t" the page's edge, "c"
  // its middle, "r"/"b" its other edge, "1" to "7" the edges, margins and middle in between.
  // Other letters keep the coordinate.
  void calcPosition();
  // The page the text is placed on.
  void setGRPage(GRPage* page) { mGRPage = page; }
  unsigned int getTextAlign() const override { return mTextAlign; }
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

 private:
  GRPage* mGRPage;
  NVstring mPageText;
  NVstring mPageFormat;
  NVstring mTextFormat;
  unsigned int mTextAlign;
};
