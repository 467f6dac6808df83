#include "GRNotationElement.h"

#include <typeinfo>

#include "ARMusicalObject.h"
#include "ARMusicalTag.h"
#include "GRBar.h"
#include "GRClef.h"
#include "GRGlue.h"
#include "GRKey.h"
#include "GRMeter.h"
#include "GRSpecial.h"
#include "GRStaff.h"
#include "GRSystemSlice.h"
#include "NEPointerList.h"
#include "VGDevice.h"
#include "graphic_globals.h"
#include "src/common/assertion.h"

GRNotationElement::~GRNotationElement() {
  if (!mAssociated) return;
  if (IsWholeLayoutGoing()) {
    FreeAssociatedList();
    return;
  }
  // An associated element may take itself out of this list while it forgets this one.
  NEPointerList* associated = mAssociated;
  mAssociated = nullptr;
  void* pos = associated->GetHeadPosition();
  while (pos) {
    GRNotationElement* element = associated->GetNext(pos);
    if (element) element->removeAssociation(this);
  }
  delete associated;
}

void GRNotationElement::setPosition(NVPoint const& point) {
  GObject::setPosition(point);
  tellAssociations();
}

void GRNotationElement::setHPosition(float x) {
  GObject::setHPosition(x);
  tellAssociations();
}

void GRNotationElement::tellAssociations() {
  if (!mAssociated) return;
  // Restored rather than cleared, so that a telling nested in this one (the element moved again
  // by something it told) does not end this one early.
  bool const wasTelling = mTellingPosition;
  mTellingPosition = true;
  mAssociated->tellPosition(this, mPosition);
  mTellingPosition = wasTelling;
}

void GRNotationElement::tellPosition(GObject*, NVPoint const& point) {
  if (mNeedsSpring == 0) setPosition(point);
}

void GRNotationElement::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  if (mSymbol != 0) OnDrawSymbol(device, mSymbol);
}

void GRNotationElement::removeAssociation(NEPointerList const& elements) {
  void* pos = elements.GetHeadPosition();
  while (pos) removeAssociation(elements.GetNext(pos));
}

void GRNotationElement::removeAssociation(GRNotationElement* element) {
  if (mAssociated) mAssociated->RemoveElement(element);
}

void GRNotationElement::setRelativeEndTimePosition(Fraction const& end) {
  mDurationOfGR = end - mRelativeTimePositionOfGR;
}

Fraction GRNotationElement::getRelativeEndTimePosition() const {
  return mDurationOfGR + mRelativeTimePositionOfGR;
}

void GRNotationElement::addAssociation(GRNotationElement* element) {
  if (!mAssociated) mAssociated = new NEPointerList(0);
  mAssociated->AddTail(element);
}

void GRNotationElement::FreeAssociatedList() {
  delete mAssociated;
  mAssociated = nullptr;
}

GRSystemSlice* GRNotationElement::getGRSystemSlice() const {
  return mGrStaff ? mGrStaff->getGRSystemSlice() : nullptr;
}

int GRNotationElement::getStaffNumber() const {
  GRSystemSlice* slice = getGRSystemSlice();
  return slice ? slice->getStaffNumber(mGrStaff) : -1;
}

void GRNotationElement::addToBoundingBox(GRNotationElement* element) {
  NVRect box = element->getBoundingBox() + element->getPosition() + element->getOffset();
  box -= mPosition;
  mBoundingBox.Merge(box);
}

