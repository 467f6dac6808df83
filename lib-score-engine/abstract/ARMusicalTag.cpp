#include "ARMusicalTag.h"

#include <sstream>
#include <string>

#include "TagParameterFloat.h"
#include "TagParameterString.h"
#include "src/common/assertion.h"

namespace {

// The parameters every tag accepts, after the class's own.
constexpr char kCommonParameters[] = "S,color,black,o;U,dx,0,o;U,dy,0,o;F,size,1.0,o";

// A copy of source when it is a parameter of the kind the field holds, else null.
template <class Parameter>
Parameter* CopyOfKind(TagParameter const* source, bool (TagParameter::*isKind)() const) {
  if (!source) return nullptr;
  TagParameter* copy = source->getCopy();
  if ((copy->*isKind)()) return static_cast<Parameter*>(copy);
  delete copy;
  return nullptr;
}

// Moves the last parameter of bound into field, replacing what the field held; a parameter the
// text did not give leaves the field null, so template defaults never reach the tag.
template <class Parameter>
void TakeCommonFromTail(TagParameterList& bound, Parameter*& field,
                        bool (TagParameter::*isKind)() const) {
  void* pos = bound.GetTailPosition();
  MELVARIN_ASSERT(pos != nullptr);
  TagParameter* parameter = bound.GetAt(pos);
  bound.KF_List<TagParameter*>::RemoveElementAt(pos);
  MELVARIN_ASSERT(parameter && (parameter->*isKind)());
  delete field;
  field = nullptr;
  if (parameter->mState == TagParameter::NOTSET)
    delete parameter;
  else
    field = static_cast<Parameter*>(parameter);
}

void PrintFloat(std::ostream& os, char const* name, TagParameterFloat const* parameter) {
  os << name << "=" << parameter->getUnitValue() << parameter->getUnit();
}

}  // namespace

ARMusicalTag::ARMusicalTag(Fraction const& relativeTimePosition, ARMusicalTag const* copy)
    : ARMusicalObject(relativeTimePosition) {
  CopyCommon(copy);
}

ARMusicalTag::ARMusicalTag(int newId, ARMusicalTag const* copy) : id(newId) {
  CopyCommon(copy);
}

void ARMusicalTag::CopyCommon(ARMusicalTag const* copy) {
  if (!copy) return;
  color = CopyOfKind<TagParameterString>(copy->color, &TagParameter::isString);
  mDx = CopyOfKind<TagParameterFloat>(copy->mDx, &TagParameter::isFloat);
  mDy = CopyOfKind<TagParameterFloat>(copy->mDy, &TagParameter::isFloat);
  size = CopyOfKind<TagParameterFloat>(copy->size, &TagParameter::isFloat);
  rangeSetting = copy->rangeSetting;
  rangeFlag = copy->rangeFlag;
}

ARMusicalTag::~ARMusicalTag() {
  delete color;
  delete mDx;
  delete mDy;
  delete size;
}

std::ostream& ARMusicalTag::operator<<(std::ostream& os) const {
  PrintName(os);
  std::ostringstream own;
  PrintParameters(own);
  std::string group = own.str();
  std::ostringstream common;
  auto separate = [&] {
    if (!group.empty() || common.tellp() > 0) common << ",";
  };
  if (mDx) {
    separate();
    PrintFloat(common, "dx", mDx);
  }
  if (mDy) {
    separate();
    PrintFloat(common, "dy", mDy);
  }
  if (color) {
    separate();
    common << "color=\"" << color->getValue() << "\"";
  }
  if (size) {
    separate();
    common << "size=" << size->getUnitValue();
  }
  group += common.str();
  if (!group.empty()) os << "<" << group << ">";
  if (id != -1) os << ":" << id;
  if (rangeFlag) os << "(";
  return os << " ";
}

int ARMusicalTag::MatchListOfTPLsWithTPL(ListOfTPLs const& ltpls, TagParameterList& given,
                                         TagParameterList** rtpl) {
  *rtpl = nullptr;
  const int count = given.GetCount();
  TagParameterList* bound = nullptr;
  int index = -1;
  for (void* pos = ltpls.GetHeadPosition(); pos && !bound;) {
    TagParameterList* templ = ltpls.GetNext(pos);
    ++index;
    if (!templ || templ->getMinimum() > count || templ->getMaximum() < count) continue;
    bound = templ->Match(given);
  }
  if (!bound) return -1;

  TakeCommonFromTail(*bound, size, &TagParameter::isFloat);
  TakeCommonFromTail(*bound, mDy, &TagParameter::isFloat);
  TakeCommonFromTail(*bound, mDx, &TagParameter::isFloat);
  TakeCommonFromTail(*bound, color, &TagParameter::isString);
  *rtpl = bound;
  return index;
}

void ARMusicalTag::CreateListOfTPLs(ListOfTPLs& ltpls, ListOfStrings& strings) {
  for (NVstring& text : strings) {
    if (text.length() > 0) text.append(";");
    text.append(kCommonParameters);
    ltpls.AddTail(new TagParameterList(text));
  }
}

bool ARMusicalTag::MatchEndTag(char const* text) {
  return rangeFlag && text && text[0] == ')' && text[1] == '\0';
}

void ARMusicalTag::setDX(TagParameterFloat* dx) {
  delete mDx;
  mDx = dx;
}

void ARMusicalTag::setDY(TagParameterFloat* dy) {
  delete mDy;
  mDy = dy;
}

void ARMusicalTag::setColor(char const* text) {
  delete color;
  color = new TagParameterString(text ? text : "");
}

void ARMusicalTag::setSize(float value) {
  if (size)
    size->setValue(value);
  else
    size = new TagParameterFloat(value);
}

void ARMusicalTag::setAllowRange(int allow) {
  if (allow == -1)
    rangeSetting = ONLYRANGE;
  else if (allow == 1)
    rangeSetting = RANGEDC;
  else if (allow == 0)
    rangeSetting = NORANGE;
}
