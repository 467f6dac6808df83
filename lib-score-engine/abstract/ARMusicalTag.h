#pragma once

#include <ostream>

#include "ARMusicalObject.h"
#include "TagParameterList.h"

class TagParameterFloat;
class TagParameterString;

// A tag of the RMN text: it stands at a time position and lasts nothing. Every tag accepts the
// common parameters color, dx, dy and size; each is null until the text gives it, and readers
// take their own defaults then.
class ARMusicalTag : public ARMusicalObject {
 public:
  // Values of the range setting: a range is dropped, required, or optional.
  static constexpr int NORANGE = 0;
  static constexpr int ONLYRANGE = 1;
  static constexpr int RANGEDC = 2;

  // Without an id. With a source tag, its common parameters and range settings are taken over.
  explicit ARMusicalTag(Fraction const& relativeTimePosition = Frac_0,
                        ARMusicalTag const* copy = nullptr);
  ARMusicalTag(int id, ARMusicalTag const* copy);
  ARMusicalTag(ARMusicalTag const&) = delete;
  ~ARMusicalTag() override;

  // Name, the parameter group, the id and an opening bracket for a ranged tag.
  std::ostream& operator<<(std::ostream& os) const override;
  void print() const override = 0;

  // Binds given to the first of ltpls that fits and moves the common parameters of the result to
  // the tag. Returns the index of that template, with the class's own parameters in *rtpl for
  // the caller to delete; -1 and null when none fits.
  virtual int MatchListOfTPLsWithTPL(ListOfTPLs const& ltpls, TagParameterList& given,
                                     TagParameterList** rtpl);
  // Parses each template string, completed with the common parameters, into ltpls.
  virtual void CreateListOfTPLs(ListOfTPLs& ltpls, ListOfStrings& strings);
  virtual bool MatchEndTag(char const* text);
  virtual void PrintParameters(std::ostream& os) const {}
  virtual void PrintName(std::ostream& os) const {}
  virtual int getRangeSetting() const { return rangeSetting; }
  // True for a tag that holds its setting until the next tag of its class.
  virtual bool IsStateTag() const { return false; }
  virtual void setError(int newError) { error = newError; }
  virtual int getError() const { return error; }
  virtual void setRange(bool hasRange) { rangeFlag = hasRange; }
  virtual bool getRange() const { return rangeFlag; }
  virtual void setDX(TagParameterFloat* dx);
  virtual void setDY(TagParameterFloat* dy);

  void setColor(char const* text);
  void setSize(float value);
  // -1: only with a range; 1: range optional; 0: no range.
  void setAllowRange(int allow);
  void setIsAuto(bool automatic) { isAuto = automatic; }
  bool getIsAuto() const { return isAuto; }
  int getID() const { return id; }
  void setID(int newId) { id = newId; }
  int getAssociation() const { return assoc; }
  void setAssociation(int association) { assoc = association; }

  TagParameterString const* getColor() const { return color; }
  TagParameterFloat const* getDX() const { return mDx; }
  TagParameterFloat const* getDY() const { return mDy; }
  TagParameterFloat const* getSize() const { return size; }

 protected:
  int id = -1;
  bool isAuto = false;
  // How a range tag stands to the events of its voice, as the voice found it: 2 not yet looked
  // at, 1 opened, 0 end after an event, 3 end without event or begin, 4 range without events.
  int assoc = 2;
  int rangeSetting = NORANGE;
  int error = 0;
  bool rangeFlag = false;
  TagParameterString* color = nullptr;
  TagParameterFloat* mDx = nullptr;
  TagParameterFloat* mDy = nullptr;
  TagParameterFloat* size = nullptr;

 private:
  void CopyCommon(ARMusicalTag const* copy);
};
