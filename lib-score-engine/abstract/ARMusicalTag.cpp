#include "ARMusicalTag.h"

#include <sstream>
#include <string>

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"
#include "src/common/assertion.h"

namespace {

// The parameters every tag accepts, after the class's own.
constexpr char kCommonParameters[] = "S,color,black,o;U,dx,0,o;U,dy,0,o;F,size,1.0,o";

// Moves the last parameter of bound into field, replacing what the field held; a parameter the
// text did not give leaves the field null, so template defaults never reach the tag. The common
// template fixes the kinds at the tail.
template <class Parameter>
void TakeCommonFromTail(TagParameterList& bound, Parameter*& field) {
  std::unique_ptr<Parameter> parameter = TakeTailOfKind<Parameter>(bound);
  MELVARIN_ASSERT(parameter != nullptr);
  delete field;
  field = OnlyIfSet(std::move(parameter)).release();
}

void PrintFloat(std::ostream& os, char const* name, TagParameterFloat const* parameter) {
  os << name << "=";
  WriteAsWritten(os, *parameter);
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
  color = CopyOfKind<TagParameterString>(copy->color).release();
  mDx = CopyOfKind<TagParameterFloat>(copy->mDx).release();
  mDy = CopyOfKind<TagParameterFloat>(copy->mDy).release();
  size = CopyOfKind<TagParameterFloat>(copy->size).release();
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
  // A template that does not fit says why only when no other template of the tag fits: an
  // integer given where the first template asks for a text is right for the next one.
  TagParameterWarnings failed;
  for (void* pos = ltpls.GetHeadPosition(); pos && !bound;) {
    TagParameterList* templ = ltpls.GetNext(pos);
    ++index;
    if (!templ || templ->getMinimum() > count || templ->getMaximum() < count) continue;
    TagParameterWarnings held;
    bound = templ->Match(given, &held);
    if (bound) {
      GiveWarnings(held);
    } else {
      failed.insert(failed.end(), held.begin(), held.end());
    }
  }
  if (!bound) {
    GiveWarnings(failed);
    return -1;
  }

  for (void* pos = bound->GetHeadPosition(); pos;) {
    TagParameter* parameter = bound->GetNext(pos);
    if (parameter && parameter->isFloat())
      static_cast<TagParameterFloat*>(parameter)->takeUnitInForce();
  }
  TakeCommonFromTail(*bound, size);
  TakeCommonFromTail(*bound, mDy);
  TakeCommonFromTail(*bound, mDx);
  TakeCommonFromTail(*bound, color);
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