int GRNotationElement::ComparePos(GRNotationElement const* a, GRNotationElement const* b) {
  if (!b) return -1;
  if (!a) return 1;
  if (a->getRelativeTimePosition() < b->getRelativeTimePosition()) return -1;
  if (a->getRelativeTimePosition() > b->getRelativeTimePosition()) return 1;
  // The class is compared exactly: a subclass does not take its base's place.
  auto glueKind = [](GRNotationElement const* e, int& kind) {
    if (typeid(*e) != typeid(GRGlue)) return false;
    kind = static_cast<GRGlue const*>(e)->getKind();
    return true;
  };
  int kindA = 0;
  int kindB = 0;
  bool const aIsGlue = glueKind(a, kindA);
  bool const bIsGlue = glueKind(b, kindB);
  if (aIsGlue && kindA != 0) return -1;
  if (bIsGlue && kindB != 0) return 1;
  if (aIsGlue) return 1;
  if (bIsGlue) return -1;
  // Bars, clefs, keys and meters open what follows them at that time, in this order. Two of one
  // kind compare equal, so the order stays consistent when a sort asks both ways.
  auto rank = [](GRNotationElement const* e) {
    std::type_info const& type = typeid(*e);
    if (type == typeid(GRBar)) return 0;
    if (type == typeid(GRClef)) return 1;
    if (type == typeid(GRKey)) return 2;
    if (type == typeid(GRMeter)) return 3;
    return 4;
  };
  int const rankA = rank(a);
  int const rankB = rank(b);
  if (rankA != rankB) return rankA < rankB ? -1 : 1;
  return 0;
}

void GRNotationElement::OnDrawSymbol(VGDevice& device, unsigned int symbol, float dx, float dy,
                                     float size) const {
  unsigned char const* color = getColRef();
  if (color) device.SetFontColor(VGColor(color));
  device.SetFontAlign(getTextAlign());
  DrawSymbol(device, symbol, dx, dy, size);
  if (color) device.SetFontColor(kOpaqueBlack);
}

void GRNotationElement::DrawSymbol(VGDevice& device, unsigned int symbol, float dx, float dy,
                                   float size) const {
  VGFont const* font = gFontDefs.music.font;
  if (size == 0) size = getSize();
  if (size != 1) font = GRSpecial::FindOrCreateFont(static_cast<int>(4 * size * 50 + 0.5f));
  device.SetMusicFont(font);
  NVPoint const& offset = getOffset();
  NVPoint const& ref = getReferencePosition();
  float const x = mPosition.x + offset.x + ref.x * size + dx;
  float const y = mPosition.y + offset.y + ref.y * size + dy;
  device.DrawMusicSymbol(x, y, symbol);
}

void GRNotationElement::OnDrawText(VGDevice& device, char const* text, int length) const {
  VGFont const* font = gFontDefs.text.font;
  int const fontSize = getFontSize();
  NVstring const* name = getFont();
  unsigned char const* color = getColRef();
  if (name) font = GRSpecial::FindOrCreateFont(fontSize, name, getFontAttrib());
  device.SetTextFont(font);
  if (color) device.SetFontColor(VGColor(color));
  device.SetFontAlign(getTextAlign());
  NVPoint const& offset = getOffset();
  NVPoint const& ref = getReferencePosition();
  device.DrawString(mPosition.x + offset.x + ref.x * fontSize,
                    mPosition.y + offset.y + ref.y * fontSize, text, length);
  if (color) device.SetFontColor(kOpaqueBlack);
}

void GRNotationElement::print(std::ostream& os) const {
  os << "notation element at " << mPosition << " - " << mBoundingBox << "\n";
  ARMusicalObject const* ar = getAbstractRepresentation();
  if (!ar) {
    os << "=> no ARMusicalObject\n";
  } else if (dynamic_cast<ARMusicalTag const*>(ar)) {
    os << *ar << "\n";
  } else {
    ar->print();
  }
}

std::ostream& operator<<(std::ostream& os, GRNotationElement const& element) {
  element.print(os);
  return os;
}

namespace {
float VerticalSortKey(GRNotationElement const* element) {
  float const y = element->getPosition().y;
  if (!element->getGRStaff()) return y - 1000;
  return y + element->getStaffNumber() * 20 * 50;
}
}  // namespace

int compnotposy(GRNotationElement const* el1, GRNotationElement const* el2) {
  MELVARIN_ASSERT(el1);
  MELVARIN_ASSERT(el2);
  float const key1 = VerticalSortKey(el1);
  float const key2 = VerticalSortKey(el2);
  if (key1 > key2) return 1;
  if (key1 < key2) return -1;
  return 0;
}
