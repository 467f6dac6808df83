#pragma once

#include <string>

#include "ARMTParameter.h"
#include "ARPositionTag.h"

class ARBase;

// A tuplet group and what is drawn over it: the numbers before and after the colon and the hooks
// of its bracket, read from a format such as "-3:2-".
class ARTuplet : public ARMTParameter, public ARPositionTag {
 public:
  ARTuplet();

  std::ostream& operator<<(std::ostream& os) const override;
  void print() const override;
  void setTagParameterList(TagParameterList& given) override;

  // Sets the format without reading it; the engine names its own tuplets "-auto-".
  void setName(char const* name) { format = name ? name : ""; }
  void parseTupletFormatString();
  // The number drawn is the numerator of the base's fraction (3 for 3/2).
  void setupTuplet(ARBase const* base);

  std::string const& getName() const { return format; }
  int getNumerator() const { return numerator; }
  int getDenominator() const { return denominator; }
  bool getLeftBrace() const { return leftBrace; }
  bool getRightBrace() const { return rightBrace; }
  float getDy1() const { return dy1; }
  float getDy2() const { return dy2; }
  bool isDy1Set() const { return dy1Set; }
  bool isDy2Set() const { return dy2Set; }
  bool isFormatSet() const { return formatSet; }

 private:
  std::string format;
  // Offsets of the bracket's ends, layout units.
  float dy1 = 0;
  float dy2 = 0;
  int numerator = 0;  // 0: no number
  int denominator = 0;
  bool leftBrace = false;
  bool rightBrace = false;
  bool dy1Set = false;
  bool dy2Set = false;
  bool formatSet = false;

  static inline ListOfTPLs sTemplates{1};
};
