#include "GRSystem.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "ARAccol.h"
#include "ARBar.h"
#include "ARMusicalEvent.h"
#include "ARSystemFormat.h"
#include "GRAccolade.h"
#include "GRBar.h"
#include "GRMusic.h"
#include "GRNote.h"
#include "GRPage.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRSystemSlice.h"
#include "TagParameterFloat.h"
#include "VGColor.h"
#include "VGDevice.h"
#include "VScoreSymbolMap.h"
#include "graphic_globals.h"
#include "marks_beside_music.h"
#include "src/common/assertion.h"

namespace {
constexpr float kCmPerUnit = 0.0042175176f;
// Offsets in tags are read at the standard line space.
constexpr float kLineSpace = 50;

bool IsSet(TagParameter const* parameter) {
  return parameter && parameter->mState != TagParameter::NOTSET;
}

int AccoladeTypeOf(TagParameterString const* type) {
  if (!IsSet(type)) return 2;
  if (*type == "straightBrace" || *type == "standard") return 1;
  if (*type == "curlyBrace") return 2;
  if (*type == "thinBrace") return 3;
  if (*type == "none") return 0;
  return 2;
}
}  // namespace

GRSystem::GRSystem()
    : GREvent(nullptr, new ARMusicalEvent(Frac_0, Frac_0), true),
      mAccolade(std::make_unique<GRAccolade>(2, 0)) {}

GRSystem::~GRSystem() {
  // The slices' staves hold elements that may still ask for this system when they go.
  mSystemSlices.RemoveAll();
  mStaffs.reset();
  mSprings.reset();
}

ARMusic* GRSystem::getARMusic() const {
  return mPage ? mPage->getARMusic() : nullptr;
}

void GRSystem::setSystemFormat(ARSystemFormat const* format, float leastIndent) {
  bool const formatted = format && IsSet(format->getDX());
  if (!formatted && leastIndent <= 0) return;
  float const unindented = mPosition.x - mXOffset;
  if (formatted) mXOffset = format->getDX()->getValue(kLineSpace);
  mXOffset = std::max(mXOffset, leastIndent);
  setPosition(NVPoint{unindented, mPosition.y});
}

// The system's elements stand relative to it: moving the system leaves them and its box alone.
void GRSystem::setPosition(NVPoint const& point) {
  GRNotationElement::setPosition(NVPoint{point.x + mXOffset, point.y});
}

float GRSystem::getSystemWidthCm() const {
  if (!mPage) return 0;
  return std::max(0.0f, mPage->getInnerWidthCm() - mXOffset * kCmPerUnit);
}

void GRSystem::notifyAccoladeTag(ARAccol const* tag) {
  if (!tag) return;
  if (!mAccolade) mAccolade = std::make_unique<GRAccolade>(2, 0);
  mAccolade->setAccoladeType(AccoladeTypeOf(tag->getTypeParameter()));
  mAccolade->setDx(IsSet(tag->getDX()) ? tag->getDX()->getValue(kLineSpace) : 0);
}

void GRSystem::AddSystemSlice(GRSystemSlice* slice) {
  if (mSystemSlices.empty()) mStartDate = slice->getRelativeTimePosition();
  slice->setGRSystem(this);
  slice->followOnLine(mSystemSlices.GetTail());
  mSystemSlices.AddTail(slice);
}

GRSystemSlice* GRSystem::getPreviousSlice(GRSystemSlice const* slice) const {
  return slice && slice->getGRSystem() == this ? slice->getPreviousOnLine() : nullptr;
}

float GRSystem::lowestNoteOnLine(int staffNumber) const {
  auto const known = mLowestNotes.find(staffNumber);
  if (known != mLowestNotes.end()) return known->second;
  float const lowest = LowestNotesOnLine(*this, staffNumber);
  mLowestNotes.emplace(staffNumber, lowest);
  return lowest;
}

MusicTops const& GRSystem::musicTops(int staffNumber) const {
  std::unique_ptr<MusicTops>& tops = mMusicTops[staffNumber];
  if (!tops) tops = std::make_unique<MusicTops>(*this, staffNumber);
  return *tops;
}

MusicTops const& GRSystem::musicBottoms(int staffNumber) const {
  std::unique_ptr<MusicTops>& bottoms = mMusicBottoms[staffNumber];
  if (!bottoms) bottoms = std::make_unique<MusicTops>(*this, staffNumber, MusicTops::Side::Under);
  return *bottoms;
}

