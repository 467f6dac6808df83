#include "GRSpring.h"
#include "ARCast.h"

#include <algorithm>
#include <cmath>

#include "GRBar.h"
#include "GRClef.h"
#include "GREmpty.h"
#include "GRGlue.h"
#include "GRKey.h"
#include "GRMeter.h"
#include "GRNotationElement.h"
#include "GRRest.h"
#include "GRSingleNote.h"
#include "GRSpringCollider.h"
#include "GRStaff.h"
#include "GRTag.h"
#include "VGColor.h"
#include "VGDevice.h"
#include "engine_globals.h"
#include "spacing_rounding.h"
#include "src/common/assertion.h"

float GRSpring::funcpar = 1.1f;

namespace {

float constantForValue(double d) {
  return roundTo3Decimals(static_cast<float>(1.0 / std::log((d + 1.0) * GRSpring::funcpar)));
}

}  // namespace

float GRSpring::defconst(Fraction const& dur) {
  if (dur.getValue() == 0) return 20;
  return constantForValue(dur.getValue());
}

float GRSpring::defconst(float dur) {
  if (dur == 0) return 20;
  return constantForValue(dur);
}

// Glues and tags bring their own stiffness; rests above an eighth are spaced as if half as long.
float GRSpring::constantFor(GRNotationElement const* element, Fraction const& d) const {
  if (auto const* glue = ar_cast<GRGlue const>(element)) return glue->getSConst();
  if (auto const* tag = ar_cast<GRTag const>(element)) return tag->getSConst();
  if (d.getValue() == 0) return ar_cast<GREmpty const>(element) ? 200 : 20;
  if (ar_cast<GRRest const>(element) && static_cast<float>(d.getValue()) > 0.125f) {
    Fraction half;
    half.set(d.getNumerator(), d.getDenominator() * 2);
    if (half.getValue() == 0) return 20;
    return constantForValue(half.getValue());
  }
  return constantForValue(d.getValue());
}

float GRSpring::calcconst(GRNotationElement* element) {
  sconst = constantFor(element, mDuration) / staffScale();
  MELVARIN_ASSERT(sconst != 0);
  return sconst;
}

float GRSpring::staffScale() const {
  float scale = 0;
  for (void* pos = mElements.GetHeadPosition(); pos;) {
    GRNotationElement const* element = mElements.GetNext(pos);
    if (GRStaff const* staff = element ? element->getGRStaff() : nullptr)
      scale = std::max(scale, staff->getLineSpace() / 50);
  }
  return scale > 0 ? scale : 1;
}

float GRSpring::onlycalcconst(GRNotationElement const* element) {
  MELVARIN_ASSERT(element);
  GRSpring probe(element->getRelativeTimePosition(), element->getDuration());
  const float mysconst = probe.constantFor(element, element->getDuration());
  MELVARIN_ASSERT(mysconst != 0);
  return mysconst;
}

GRSpring::GRSpring(GRNotationElement* element, GRVoice* voice)
    : mTimePosition(element->getRelativeTimePosition()), mDuration(element->getDuration()) {
  mElements.AddTail(element);
  mVoices.AddTail(voice);
  sconst = calcconst(element);
  MELVARIN_ASSERT(sconst != 0);
}

GRSpring::GRSpring(Fraction const& tp, Fraction const& dur)
    : mTimePosition(tp), mDuration(dur), sconst(defconst(dur)) {}

GRSpring::~GRSpring() {
  delete mCollider;
}

GRNotationElement* GRSpring::getNextGRO(void*& pos) const {
  MELVARIN_ASSERT(pos);
  return mElements.GetNext(pos);
}

void GRSpring::recalcConstant() {
  const float old = sconst;
  calcconst(mElements.GetHead());
  if (sconst != old && (mExtent != 0 || mForce != 0)) {
    RidevUzuze("Error with springconstants");
    mForce = mExtent * sconst;
  }
}

void GRSpring::set_const(float dc) {
  MELVARIN_ASSERT(dc > 0);
  sconst = dc;
  mForce = dc * mExtent;
}

float GRSpring::change_const(float dc) {
  MELVARIN_ASSERT(dc > 0);
  sconst = roundTo5Decimals(dc);
  mExtent = roundTo5Decimals(mForce / sconst);
  return sconst;
}

