#include "GRPage.h"

#include <algorithm>
#include <iostream>

#include "ARMusic.h"
#include "ARMusicalEvent.h"
#include "ARPageFormat.h"
#include "GRMusic.h"
#include "GRStaffManager.h"
#include "GRSystem.h"
#include "RazidDrawTypes.h"
#include "ScoreSymbolMap.h"
#include "VGDevice.h"
#include "graphic_globals.h"
#include "src/common/assertion.h"

// Until a draw request says otherwise everything is drawn.
NVRect gClipRect{-1e9f, -1e9f, 1e9f, 1e9f};

namespace {
constexpr float kCmPerUnit = 0.0042175176f;

// A4 with margins of 2 cm, in layout units.
constexpr float kA4Width = 4979.2324f;
constexpr float kA4Height = 7042.0576f;
constexpr float kA4Margin = 474.21262f;

NVRect PlacedBox(GRNotationElement const* element) {
  NVRect box = element->getBoundingBox();
  box += element->getPosition();
  return box;
}
}  // namespace

GRPage::GRPage(GRMusic* music, GRStaffManager* manager, Fraction const& startDate,
               GRPage const* previous)
    : GRPage(kA4Width, kA4Height, kA4Margin, kA4Margin, kA4Margin, kA4Margin) {
  mMusic = music;
  mStaffManager = manager;
  mStartDate = startDate;
  setRelativeTimePosition(startDate);
  if (previous) {
    mWidth = previous->mWidth;
    mHeight = previous->mHeight;
    mLeft = previous->mLeft;
    mTop = previous->mTop;
    mRight = previous->mRight;
    mBottom = previous->mBottom;
  }
}

// The page's place in time is its own: its systems are laid out long after it is made.
GRPage::GRPage(float width, float height, float marginLeft, float marginTop, float marginRight,
               float marginBottom)
    : GREvent(nullptr, new ARMusicalEvent(Frac_0, Frac_0), true),
      mLeft(marginLeft),
      mTop(marginTop),
      mRight(marginRight),
      mBottom(marginBottom),
      mWidth(width),
      mHeight(height),
      mSymbolMap(std::make_unique<ScoreSymbolMap>()) {}

GRPage::~GRPage() {
  // Systems go before the page texts, which may still be asked for their page.
  mSystems.RemoveAll();
}

ARMusic* GRPage::getARMusic() const {
  return mMusic ? mMusic->getARMusic() : nullptr;
}

void GRPage::setPageFormat(ARPageFormat const* format) {
  if (!format) return;
  format->getPageFormat(&mWidth, &mHeight, &mLeft, &mTop, &mRight, &mBottom);
}

void GRPage::getPageFormat(RazidPageFormat* format) const {
  if (!format) return;
  *format = {mWidth, mHeight, mLeft, mTop, mRight, mBottom};
}

float GRPage::getPageWidthCm() const {
  return mWidth * kCmPerUnit;
}

float GRPage::getPageHeightCm() const {
  return mHeight * kCmPerUnit;
}

float GRPage::getInnerWidthCm() const {
  return getInnerWidth() * kCmPerUnit;
}

float GRPage::getInnerHeightCm() const {
  return getInnerHeight() * kCmPerUnit;
}

void GRPage::getMarginsCm(float* left, float* top, float* right, float* bottom) const {
  *left = mLeft * kCmPerUnit;
  *top = mTop * kCmPerUnit;
  *right = mRight * kCmPerUnit;
  *bottom = mBottom * kCmPerUnit;
}

bool GRPage::addSystem(GRSystem* system, float* distance) {
  MELVARIN_ASSERT(system->getGRPage() == this);
  NVRect const& box = system->getBoundingBox();
  if (mSystems.empty()) {
    system->setPosition(NVPoint{0, -box.top});
    mUsedHeight = box.bottom - box.top;
    mStackedY = -box.top;
    mStartDate = system->getStartDate();
    setRelativeTimePosition(mStartDate);
  } else {
    GRSystem const* previous = mSystems.GetTail();
    float y;
    if (distance && *distance > 0) {
      // The distance a new-system tag asked for holds for the next system only.
      y = previous->getPosition().y + *distance;
      mStackedY += *distance;
      *distance = -1;
    } else {
      y = previous->getPosition().y + previous->getBoundingBox().bottom - box.top +
          GRStaffManager::sDefaultSystemDistance;
      mStackedY = mStackedHeight - box.top + GRStaffManager::sDefaultSystemDistance;
    }
    system->setPosition(NVPoint{0, y});
    mUsedHeight += box.bottom - box.top;
  }
  mStackedHeight = mStackedY + box.bottom;
  mSystems.AddTail(system);
  updateBoundingBox();
  return true;
}

bool GRPage::hasRoomFor(GRSystem const& system, float leastGap) const {
  int const count = mSystems.GetCount();
  if (count == 0) return true;
  NVRect const& box = system.getBoundingBox();
  return mUsedHeight + box.bottom - box.top + static_cast<float>(count) * leastGap <=
         getInnerHeight();
}