MusicInk const& GRSystem::musicInk(int staffNumber) const {
  std::unique_ptr<MusicInk>& ink = mMusicInks[staffNumber];
  if (!ink) ink = std::make_unique<MusicInk>(*this, staffNumber);
  return *ink;
}

MusicInk const& GRSystem::notesInk(int staffNumber) const {
  std::unique_ptr<MusicInk>& ink = mNotesInks[staffNumber];
  if (!ink) ink = std::make_unique<MusicInk>(*this, staffNumber, MusicInk::Reach::NotesOnly);
  return *ink;
}

LedgerLineRoom const& GRSystem::ledgerLineRoom(int staffNumber) const {
  std::unique_ptr<LedgerLineRoom>& room = mLedgerLineRooms[staffNumber];
  if (!room) room = std::make_unique<LedgerLineRoom>(*this, staffNumber);
  return *room;
}

LineMarks const& GRSystem::lineMarks(int staffNumber) const {
  std::unique_ptr<LineMarks>& marks = mLineMarks[staffNumber];
  if (!marks) marks = std::make_unique<LineMarks>(*this, staffNumber);
  return *marks;
}

void GRSystem::forgetMeasuredMusic() const {
  mLowestNotes.clear();
  mMusicTops.clear();
  mMusicBottoms.clear();
  mMusicInks.clear();
  mNotesInks.clear();
  mLineMarks.clear();
  mLedgerLineRooms.clear();
}

void GRSystem::addStaff(GRStaff* staff, int index) {
  MELVARIN_ASSERT(staff);
  if (!mStaffs) mStaffs = std::make_unique<KF_IVector<GRStaff>>(1);
  mStaffs->Set(index, staff);
}

int GRSystem::getStaffNumber(GRStaff const* staff) const {
  if (mStaffs) {
    if (mStaffs->GetCount() == 0) return -1;
    for (int i = mStaffs->GetMinimum(); i <= mStaffs->GetMaximum(); ++i)
      if (mStaffs->Get(i) == staff) return i;
    return -1;
  }
  // A staff stands in one slice only: its own, when that slice is on this line.
  if (GRSystemSlice const* own = staff ? staff->getGRSystemSlice() : nullptr;
      own && own->getGRSystem() == this) {
    if (int const number = own->getStaffNumber(staff); number >= 0) return number;
  }
  void* pos = mSystemSlices.GetHeadPosition();
  while (pos) {
    int const number = mSystemSlices.GetNext(pos)->getStaffNumber(staff);
    if (number >= 0) return number;
  }
  return -1;
}

GRSpring* GRSystem::getGRSpring(int id) const {
  return mSprings ? mSprings->Get(id) : nullptr;
}

void GRSystem::addToSpring(GRNotationElement* element, int id) {
  if (GRSpring* spring = getGRSpring(id)) spring->addElement(element, nullptr);
}

void GRSystem::addBar(GRBar* bar, int, GRStaff* staff) {
  ARBar* arbar = bar->getARBar();
  MELVARIN_ASSERT(arbar);
  auto* systemBar = new GRBar(arbar, this, staff, bar->getRelativeTimePosition());
  bar->addAssociation(systemBar);
  AddTail(systemBar);
}

void GRSystem::FinishSystem() {
  void* pos = mSystemSlices.GetHeadPosition();
  while (pos) mSystemSlices.GetNext(pos)->FinishSlice();
  PlaceMarksBesideMusic(*this);
}

void GRSystem::dospacing() {
  if (mSprings && mSprings->GetCount() > 0) {
    float x = 0;
    for (int id = mSprings->GetMinimum(); id <= mSprings->GetMaximum(); ++id) {
      GRSpring* spring = mSprings->Get(id);
      if (!spring) continue;
      spring->setGRPositionX(x);
      x += spring->getExtent();
    }
  }
  if (!mStaffs || mStaffs->GetCount() == 0) return;
  for (int i = mStaffs->GetMinimum(); i <= mStaffs->GetMaximum(); ++i)
    if (GRStaff* staff = mStaffs->Get(i)) staff->updateBoundingBox();
}

