#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterString.h"

// The style, colour and size of the following notes ("noteFormat"); written with a range, for
// the range only.
class ARNoteFormat : public ARMTParameter, public ARPositionTag {
 public:
  // saved is the note format in force before this one (not owned); with copy, its style is
  // taken.
  explicit ARNoteFormat(ARNoteFormat const* saved = nullptr, ARNoteFormat const* copy = nullptr);

  ARMusicalObject* Copy() const override;
  // The note format that holds again after the range, a copy of the saved one. Owned by the
  // caller.
  ARNoteFormat* getEndTag() const;
  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\noteFormat"; }
  // The style, when the text wrote one.
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }

  // Held once the parameters were read, "standard" when not written.
  TagParameterString const* getTPStyle() const { return style.get(); }
  ARNoteFormat const* getSavedTag() const { return savedTag; }

 private:
  ARNoteFormat const* savedTag;
  std::unique_ptr<TagParameterString> style;
  static ListOfTPLs ltpls;
};
