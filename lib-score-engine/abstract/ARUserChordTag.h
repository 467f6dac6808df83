#pragma once

#include <string>

#include "ARChordTag.h"

// A chord label that the text writes ("chord", "splitChord"); a number is shown as "intlabel"
// and the number.
class ARUserChordTag : public ARChordTag {
 public:
  ARUserChordTag() = default;
  // Copies the label, not the common parameters.
  explicit ARUserChordTag(ARUserChordTag const* copy);

  ARMusicalObject* Copy() const override { return new ARUserChordTag(this); }
  void PrintName(std::ostream& os) const override;
  void setTagParameterList(TagParameterList& given) override;

  // The word label, else the text of the number label, else empty.
  std::string getLabelValue() const;

 private:
  void SetLabelText();

  std::string labelText;

  static inline ListOfTPLs sTemplates{1};
};
