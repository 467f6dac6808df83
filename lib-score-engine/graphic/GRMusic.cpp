#include "GRMusic.h"

#include <algorithm>
#include <iostream>

#include "ARMusic.h"
#include "ARMusicalVoice.h"
#include "GRLayoutWork.h"
#include "GRPage.h"
#include "GRSpaceForceFunction2.h"
#include "GRStaffManager.h"
#include "GRVoice.h"
#include "RazidDrawTypes.h"
#include "engine_globals.h"
#include "engine_work.h"
#include "src/common/assertion.h"

GRMusic* gCurMusic = nullptr;

namespace {
ARMusic* CheckedMusic(ARMusic* music) {
  MELVARIN_ASSERT(music);
  return music;
}

// The index from 0 of the first element that matches, -1 when none does.
template <class T, class Match>
int IndexOf(KF_IPointerList<T> const& list, Match matches) {
  int index = 0;
  for (void* pos = list.GetHeadPosition(); pos; ++index)
    if (matches(list.GetNext(pos))) return index;
  return -1;
}
}  // namespace

GRMusic::GRMusic(ARMusic* music, ARPageFormat* format, bool ownsAR)
    : GREvent(nullptr, CheckedMusic(music), ownsAR) {
  gCurMusic = this;
  createGR(format);
}

void GRMusic::createGR(ARPageFormat* format) {
  ScoreArena::Use use(mArena, ScoreArena::kGraphic);
  // A bar wider than the page was squeezed into its line, its events drawn over one another:
  // such music is laid out again, free to break between the beats of its bars; where a voice
  // holding a note across the beats still keeps a line squeezed, once more, free to part the
  // note there, and where half a bar is still too wide, as long as the music offers more
  // breaks so.
  if (!layOut(format) || mSqueezedLines.empty() ||
      !getARMusic()->offerBreaksBetweenBeats(mSqueezedLines) || !layOut(format))
    return;
  while (!mSqueezedLines.empty() && getARMusic()->offerBreaksAcrossHeldNotes(mSqueezedLines))
    if (!layOut(format)) return;
}

bool GRMusic::layOut(ARPageFormat* format) {
  ARMusic* music = getARMusic();
  mSqueezedLines.clear();
  music->resetGRRepresentation();
  RemoveLayout();
  gCurMusic = this;
  // The pictures are looked for again, and their files weighed before any is read; a picture
  // beyond what the music leaves of the limit is left out, not the music.
  mPictures = ScorePictures(getName().c_str());
  mRefused = EstimatedLayoutWork(*music, mPictures, sMaxLayoutWork) > sMaxLayoutWork;
  if (mRefused) {
    ZudidOvod("Music too large for one layout - ignored");
    return false;
  }
  void* pos = music->GetHeadPosition();
  while (pos) {
    ARMusicalVoice* voice = music->GetNext(pos);
    mVoices.AddTail(new GRVoice(voice, false));
    mVoiceAt.push_back(mVoices.GetTail());
    mVoiceNumbers.emplace(voice, static_cast<int>(mVoiceAt.size()) - 1);
  }
  bool ranOutOfWork = false;
  {
    GRStaffManager manager(this, format);
    double const steps = std::min(sListStepsPerWorkUnit * sMaxLayoutWork, 1e18);
    manager.createStaves(EngineWork::ListSteps() + static_cast<std::uint64_t>(steps));
    ranOutOfWork = manager.ranOutOfWork();
  }
  if (!ranOutOfWork) return true;
  music->resetGRRepresentation();
  RemoveLayout();
  mRefused = true;
  ZudidOvod("Music too large for one layout - ignored");
  return false;
}

GRMusic::~GRMusic() {
  if (gCurMusic == this) gCurMusic = nullptr;
  RemoveLayout();
}

void GRMusic::RemoveLayout() {
  GRNotationElement::WholeLayoutGoes whole;
  mPages.RemoveAll();
  mPageAt.clear();
  mVoices.RemoveAll();
  mVoiceAt.clear();
  mVoiceNumbers.clear();
}

ARMusic* GRMusic::getARMusic() const {
  return static_cast<ARMusic*>(
      static_cast<ARMusicalEvent*>(const_cast<GRMusic*>(this)->getAbstractRepresentation()));
}

NVstring const& GRMusic::getName() const {
  return mName.length() != 0 ? mName : getARMusic()->getName();
}

void GRMusic::OnDraw(VGDevice& device, RazidOnDrawDesc const& desc) {
  if (GRPage const* page = getPage(desc.page)) page->OnDraw(device, desc);
}

void GRMusic::updateBoundingBox() {
  if (mPages.empty()) return;
  mBoundingBox.Set(0, 0, 1, 1);
  void* pos = mPages.GetHeadPosition();
  while (pos) addToBoundingBox(mPages.GetNext(pos));
}

