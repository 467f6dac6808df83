#include "GRSystem.h"

#include "ARMusicalEvent.h"
#include "GRSystemSlice.h"

GRSystem::GRSystem() : GREvent(nullptr, new ARMusicalEvent(Frac_0), true) {}

GRSystem::~GRSystem() {
  mSystemSlices.RemoveAll();
}

void GRSystem::AddSystemSlice(GRSystemSlice* slice) {
  if (mSystemSlices.empty()) mStartDate = slice->getRelativeTimePosition();
  slice->setGRSystem(this);
  mSystemSlices.AddTail(slice);
}

GRSystemSlice* GRSystem::getPreviousSlice(GRSystemSlice const* slice) const {
  GRSystemSlice* previous = nullptr;
  void* pos = mSystemSlices.GetHeadPosition();
  while (pos) {
    GRSystemSlice* current = mSystemSlices.GetNext(pos);
    if (current == slice) return previous;
    previous = current;
  }
  return nullptr;
}

int GRSystem::getStaffNumber(GRStaff const* staff) const {
  void* pos = mSystemSlices.GetHeadPosition();
  while (pos) {
    int const number = mSystemSlices.GetNext(pos)->getStaffNumber(staff);
    if (number >= 0) return number;
  }
  return -1;
}

GRSpring* GRSystem::getGRSpring(int) const {
  return nullptr;
}
