#include "ARStaff.h"

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterFloat.h"
#include "engine_globals.h"

ARStaff::ARStaff(int staffNumber) : mIdInt(std::make_unique<TagParameterInt>(staffNumber)) {}

ARStaff::ARStaff(ARStaff const& other) : ARMTParameter(other.getRelativeTimePosition(), &other) {
  if (other.mIdInt) mIdInt = std::make_unique<TagParameterInt>(other.mIdInt->getValue());
  if (other.mIdString)
    mIdString = std::make_unique<TagParameterString>(other.mIdString->getValue());
}

void ARStaff::print() const {
  PrintRmnLine(*this);
}

void ARStaff::PrintName(std::ostream& os) const {
  os << "\\staff";
}

void ARStaff::PrintParameters(std::ostream& os) const {
  if (mIdInt) os << mIdInt->getValue();
  if (mIdString) WriteQuoted(os, mIdString->getValue());
}

void ARStaff::setTagParameterList(TagParameterList& given) {
  static ListOfTPLs ltpls;
  std::unique_ptr<TagParameterList> own;
  const int matched = BindTagParameters(ltpls, {"I,id,,r;U,dy,,o", "S,id,,r;U,dy,,o"}, given, own);
  if (own) {
    mIdInt.reset();
    mIdString.reset();
    if (matched == 0) {
      mIdInt = OnlyIfSet(TakeOfKind<TagParameterInt>(*own, 0));
      if (mIdInt && mIdInt->getValue() < 1) {
        ZudidOvod("Staff-Parameter-Value smaller than 1");
        mIdInt->setValue(1);
      }
    } else {
      mIdString = OnlyIfSet(TakeOfKind<TagParameterString>(*own, 0));
    }
    // The class's own dy comes before the common one, so a dy given by name lands here.
    if (auto dy = OnlyIfSet(TakeOfKind<TagParameterFloat>(*own, 1))) setDY(dy.release());
  }
  if (mIdInt && mIdInt->getValue() < 0) mIdInt->setValue(0);
}

int ARStaff::getStaffNumber() const {
  if (mIdInt) return mIdInt->getValue();
  return mIdString ? -1 : 0;
}