// A system of slices has its box from its construction; one built staff by staff takes its
// staves in.
void GRSystem::updateBoundingBox() {
  if (!mStaffs || mStaffs->GetCount() == 0) return;
  GREvent::updateBoundingBox();
  for (int i = mStaffs->GetMinimum(); i <= mStaffs->GetMaximum(); ++i) {
    GRStaff const* staff = mStaffs->Get(i);
    if (!staff) continue;
    NVRect box = staff->getBoundingBox();
    box += staff->getPosition();
    mBoundingBox.Merge(box);
  }
  for (int i = mStaffs->GetMinimum(); i <= mStaffs->GetMaximum(); ++i)
    if (GRStaff* staff = mStaffs->Get(i))
      staff->setLength(mBoundingBox.right - staff->getPosition().x);
}

GRStaff const* GRSystem::lastStaff() const {
  GRSystemSlice const* slice = mSystemSlices.GetTail();
  if (!slice) return nullptr;
  int lowest = 0;
  int highest = -1;
  slice->getStaffRange(lowest, highest);
  for (int i = highest; i >= lowest; --i)
    if (GRStaff const* staff = slice->getStaff(i)) return staff;
  return nullptr;
}

void GRSystem::NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const {
  ScoreElementDesc desc = PlacedElementDesc(7, 0);
  desc.refX = desc.refY = 0;
  map.AddElement(device, desc);
}

void GRSystem::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  NotifyNewScoreElement(device, map);
  device.OffsetOrigin(mPosition.x, mPosition.y);
  NVPoint top;
  NVPoint bottom;
  GRStaff const* last = nullptr;
  int lastNumber = -1;
  if (mStaffs) {
    int drawn = 0;
    if (mStaffs->GetCount() > 0)
      for (int i = mStaffs->GetMinimum(); i <= mStaffs->GetMaximum(); ++i) {
        GRStaff const* staff = mStaffs->Get(i);
        if (!staff) continue;
        if (drawn == 0) top = staff->getPosition();
        bottom = staff->getPosition();
        last = staff;
        gCurStaff = staff;
        staff->OnDraw(device, map);
        ++drawn;
      }
    lastNumber = drawn;
  } else if (GRSystemSlice const* first = mSystemSlices.GetHead()) {
    top = first->getPosition();
    int lowest = 0;
    first->getStaffRange(lowest, lastNumber);
    if (lastNumber >= lowest) {
      last = first->getStaff(lastNumber);
      if (last) bottom = last->getPosition();
    }
    void* pos = mSystemSlices.GetHeadPosition();
    while (pos) mSystemSlices.GetNext(pos)->OnDraw(device, map);
  }
  if (last && lastNumber >= 2) {
    bottom.y += static_cast<float>(last->getNumlines() - 1) * last->getLineSpace();
    DrawAccolade(device, top, bottom);
  }
  // One staff has no line to join: a stroke of no length would leave a dot at its corner.
  if (top.x != bottom.x || top.y != bottom.y) {
    device.PushPen(kOpaqueBlack, 4);
    device.Line(top.x, top.y, bottom.x, bottom.y);
    device.PopPen();
  }
  DrawSubElements(device, map);
  device.OffsetOrigin(-mPosition.x, -mPosition.y);
}

void GRSystem::DrawAccolade(VGDevice& device, NVPoint const& top, NVPoint const& bottom) const {
  if (mAccolade) mAccolade->draw(device, top, bottom);
}

void GRSystem::DrawSystemSprings(VGDevice& device, VScoreSymbolMap& map) const {
  device.PushPen(VGColor(0, 0, 200, 50), 5);
  if (mSprings && mSprings->GetCount() > 0)
    for (int id = mSprings->GetMinimum(); id <= mSprings->GetMaximum(); ++id)
      if (GRSpring const* spring = mSprings->Get(id)) spring->OnDraw(device, map);
  device.PopPen();
}

void GRSystem::DrawSystemForce(VGDevice& device) const {
  char text[32];
  int const n = std::snprintf(text, sizeof text, "%.2f", static_cast<double>(mForce));
  device.DrawString(mBoundingBox.right + 20, 0, text, n);
}

void GRSystem::traceSlices(std::ostream& os) const {
  void* pos = mSystemSlices.GetHeadPosition();
  while (pos) {
    GRSystemSlice const* slice = mSystemSlices.GetNext(pos);
    os << "    slice \n";
    int lowest = 0;
    int highest = -1;
    slice->getStaffRange(lowest, highest);
    for (int i = lowest; i <= highest; ++i) {
      GRStaff const* staff = slice->getStaff(i);
      if (staff)
        os << "      - staff " << staff->getBoundingBox() << "\n";
      else
        os << "==> GRStaff is NULL\n";
    }
  }
}
