#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "TagParameterInt.h"
#include "TagParameterString.h"

// The staff tag: the staff that the following events of the voice are written on, by number
// (from 1) or by name, and, as the tag's dy, the staff's distance from the one above.
class ARStaff : public ARMTParameter {
 public:
  ARStaff() = default;
  // The staff of that number, as the factory and the voice make it.
  explicit ARStaff(int staffNumber);
  ARStaff(ARStaff const& other);

  ARMusicalObject* Copy() const override { return new ARStaff(*this); }
  void print() const override;
  void PrintName(std::ostream& os) const override;
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }
  void setTagParameterList(TagParameterList& given) override;

  // The staff's number; -1 for a staff given by name, 0 when none was given.
  int getStaffNumber() const;
  TagParameterString const* getIdString() const { return mIdString.get(); }

 private:
  std::unique_ptr<TagParameterString> mIdString;
  std::unique_ptr<TagParameterInt> mIdInt;
};
