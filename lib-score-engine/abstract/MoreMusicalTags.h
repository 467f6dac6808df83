#pragma once

// The engine's own small tags: range end markers, the tuplet base marker, the automatic beam,
// the glue marker, the merge range and a few switches.

#include <cstddef>

#include "ARBeam.h"
#include "ARMTParameter.h"
#include "ARMusicalEvent.h"
#include "ARPositionTag.h"
#include "NVstring.h"

class ARRepeatEnd;

// The end marker of a range: it has a position of its own and points back at its begin tag, so
// it has no end position.
class ARTagEnd : public ARMTParameter, public ARPositionTag {
 public:
  explicit ARTagEnd(int id = -1, ARTagEnd const* copy = nullptr);

  ARMusicalObject* Copy() const override { return nullptr; }
  void print() const override;
  void* getEndPosition() const override;
  void setEndPosition(void* pos) override;
  bool isEndTagClass() const override { return true; }
  // Takes no parameters.
  void setTagParameterList(TagParameterList& given) override { given.RemoveAll(); }
};

// An end marker written by name ("\slurEnd") or made by the engine ("\dispDurEnd"); a plain
// range's end is ")". End texts are the engine's own names of range ends, constants that last as
// long as the program: an end keeps the text it is given, it does not copy it (a chord alone
// makes four ends).
class ARDummyRangeEnd : public ARTagEnd {
 public:
  explicit ARDummyRangeEnd(char const* text);
  explicit ARDummyRangeEnd(std::nullptr_t) : ARDummyRangeEnd(static_cast<char const*>(nullptr)) {}
  // The source's common parameters and end text.
  explicit ARDummyRangeEnd(ARDummyRangeEnd const* copy);

  ARMusicalObject* Copy() const override { return new ARDummyRangeEnd(this); }
  void PrintName(std::ostream& os) const override { os << endText; }
  char const* getEndText() const { return endText; }
  bool isPlainEnd() const { return endText[0] == ')' && endText[1] == 0; }
  void setEndText(char const* text) { endText = text ? text : ")"; }

 private:
  char const* endText = ")";
};

// The end of a beam that automatic beaming made.
class ARAutoBeamEnd : public ARTagEnd {
 public:
  ARAutoBeamEnd();
  void PrintName(std::ostream& os) const override { os << "\\autobeamEnd"; }
};

// A beam that automatic beaming made.
class ARAutoBeam : public ARBeam {
 public:
  ARAutoBeam();
  void PrintName(std::ostream& os) const override { os << "\\autobeamBegin"; }
};

// Marks events whose lengths need a tuplet: the base is the tuplet's fraction (3/2 for
// triplets), the sum is how long the events under it last together.
class ARBase : public ARMusicalTag, public ARPositionTag {
 public:
  ARBase();

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\baseBegin"; }
  void PrintParameters(std::ostream& os) const override;

  void addEvent(ARMusicalEvent const* event);
  Fraction const& getBase() const { return base; }
  void setBase(Fraction const& newBase) { base = newBase; }
  Fraction const& getSumDuration() const { return sumDuration; }

 private:
  Fraction sumDuration;
  Fraction base;
};

// Events of one pitch written in pieces that are drawn as one event. A faulty merge marks itself
// and its end marker, so the voice drops both.
class ARMerge : public ARMusicalTag, public ARPositionTag {
 public:
  ARMerge();

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\merge"; }
  void setError(int newError) override;
};

// Marks where the staff's beginning elements end and a continued range starts again.
class ARSecondGlue : public ARMusicalTag {
 public:
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\secGlue"; }
  bool IsStateTag() const override { return true; }
};

// Switches automatic beaming on ("\beamsAuto") or off ("\beamsOff").
class ARBeamState : public ARMusicalTag {
 public:
  enum { AUTO = 0, OFF = 1 };
  explicit ARBeamState(int beamState = AUTO) : state(beamState) {}

  void print() const override;
  void PrintName(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }
  int getBeamState() const { return state; }

 private:
  int32_t state;
};

// A page break.
class ARNewPage : public ARMusicalTag {
 public:
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\newPage"; }
};

// A place where the layout may break a line, with how good a place it is.
class ARPossibleBreak : public ARMusicalTag {
 public:
  explicit ARPossibleBreak(float breakValue = 0.0f) : value(breakValue) {}

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\pBreak"; }
  void PrintParameters(std::ostream& os) const override { os << value; }
  float getValue() const { return value; }
  void setValue(float newValue) { value = newValue; }

 private:
  float value;
};

// Switches the drawing of the staff on.
class ARStaffOn : public ARMTParameter {
 public:
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\staffOn"; }
  void setTagParameterList(TagParameterList& given) override { given.RemoveAll(); }
};

// Switches the drawing of the staff off.
class ARStaffOff : public ARMTParameter {
 public:
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\staffOff"; }
  void setTagParameterList(TagParameterList& given) override { given.RemoveAll(); }
};

// Stands after the range of a repeat end and tells how often to repeat.
class ARRepeatEndRangeEnd : public ARMTParameter {
 public:
  explicit ARRepeatEndRangeEnd(ARRepeatEnd* end) : repeatEnd(end) {}

  std::ostream& operator<<(std::ostream& os) const override { return os; }
  void print() const override {}
  void setTagParameterList(TagParameterList& given) override { given.RemoveAll(); }
  // The repeat count of the repeat end, or -1 without one.
  int getNumRepeat() const;
  ARRepeatEnd* getRepeatEnd() const { return repeatEnd; }

 private:
  ARRepeatEnd* repeatEnd;
};

// The end of a tag's range as an object of its own; no pass makes one.
class ARRangeEnd : public ARMusicalObject {
 public:
  explicit ARRangeEnd(ARMusicalTag* tag) : tagRef(tag) {}

  std::ostream& operator<<(std::ostream& os) const override { return os << ") "; }
  ARMusicalTag* getTagRef() const { return tagRef; }

 private:
  ARMusicalTag* tagRef;
};