GRPage* GRMusic::getPage(int n) const {
  return n >= 1 && n <= static_cast<int>(mPageAt.size()) ? mPageAt[n - 1] : nullptr;
}

int GRMusic::getPageIndex(GRPage const* page) const {
  return IndexOf(mPages, [page](GRPage const* each) { return each == page; }) + 1;
}

void GRMusic::addPage(GRPage* page) {
  MELVARIN_ASSERT(page);
  mPages.AddTail(page);
  mPageAt.push_back(page);
}

float GRMusic::getPageWidth(int n) const {
  GRPage const* page = getPage(n);
  return page ? page->getPageWidth() : 0;
}

float GRMusic::getPageHeight(int n) const {
  GRPage const* page = getPage(n);
  return page ? page->getPageHeight() : 0;
}

void GRMusic::adjustPageSize() {
  void* pos = mPages.GetHeadPosition();
  while (pos) mPages.GetNext(pos)->adjustPageSize();
}

bool GRMusic::getRTPofPage(int n, int* numerator, int* denominator) const {
  GRPage const* page = getPage(n);
  if (!page) return false;
  Fraction const& tp = page->getRelativeTimePosition();
  *numerator = tp.getNumerator();
  *denominator = tp.getDenominator();
  return true;
}

int GRMusic::getPageNum(int numerator, int denominator) {
  GRVoice const* voice = getVoice(0);
  GRPage const* page = voice ? voice->getPageNum(numerator, denominator) : nullptr;
  return page ? getPageIndex(page) : -10;
}

int GRMusic::getPageNumForTimePos(int numerator, int denominator) const {
  if (denominator == 0) return 0;
  double const t = static_cast<double>(numerator) / denominator;
  if (t > getARMusic()->getDuration().getValue()) return 0;
  int const count = mPages.GetCount();
  if (count < 2) return count;
  for (int i = 1; i < count; ++i) {
    GRPage const* next = getPage(i + 1);
    if (!next) return 0;
    if (next->getStartDate().getValue() > t) return i;
  }
  return count;
}

GRVoice* GRMusic::getVoice(int index) const {
  return index >= 0 && index < static_cast<int>(mVoiceAt.size()) ? mVoiceAt[index] : nullptr;
}

int GRMusic::getVoiceNum(ARMusicalVoice const* voice) const {
  auto const found = mVoiceNumbers.find(voice);
  return found == mVoiceNumbers.end() ? -1 : found->second;
}

GRVoice* GRMusic::getVoice(ARMusicalVoice const* voice) const {
  return getVoice(getVoiceNum(voice));
}

void GRMusic::addVoiceElement(GRVoice* voice, GRNotationElement* element) {
  if (!element) {
    RidevUzuze("WARNING, trying to add a NULL element to voice!");
    return;
  }
  if (voice) voice->AddTail(element);
}

void GRMusic::addVoiceElement(int index, GRNotationElement* element) {
  addVoiceElement(getVoice(index), element);
}

void GRMusic::addVoiceElement(ARMusicalVoice const* voice, GRNotationElement* element) {
  addVoiceElement(getVoice(voice), element);
}

void GRMusic::removeVoiceElement(ARMusicalVoice const* voice, GRNotationElement* element) {
  if (GRVoice* grVoice = getVoice(voice)) grVoice->RemoveElement(element);
}

void GRMusic::setPossibleVoiceNLinePosition(ARMusicalVoice const* voice, Fraction const& tp) {
  if (GRVoice* grVoice = getVoice(voice)) grVoice->setPossibleNLinePosition(tp);
}

void GRMusic::rememberVoiceNLinePosition(ARMusicalVoice const* voice, Fraction const& tp) {
  if (GRVoice* grVoice = getVoice(voice)) grVoice->rememberNLinePosition(tp);
}

void GRMusic::startNewSystem(GRSystem* system) {
  void* pos = mVoices.GetHeadPosition();
  while (pos) mVoices.GetNext(pos)->startNewSystem(system);
}

void GRMusic::setOptForce(float force) {
  GRSpaceForceFunction2::setOptForce(force);
}

float GRMusic::getOptForce() {
  return GRSpaceForceFunction2::getOptForce();
}

void GRMusic::trace(VGDevice& device) const {
  std::cout << "==> GRMusic content\n";
  std::cout << "    num pages  : " << mPages.GetCount() << "\n";
  std::cout << "    num voices : " << mVoices.GetCount() << "\n";
  voicetrace(device);
}

void GRMusic::voicetrace(VGDevice&) const {
  GRVoice const* voice = getVoice(0);
  if (!voice) {
    std::cout << "==> voice is NULL\n";
    return;
  }
  std::cout << "Voice trace - voice " << voice->getBoundingBox() + voice->getPosition() << "\n";
}
