#include "ARBowing.h"

#include <cmath>
#include <cstring>

#include "BoundParameters.h"

ARBowing::ARBowing() {
  rangeSetting = ONLYRANGE;
  assoc = 1;
}

ARBowing::ARBowing(ARBowing const* copy) : ARMTParameter(Frac_0, copy) {
  rangeSetting = ONLYRANGE;
  assoc = 1;
  dx1 = CopyOfKind<TagParameterFloat>(copy->dx1.get());
  dy1 = CopyOfKind<TagParameterFloat>(copy->dy1.get());
  dx2 = CopyOfKind<TagParameterFloat>(copy->dx2.get());
  dy2 = CopyOfKind<TagParameterFloat>(copy->dy2.get());
  r3 = CopyOfKind<TagParameterFloat>(copy->r3.get());
  h = CopyOfKind<TagParameterFloat>(copy->h.get());
  mCurve = CopyOfKind<TagParameterString>(copy->mCurve.get());
}

void ARBowing::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  const int form = BindTagParameters(
      sTemplates,
      {"S,curve,down,o", "U,dx1,2hs,o;U,dy1,1hs,o;U,dx2,-2hs,o;U,dy2,1hs,o;F,r3,0.5,o;U,h,2hs,o"},
      given, own);
  if (form == 1) {
    std::unique_ptr<TagParameterFloat>* fields[] = {&dx1, &dy1, &dx2, &dy2, &r3, &h};
    for (int i = 0; i < 6; ++i) {
      *fields[i] = TakeOfKind<TagParameterFloat>(*own, i);
      if (IsSet(fields[i]->get())) mParSet = true;
    }
  } else if (form == 0) {
    mCurve = TakeOfKind<TagParameterString>(*own, 0);
    if (IsSet(mCurve.get())) mParSet = true;
    const bool down = !mCurve || std::strcmp(mCurve->getValue(), "down") == 0;
    SetFlatGeometry(down ? -2.0f : 2.0f);
  }
}

void ARBowing::SetFlatGeometry(float height) {
  dx1 = MakeFloat(0, "hs");
  dy1 = MakeFloat(0, "hs");
  dx2 = MakeFloat(0, "hs");
  dy2 = MakeFloat(0, "hs");
  r3 = MakeFloat(0.5f, "");
  h = MakeFloat(height, "hs");
}

TagParameterList* ARBowing::getTagParameterList() const {
  auto* list = new TagParameterList(1);
  if (IsSet(mCurve.get())) {
    list->AddTail(mCurve->getCopy());
    return list;
  }
  for (TagParameterFloat const* p : {dx1.get(), dy1.get(), dx2.get(), dy2.get(), r3.get(), h.get()})
    if (IsSet(p)) list->AddTail(p->getCopy());
  return list;
}

void ARBowing::PrintParameters(std::ostream& os) const {
  if (!mParSet) return;
  if (IsSet(mCurve.get())) {
    os << "curve=\"" << mCurve->getValue() << "\"";
    return;
  }
  char const* separator = "";
  auto write = [&](char const* name, TagParameterFloat const* p, bool withUnit) {
    if (!IsSet(p)) return;
    os << separator << name << "=" << p->getUnitValue() << (withUnit ? p->getUnit() : "");
    separator = ",";
  };
  write("dx1", dx1.get(), true);
  write("dy1", dy1.get(), true);
  write("dx2", dx2.get(), true);
  write("dy2", dy2.get(), true);
  write("r3", r3.get(), false);
  write("h", h.get(), true);
}

void ARBowing::setCurve(int, float x1, float y1, float x2, float y2) {
  if (mParSet) return;
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double angle = std::atan2(dy, dx);
  // A vertical chord has no horizontal length to place the peak along.
  const double ratio = dx == 0 ? 0.5 : 0.5 / std::cos(angle);
  double height = 1.5;
  if (std::fabs(angle) > 0.02) {
    height = 2 * (0.5 * dx * std::tan(std::fabs(angle)) / 50);
    if (height < 1.5) height += 1.5;
  }
  if (height == 1.5 && dx < 151) height = 0.75;
  SetFlatGeometry(static_cast<float>(height));
  r3->reset(static_cast<float>(ratio), "");
}
