#pragma once

#include "ARBar.h"

class ARRepeatBegin;

// The end of a repeated passage ("repeatEnd"), a bar line that knows the repeat begin it closes.
// A range is optional.
class ARRepeatEnd : public ARBar {
 public:
  // begin is the open repeat begin, or null; not owned.
  explicit ARRepeatEnd(ARRepeatBegin* begin = nullptr);

  void setTagParameterList(TagParameterList& given) override;
  void PrintName(std::ostream& os) const override { os << "\\repeatEnd"; }
  // The count, unless it is 0.
  void PrintParameters(std::ostream& os) const override;

  ARRepeatBegin* getRepeatBegin() const { return repeatBegin; }
  int getNumRepeat() const { return numRepeat; }

 private:
  ARRepeatBegin* repeatBegin;
  int numRepeat = 0;
  static ListOfTPLs ltpls;
};