void GRPage::finishPage(bool lastPage) {
  int const mode = GRStaffManager::sSystemDistribution;
  if (mode != 3) {
    float const inner = mHeight - mTop - mBottom;
    float gap = inner - mUsedHeight;
    int const count = mSystems.GetCount();
    if (count >= 2) gap /= static_cast<float>(count - 1);
    // A nearly empty last page keeps its systems together.
    bool const sparseLast =
        mode != 2 && !GRStaffManager::sOptPageFill && lastPage && gap > 0.1f * inner;
    if (gap > 0 && !sparseLast) {
      if (mode == 1 && gap > GRStaffManager::sSystemDistribLimit * inner) gap = 0.075f * inner;
      spreadSystems(gap);
      mFinishedSystem = nullptr;
    }
  }
  // The page is finished again after every explicit line break on it: the systems that were
  // finished then and have not moved since keep what they have.
  void* pos = mFinishedSystem;
  if (pos)
    mSystems.GetNext(pos);
  else
    pos = mSystems.GetHeadPosition();
  while (pos) {
    mFinishedSystem = pos;
    mSystems.GetNext(pos)->FinishSystem();
  }
}

void GRPage::spreadSystems(float gap) {
  void* pos = mSystems.GetHeadPosition();
  if (!pos) return;
  GRSystem const* first = mSystems.GetNext(pos);
  float y = first->getPosition().y + first->getBoundingBox().bottom + gap;
  while (pos) {
    GRSystem* system = mSystems.GetNext(pos);
    NVRect const& box = system->getBoundingBox();
    system->setPosition(NVPoint{0, y - box.top});
    y += box.bottom - box.top + gap;
  }
}

void GRPage::updateBoundingBox() {
  NVRect box;
  void* pos = mSystems.GetHeadPosition();
  while (pos) box.Merge(PlacedBox(mSystems.GetNext(pos)));
  pos = First();
  while (pos) box.Merge(PlacedBox(GetNext(pos)));
  box.left -= mLeft;
  box.top -= mTop;
  box.right += mRight;
  box.bottom += mBottom;
  mBoundingBox = box;
}

void GRPage::adjustPageSize() {
  updateBoundingBox();
  mWidth = mBoundingBox.right - mBoundingBox.left;
  mHeight = mBoundingBox.bottom - mBoundingBox.top;
}

void GRPage::setScaling(VGDevice& device, float width, float height) const {
  if (mWidth <= 0 || mHeight <= 0) return;
  float const s = std::min(width / mWidth, height / mHeight);
  device.SetScale(s, s);
}

bool GRPage::DPtoLPRect(VGDevice const& device, float left, float top, float right, float bottom,
                        NVRect* out) const {
  device.DeviceToLogical(&left, &top);
  device.DeviceToLogical(&right, &bottom);
  out->Set(left, top, right, bottom);
  return true;
}

void GRPage::OnDraw(VGDevice& device, RazidOnDrawDesc const& desc) const {
  if (mWidth > 0 && mHeight > 0) {
    float const s =
        std::min(static_cast<float>(desc.sizey) / mHeight, static_cast<float>(desc.sizex) / mWidth);
    device.SetScale(s, s);
  }
  device.SetOrigin(static_cast<float>(-desc.scrollx), static_cast<float>(-desc.scrolly));
  RazidUpdateRegion const& region = desc.updateRegion;
  if (region.erase)
    gClipRect.Set(0, 0, mWidth, mHeight);
  else
    gClipRect.Set(static_cast<float>(region.left), static_cast<float>(region.top),
                  static_cast<float>(region.right), static_cast<float>(region.bottom));
  OnDraw(device);
}

void GRPage::OnDraw(VGDevice& device) const {
  mSymbolMap->Reset();
  OnDraw(device, *mSymbolMap);
  mSymbolMap->Finish();
}

void GRPage::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  NotifyNewScoreElement(device, map);
  DrawSubElements(device, map);
  // Systems stand in the inner area.
  NVRect clip = gClipRect;
  clip += NVPoint{-mLeft, -mTop};
  device.OffsetOrigin(mLeft, mTop);
  void* pos = mSystems.GetHeadPosition();
  while (pos) {
    GRSystem const* system = mSystems.GetNext(pos);
    if (!PlacedBox(system).Collides(clip)) continue;
    gCurSystem = system;
    system->OnDraw(device, map);
  }
  device.OffsetOrigin(-mLeft, -mTop);
}

void GRPage::NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const {
  ScoreElementDesc desc;
  desc.kind = 8;
  desc.subtype = 0;
  desc.date = static_cast<float>(getRelativeTimePosition().getValue());
  desc.duration = static_cast<float>(getDuration().getValue());
  desc.left = 0;
  desc.top = 0;
  desc.right = mWidth;
  desc.bottom = mHeight;
  map.AddElement(device, desc);
}

void GRPage::trace(VGDevice&) const {
  std::cout << "Page trace - page " << mBoundingBox << "\n";
  std::cout << "    => page num systems : " << mSystems.GetCount() << "\n";
  void* pos = mSystems.GetHeadPosition();
  while (pos) {
    std::cout << "    system \n";
    mSystems.GetNext(pos)->traceSlices(std::cout);
  }
}
