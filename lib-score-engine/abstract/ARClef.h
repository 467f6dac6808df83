#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "NVstring.h"

// The clef tag: sets the clef of the staff from its time position on. The clef text ("treble",
// "bass+15", "c1", ...) gives the kind of clef, the staff line it sits on and its octave mark.
class ARClef : public ARMTParameter {
 public:
  // Kinds of clef.
  static constexpr int NOCLEF = 0;
  static constexpr int GCLEF = 2;
  static constexpr int FCLEF = 3;
  static constexpr int CCLEF = 4;
  static constexpr int PERCUSSIONCLEF = 5;
  static constexpr int DOUBLEGCLEF = 6;

  // A treble clef without a name.
  ARClef();
  ARClef(ARClef const& other);

  ARMusicalObject* Copy() const override { return new ARClef(*this); }
  void print() const override;
  void PrintName(std::ostream& os) const override;
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }
  void setTagParameterList(TagParameterList& given) override;

  // Keeps the text and reads kind, line and octave mark from it.
  void setName(NVstring const& text);
  // The same clef: kind, line and octave mark; the texts may differ.
  bool operator==(ARClef const& other) const;

  // The text as written, octave mark included; empty when none was given.
  NVstring const& getName() const { return mName ? *mName : *NVstring::emptyString; }
  int getClefType() const { return mClef; }
  // 1 (bottom line) to 5.
  int getLine() const { return mStaffLine; }
  // -2, -1, 0, 1 or 2: two octaves down to two octaves up.
  int getOctava() const { return mOctava; }

  // Set on the copy that carries a voice's clef to the start of a new line: it stands for the
  // clef in force there, not for a change.
  void setCarried(bool carried) { mCarried = carried; }
  bool isCarried() const { return mCarried; }

 private:
  std::unique_ptr<NVstring> mName;
  int mClef = GCLEF;
  int mStaffLine = 2;
  int mOctava = 0;
  bool mCarried = false;
};
