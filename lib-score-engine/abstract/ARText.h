#pragma once

#include <memory>
#include <typeindex>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "NVstring.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"

class ARLyrics;

// A text at an event, and the base of every written text: title, composer, mark, label and
// fingering. Besides its own parameters every text class accepts the layout of the text:
// vertical position, alignment, font, size and attributes.
class ARText : public ARMTParameter, public ARPositionTag {
 public:
  ARText() { rangeSetting = RANGEDC; }
  // A text holding text and nothing else; the engine makes these from lyrics and cue names.
  ARText(NVstring const& text, float);

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\text"; }
  void PrintParameters(std::ostream& os) const override;
  // Appends the text layout parameters to every template.
  void CreateListOfTPLs(ListOfTPLs& ltpls, ListOfStrings& strings) override;
  // Takes the text layout parameters off the matched list: font and size always, the others
  // only when the text wrote them.
  int MatchListOfTPLsWithTPL(ListOfTPLs const& ltpls, TagParameterList& given,
                             TagParameterList** rtpl) override;
  void setTagParameterList(TagParameterList& given) override;
  // The class's own template, before the text layout parameters.
  virtual char const* getTagFormat() const { return "S,text,,r;U,dy,-1,o"; }

  // Texts of the parameters, null when absent.
  char const* getText() const { return text ? text->getValue() : nullptr; }
  char const* getTextformat() const { return textformat ? textformat->getValue() : nullptr; }
  char const* getFont() const { return font ? font->getValue() : nullptr; }
  char const* getFAttrib() const { return fattrib ? fattrib->getValue() : nullptr; }
  // The font size in layout units for that line space, 0 when absent.
  int getFSize(float lineSpace) const;
  TagParameterFloat const* getYPos() const { return ypos.get(); }

  // Each takes a copy of the parameter when it is of the right kind.
  void setTextformat(TagParameter const* parameter);
  void setFont(TagParameter const* parameter);
  void setFSize(TagParameter const* parameter);
  void setFAttrib(TagParameter const* parameter);
  // Takes over the layout of the lyrics this text was cut from; their dy becomes the position.
  void copyLyricsParams(ARLyrics const* lyrics);
  // A syllable the lyrics pass cut from a lyrics range, rather than a text of its own.
  bool isCutFromLyrics() const { return cutFromLyrics; }
  // The lyrics range the syllable was cut from, null for a text of its own: the syllables of
  // one range read as one row.
  ARLyrics const* getLyrics() const { return cutFrom; }
  // The line of a syllable under the staff: 0 for the first lyrics range over its event, 1 for
  // the second, and so on; each verse reads on a line of its own.
  int getVerse() const { return verse; }
  void setVerse(int line) { verse = line; }

 protected:
  // Matches given against the class's template; the class's own parameters end in own.
  int BindText(TagParameterList& given, std::unique_ptr<TagParameterList>& own);
  // The text as a named parameter: text="...".
  void PrintNamedText(std::ostream& os) const;

  std::unique_ptr<TagParameterString> text, textformat, font;
  std::unique_ptr<TagParameterFloat> fsize;
  std::unique_ptr<TagParameterString> fattrib;
  std::unique_ptr<TagParameterFloat> ypos;
  bool cutFromLyrics = false;
  ARLyrics const* cutFrom = nullptr;
  int verse = 0;

 private:
  // Each text class matches against templates of its own, built from its own format: a text
  // and a fingering differ in their default dy.
  ListOfTPLs& getTemplates() const;
};