float GRSpring::change_x(float dx) {
  MELVARIN_ASSERT(dx >= 0.0);
  mExtent = roundTo3Decimals(dx);
  mForce = roundTo3Decimals(mExtent * sconst);
  return mForce;
}

float GRSpring::change_force(float df) {
  MELVARIN_ASSERT(df >= 0.0);
  mForce = roundTo3Decimals(df);
  mExtent = roundTo3Decimals(mForce / sconst);
  return mExtent;
}

float GRSpring::apply_force(float f) const {
  return mFrozen ? mExtent : f / sconst;
}

float GRSpring::setlength(float len) {
  if (len > mExtent) return change_x(len);
  return mForce;
}

float GRSpring::stretchWithForce(float f) {
  if (mFrozen || mForce >= f) return mExtent;
  return change_force(f);
}

float GRSpring::change_dur(Fraction const& dur) {
  if (dur == mDuration || dur.getValue() < 0) return sconst;
  mDuration = dur;
  sconst = defconst(dur);
  return sconst;
}

void GRSpring::addElement(GRNotationElement* element, GRVoice* voice) {
  if (element->getRelativeTimePosition() != mTimePosition && element->getNeedsSpring() == 1)
    mTimePosition = element->getRelativeTimePosition();
  void* pos = mElements.AddTail(element);
  mVoices.AddTail(voice);
  if (!mCollider) mCollider = new GRSpringCollider;
  mCollider->AddElement(element, pos);
}

// The layout never calls this: the element's duration becomes the spring's and its constant
// follows, then the element is added as any other.
void GRSpring::addSameTP(GRNotationElement* element, GRVoice* voice) {
  change_dur(element->getDuration());
  addElement(element, voice);
}

bool GRSpring::removeElement(GRNotationElement* element) {
  void* pos = mElements.GetHeadPosition();
  void* voicePos = mVoices.GetHeadPosition();
  while (pos) {
    if (mElements.GetAt(pos) == element) {
      if (mCollider) mCollider->RemoveElement(element, pos);
      mElements.RemoveElementAt(pos);
      if (voicePos) mVoices.RemoveElementAt(voicePos);
      return true;
    }
    mElements.GetNext(pos);
    if (voicePos) mVoices.GetNext(voicePos);
  }
  return false;
}

void GRSpring::setGRPositionX(float x) {
  mX = x;
  for (void* pos = mElements.GetHeadPosition(); pos;) mElements.GetNext(pos)->setHPosition(x);
}

void GRSpring::setGRSpringID() {
  for (void* pos = mElements.GetHeadPosition(); pos;) mElements.GetNext(pos)->tellSpringID(mID);
}

bool GRSpring::hasType(std::type_info const& type) const {
  for (void* pos = mElements.GetHeadPosition(); pos;)
    if (typeid(*mElements.GetNext(pos)) == type) return true;
  return false;
}

bool GRSpring::holdsEvent() const {
  for (void* pos = mElements.GetHeadPosition(); pos;)
    if (mElements.GetNext(pos)->isGREventClass()) return true;
  return false;
}

bool GRSpring::containsBar() const {
  for (void* pos = mElements.GetHeadPosition(); pos;)
    if (ar_cast<GRBar>(mElements.GetNext(pos))) return true;
  return false;
}

bool GRSpring::holdsStaffSign() const {
  for (void* pos = mElements.GetHeadPosition(); pos;) {
    GRNotationElement* element = mElements.GetNext(pos);
    if (ar_cast<GRKey>(element) || ar_cast<GRClef>(element) || ar_cast<GRMeter>(element))
      return true;
  }
  return false;
}

bool GRSpring::hasStaffAndType(GRStaff const* staff, std::type_info const& type) const {
  for (void* pos = mElements.GetHeadPosition(); pos;) {
    GRNotationElement* el = mElements.GetNext(pos);
    if (typeid(*el) == type && ar_cast<GRKey>(el) && el->getGRStaff() == staff) return true;
  }
  return false;
}

bool GRSpring::isCommonSpring(int numVoices) const {
  if (numVoices == 1 || mElements.GetCount() > 2) return true;
  if (mVoices.IsEmpty()) return false;
  GRVoice* first = mVoices.GetHead();
  for (void* pos = mVoices.GetHeadPosition(); pos;) {
    GRVoice* voice = mVoices.GetNext(pos);
    if (!voice || voice != first) return true;
  }
  return false;
}

