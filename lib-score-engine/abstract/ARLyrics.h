#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"

// Lyrics over a range. They are not drawn themselves: the lyrics pass cuts the text into one
// text per event, which takes the lyrics' layout.
class ARLyrics : public ARMTParameter, public ARPositionTag {
 public:
  ARLyrics() { rangeSetting = ONLYRANGE; }

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\text"; }
  void PrintParameters(std::ostream& os) const override;
  // Appends the lyrics' layout parameters to every template.
  void CreateListOfTPLs(ListOfTPLs& ltpls, ListOfStrings& strings) override;
  // Takes the layout parameters off the matched list; only the attributes are dropped when the
  // text did not write them.
  int MatchListOfTPLsWithTPL(ListOfTPLs const& ltpls, TagParameterList& given,
                             TagParameterList** rtpl) override;
  void setTagParameterList(TagParameterList& given) override;

  char const* getText() const { return mText ? mText->getValue() : nullptr; }
  char const* getTextformat() const { return mTextFormat ? mTextFormat->getValue() : nullptr; }
  char const* getFont() const { return mFont ? mFont->getValue() : nullptr; }
  char const* getFAttrib() const { return mFAttrib ? mFAttrib->getValue() : nullptr; }
  int getFSize(float lineSpace) const;

  TagParameterString const* getTPTextFormat() const { return mTextFormat.get(); }
  TagParameterString const* getTPFont() const { return mFont.get(); }
  TagParameterFloat const* getTPFSize() const { return mFSize.get(); }
  TagParameterString const* getTPFAttrib() const { return mFAttrib.get(); }

 private:
  std::unique_ptr<TagParameterString> mText, mTextFormat, mFont;
  std::unique_ptr<TagParameterFloat> mFSize;
  std::unique_ptr<TagParameterString> mFAttrib;

  static inline ListOfTPLs sTemplates{1};
};
