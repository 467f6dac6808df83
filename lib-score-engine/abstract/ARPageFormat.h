#pragma once

#include "ARMTParameter.h"
#include "NVstring.h"

// The page format tag: the page size and margins, in layout units, either from a named format
// ("A4", "A3", "letter") or from a width and a height. The page is kept between 5 cm and 400 cm
// wide and between 1 cm and 300 cm high.
class ARPageFormat : public ARMTParameter {
 public:
  // An A4 page with margins of 2 cm.
  ARPageFormat();
  // The layout's page; margins that leave too little room are shared out evenly.
  ARPageFormat(float width, float height, float leftMargin, float topMargin, float rightMargin,
               float bottomMargin);
  ARPageFormat(ARPageFormat const& other);

  ARMusicalObject* Copy() const override { return new ARPageFormat(*this); }
  // A page format has no RMN text of its own.
  std::ostream& operator<<(std::ostream& os) const override { return os; }
  void print() const override;
  bool IsStateTag() const override { return true; }
  void setTagParameterList(TagParameterList& given) override;

  // Width, height, left, top, right and bottom margin.
  void getPageFormat(float* width, float* height, float* leftMargin, float* topMargin,
                     float* rightMargin, float* bottomMargin) const;
  // The named format; empty when the page was given by width and height.
  NVstring const& getFormat() const { return mFormat; }

 private:
  // What happens to margins that leave less than the smallest page between them.
  enum class MarginRule { kShareOut, kDrop };
  void ApplyLimits(MarginRule rule);

  float mWidth;
  float mHeight;
  float mLeftMargin;
  float mTopMargin;
  float mRightMargin;
  float mBottomMargin;
  NVstring mFormat;
};