void GRSpring::setNoExtent() {
  for (void* pos = mElements.GetHeadPosition(); pos;) {
    GRNotationElement* el = mElements.GetNext(pos);
    NVRect box = el->getBoundingBox();
    if (typeid(*el) == typeid(GRGlue)) {
      box.left = 0;
      box.right = 0;
    } else if (typeid(*el) == typeid(GRBar)) {
      box.right = 0;
    } else {
      continue;
    }
    el->setBoundingBox(box);
  }
}

namespace {

bool holdsGlue(KF_IPointerList<GRNotationElement> const& elements) {
  for (void* pos = elements.GetHeadPosition(); pos;)
    if (typeid(*elements.GetNext(pos)) == typeid(GRGlue)) return true;
  return false;
}

float widestLeft(KF_IPointerList<GRNotationElement> const& elements) {
  float widest = 0;
  for (void* pos = elements.GetHeadPosition(); pos;)
    widest = std::max(widest, elements.GetNext(pos)->getLeftSpace());
  return widest;
}

float widestRight(KF_IPointerList<GRNotationElement> const& elements) {
  float widest = 0;
  for (void* pos = elements.GetHeadPosition(); pos;)
    widest = std::max(widest, elements.GetNext(pos)->getRightSpace());
  return widest;
}

// The band lists hold positions of the spring's element list.
float widestInBand(GRSpringCollider::Band band, KF_IPointerList<GRNotationElement> const& elements,
                   bool right) {
  float widest = 0;
  for (void* pos : band) {
    GRNotationElement const* el = elements.GetAt(pos);
    widest = std::max(widest, right ? el->getRightSpace() : el->getLeftSpace());
  }
  return widest;
}

// A grace note keeps clear of what stands before it on its staff at any height: over or under
// the note before, it reads as struck with it.
float roomBeforeGraceNotes(KF_IPointerList<GRNotationElement> const& elements,
                           KF_IPointerList<GRNotationElement> const& next) {
  float room = 0;
  for (void* pos = next.GetHeadPosition(); pos;) {
    auto const* grace = ar_cast<GRSingleNote const>(next.GetNext(pos));
    if (!grace || !grace->isGrace()) continue;
    int const staff = staffNumberOf(grace);
    for (void* at = elements.GetHeadPosition(); at;) {
      GRNotationElement const* before = elements.GetNext(at);
      if (staffNumberOf(before) == staff)
        room = std::max(room, before->getRightSpace() + grace->getLeftSpace());
    }
  }
  return room;
}

}  // namespace

float GRSpring::GetMaxDistance(GRSpring const* next) const {
  if (holdsGlue(mElements)) return widestLeft(next->mElements);
  if (holdsGlue(next->mElements)) return widestRight(mElements);
  float distance = roomBeforeGraceNotes(mElements, next->mElements);
  if (!mCollider || !next->mCollider) return distance;
  mCollider->ForEachSharedBand(
      *next->mCollider, [&](GRSpringCollider::Band mine, GRSpringCollider::Band theirs) {
        distance = std::max(distance, widestInBand(mine, mElements, true) +
                                          widestInBand(theirs, next->mElements, false));
      });
  return distance;
}

void GRSpring::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  device.PushPen(VGColor(0, 0, 255, 50), 5);
  const int teeth = static_cast<int>((mExtent - 60) / 40 + 0.5f);
  if (teeth <= 0) {
    device.Line(mX, -100, mX + mExtent, -100);
  } else {
    float x = mX + (mExtent - 40 * teeth) / 2;
    device.Line(mX, -100, x, -100);
    for (int i = 0; i < teeth; ++i, x += 40) {
      device.Line(x, -100, x + 10, -120);
      device.Line(x + 10, -120, x + 30, -80);
      device.Line(x + 30, -80, x + 40, -100);
    }
    device.Line(x, -100, mX + mExtent, -100);
  }
  device.PopPen();
}

int sprcomp(GRSpring const& a, GRSpring const& b) {
  if (b.getTimePosition() > a.getTimePosition()) return -1;
  return GRNotationElement::ComparePos(a.getFirstGRO(), b.getFirstGRO());
}

int sprpcomp(GRSpring const* a, GRSpring const* b) {
  return sprcomp(*a, *b);
}

bool GRSpring::operator<(GRSpring const& other) const {
  return sprcomp(*this, other) < 0;
}
