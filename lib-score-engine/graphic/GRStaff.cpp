#include "GRStaff.h"
#include "ARCast.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "ARBar.h"
#include "ARClef.h"
#include "ARInstrument.h"
#include "ARKey.h"
#include "ARMeter.h"
#include "ARNaturalKey.h"
#include "AROctava.h"
#include "ARStaffFormat.h"
#include "GRBar.h"
#include "GRClef.h"
#include "GRDummy.h"
#include "GREvent.h"
#include "GRGlobalStem.h"
#include "GRInstrument.h"
#include "GRIntens.h"
#include "GRKey.h"
#include "GRMeter.h"
#include "GRNote.h"
#include "GRPositionTag.h"
#include "GRRod.h"
#include "GRRoomBeside.h"
#include "GRSText.h"
#include "GRSingleNote.h"
#include "GRSpring.h"
#include "GRStaffManager.h"
#include "NEPointerList.h"
#include "TagParameterString.h"
#include "note_names.h"
#include "text_stack.h"

#include "GRGlue.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRVolta.h"
#include "ScoreElementDesc.h"
#include "VGDevice.h"
#include "VScoreSymbolMap.h"
#include "src/common/assertion.h"

namespace {
bool IsNatural(int pitch) {
  return pitch >= 2 && pitch <= 8;
}
bool IsChromatic(int pitch) {
  return pitch >= 9 && pitch <= 13;
}

// A voice carries its own last clef or key to a new line; another voice on the staff may have
// changed the staff's since, and the line opens with the one in force. Returns a copy of that one
// standing where the carried tag stood, or null where the carried tag is still in force.
template <typename Tag>
Tag* CarriedCopyInForce(Tag const* tag, Tag const* inForce) {
  if (!tag->isCarried() || !inForce || *inForce == *tag) return nullptr;
  auto* copy = new Tag(*inForce);
  copy->setRelativeTimePosition(tag->getRelativeTimePosition());
  copy->setIsAuto(tag->getIsAuto());
  copy->setCarried(true);
  return copy;
}
}  // namespace

GRStaff::GRStaff(GRSystemSlice* slice) : mGrSystemSlice(slice) {
  mStaffState.clefname = "";
  mStaffState.basepit = mStaffState.transposeOffset + 6;
  mStaffState.baseoct = 1;
  mStaffState.octava = 0;
  mStaffState.baseline = 3;
  if (slice) mRelativeTimePositionOfGR = slice->getRelativeTimePosition();
}

GRStaff::~GRStaff() {
  // A spanner goes when no other staff holds a piece of it; one that ends here while only a
  // dummy stands for it in the list goes with the dummy. Whether it goes is asked while the
  // elements that end its pieces are still there.
  std::vector<GRPositionTag*> spanners;
  std::vector<GRNotationElement*> own;
  bool const alone = !IsWholeLayoutGoing();
  if (alone) own.reserve(mCompElements.GetCount());
  for (void* pos = mCompElements.GetHeadPosition(); pos;) {
    void* at = pos;
    GRNotationElement* element = mCompElements.GetNext(pos);
    if (auto* spanner = ar_cast<GRPositionTag>(element)) {
      spanners.push_back(spanner);
      mCompElements.KF_List<GRNotationElement*>::RemoveElementAt(at);
      continue;
    }
    if (alone) own.push_back(element);
    if (auto* dummy = ar_cast<GRDummy>(element))
      if (GRPositionTag* tag = dummy->getTag()) spanners.push_back(tag);
  }
  std::sort(spanners.begin(), spanners.end());
  spanners.erase(std::unique(spanners.begin(), spanners.end()), spanners.end());
  std::vector<GRPositionTag*> ending;
  for (GRPositionTag* spanner : spanners)
    if (spanner->DeleteStaff(this)) ending.push_back(spanner);
  if (alone) ForgetOwnAssociations(own, spanners);
  mCompElements.RemoveAll();
  for (GRPositionTag* spanner : ending) delete spanner;
}

void GRStaff::ForgetOwnAssociations(std::vector<GRNotationElement*>& own,
                                    std::vector<GRPositionTag*> const& spanners) {
  // Elements of the staff that know each other (a bar and the rest filling it, two second
  // glues, a spanner and its events) forget each other first, so that none is told about one
  // already gone.
  std::sort(own.begin(), own.end());
  own.erase(std::unique(own.begin(), own.end()), own.end());
  auto const isOwn = [&own](GRNotationElement* element) {
    return std::binary_search(own.begin(), own.end(), element);
  };
  auto const forgetOwn = [&isOwn](GRNotationElement* element) {
    NEPointerList* links = element->getAssociations();
    if (!links) return;
    for (void* pos = links->GetHeadPosition(); pos;) {
      void* at = pos;
      if (isOwn(links->GetNext(pos))) links->KF_List<GRNotationElement*>::RemoveElementAt(at);
    }
  };
  for (GRNotationElement* element : own) forgetOwn(element);
  for (GRPositionTag* spanner : spanners)
    if (auto* element = ar_cast<GRNotationElement>(spanner)) forgetOwn(element);
}

int GRStaff::getFontSize() const {
  return static_cast<int>(4 * getLineSpace());
}

float GRStaff::getDredgeSize() const {
  return (getNumlines() - 1) * getLineSpace();
}

float GRStaff::getNotePosition(int pitch, int octave) const {
  GRStaffState const& s = mStaffState;
  int step = 0;
  if (IsNatural(pitch))
    step = s.basepit - pitch;
  else if (pitch == 9 || pitch == 10)
    step = s.basepit + 7 - pitch;
  else if (pitch >= 11 && pitch <= 13)
    step = s.basepit + 6 - pitch;
  else
    return 0;
  float const half = s.lineSpace / 2;
  return step * half + s.lineSpace * s.baseline - 7 * half * (octave - s.octava - s.baseoct);
}

int GRStaff::getNumHelplines(int pitch, int octave) const {
  // A staff format can shrink the line space to nothing or below; such a staff has no ledger
  // lines.
  if (getLineSpace() <= 0) return 0;
  float v = getNotePosition(pitch, octave) / getLineSpace();
  v += v < 0 ? -0.25f : 0.25f;
  int const n = static_cast<int>(v);
  if (n < 0) return -n;
  if (n >= getNumlines()) return getNumlines() - n - 1;
  return 0;
}

int GRStaff::getDefaultThroatDirection(int pitch, int octave) const {
  return (getNumlines() / 2) * getLineSpace() >= getNotePosition(pitch, octave) ? -1 : 1;
}

VGColor GRStaff::getNoteColor(int pitch) const {
  if (IsNatural(pitch)) return VGColor(0, 0, 0);
  if (IsChromatic(pitch)) return VGColor(0, 0, 255);
  return VGColor(255, 0, 0);
}

float GRStaff::positionAtFirstOctave(int pitch, int fromOctave, int step, float limit) const {
  // Each octave moves a note by 3.5 line spaces, so a place within the staff is reached in a
  // few steps; the bound guards a staff whose format made its line space negative, where the
  // search would move away from the staff for ever.
  float pos = getNotePosition(pitch, fromOctave);
  for (int octave = fromOctave, steps = 0; steps < 32; octave += step, ++steps) {
    pos = getNotePosition(pitch, octave);
    if (step > 0 ? pos <= limit : pos >= limit) break;
  }
  return pos;
}

float GRStaff::getKeyPosition(int pitch, int direction) const {
  GRStaffState const& s = mStaffState;
  if (!IsNatural(pitch)) return 0;
  int const lines = getNumlines();
  float const space = getLineSpace();
  int const clefPitch = s.basepit - s.transposeOffset;
  bool const trebleOrBass =
      (clefPitch == 6 && s.baseline == 3) || (clefPitch == 5 && s.baseline == 1);
  float limit;
  if (trebleOrBass) {
    limit = direction < 0 ? positionAtFirstOctave(5, s.baseoct - 1, 1, lines * space)
                          : positionAtFirstOctave(6, s.baseoct + 1, -1, -space);
  } else if (direction < 0) {
    int const down = (2 * (lines - 1 - s.baseline)) % 7;
    int const bottomPitch = (((s.basepit - 2 - down) % 7) + 7) % 7 + 2;
    limit = positionAtFirstOctave(bottomPitch, s.baseoct - 1, 1, (lines - 1) * space);
  } else {
    int const topPitch = (((s.basepit - 2 + 2 * s.baseline) % 7) + 7) % 7 + 2;
    limit = positionAtFirstOctave(topPitch, s.baseoct + 1, -1, 0);
  }
  return direction < 0 ? positionAtFirstOctave(pitch, s.baseoct - 1, 1, limit)
                       : positionAtFirstOctave(pitch, s.baseoct + 1, -1, limit);
}

GRStaff::AccidentalSigns GRStaff::askAccidentals(int pitch, int octave, int accidentals) const {
  return AccidentalsIn(mStaffState, pitch, octave, accidentals);
}

GRStaff::AccidentalSigns GRStaff::AccidentalsIn(GRStaffState const& s, int pitch, int octave,
                                                int accidentals) {
  AccidentalSigns signs;
  int letter, raised;
  if (!GRStaffState::letterOf(pitch, &letter, &raised)) return signs;
  if (raised && accidentals != 0) {
    // A raised name with signs after it (cis&, cis&&, dis#) is its letter with the sum of both:
    // it shows the sign of that sum as any note of the letter does. A sharp in front of a sign
    // that takes it back would read as the raised note it is not.
    return AccidentalsIn(s, letter, octave, accidentals + raised);
  }
  // A raised name always shows its sharp.
  if (raised) signs.codes[signs.count++] = 1;
  int const instrument = s.instrKeyArray[pitch - 2];
  int const wanted = accidentals + raised - s.instrKeyArray[letter - 2];
  // Signs hold where the notes are drawn: an octava's notes stand an octave off their sound.
  int const drawn = octave - s.octava;
  // The first note of its octave repeats its sign when the letter stood otherwise in another
  // octave earlier in the measure.
  bool const courtesy = !s.isWritten(letter, drawn) && s.otherOctaveDiffers(letter, drawn, wanted);
  if (s.measureAccidentals(letter, drawn) == wanted && !courtesy) return signs;
  if (raised && accidentals == instrument) return signs;
  signs.codes[signs.count++] = instrument == accidentals ? -10 : accidentals - instrument;
  return signs;
}

void GRStaff::setClefParameters(char const* name, int clefBasePitch, int baseOctave, int baseLine,
                                int clefState) {
  GRStaffState& s = mStaffState;
  s.clefset = clefState;
  s.clefname = name;
  s.basepit = s.transposeOffset + clefBasePitch;
  s.baseoct = baseOctave;
  // The octava stays: its notes are written an octave off under any clef until it ends.
  s.baseline = baseLine;
}

void GRStaff::setKeyParameters(int numKeys, int const (&keyArray)[GRStaffState::kPitches]) {
  GRStaffState& s = mStaffState;
  s.keyset = true;
  s.numkeys = numKeys;
  std::copy_n(keyArray, GRStaffState::kPitches, s.KeyArray);
  s.startMeasure();
}

GRSystem* GRStaff::getGRSystem() const {
  if (mGrSystem) return mGrSystem;
  return mGrSystemSlice ? mGrSystemSlice->getGRSystem() : nullptr;
}

int GRStaff::getStaffNumber() const {
  GRSystem* system = getGRSystem();
  return system ? system->getStaffNumber(this) : -1;
}

GRStaff* GRStaff::getPreviousStaff() const {
  GRSystem* system = getGRSystem();
  if (!system || !mGrSystemSlice) return nullptr;
  GRSystemSlice* previous = system->getPreviousSlice(mGrSystemSlice);
  return previous ? previous->getStaff(mGrSystemSlice->getStaffNumber(this)) : nullptr;
}

void GRStaff::AddSecondGlue(GRGlue* glue) {
  if (!mSecondGlue) {
    mSecondGlue = glue;
  } else if (!mSecondGlue->getPartner()) {
    glue->addAssociation(mSecondGlue);
    mSecondGlue->setPartner(glue);
  }
  AddTail(glue);
}

void GRStaff::EndStaff(Fraction const& tp) {
  MELVARIN_ASSERT(!mEndGlue);
  setRelativeEndTimePosition(tp);
  mEndGlue = new GRGlue(this, GRGlue::END_GLUE);
  mEndGlue->setRelativeTimePosition(tp);
  AddTail(mEndGlue);
}

void GRStaff::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  NotifyNewScoreElement(device, map);
  drawLines(device);
  device.OffsetOrigin(0, mPosition.y);
  mCompElements.OnDraw(device, map);
  device.OffsetOrigin(0, -mPosition.y);
  LineNeighbours const around = lineNeighbours();
  ScoreElementDesc lines;
  lines.kind = 2;
  lines.subtype = 5;
  lines.left = linesLeft(around);
  lines.top = mPosition.y;
  lines.right = linesRight(around);
  lines.bottom = mPosition.y + getDredgeSize();
  lines.refX = mPosition.x;
  lines.refY = mPosition.y;
  map.AddElement(device, lines);
}

void GRStaff::NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const {
  map.SetDent(device, getLineSpace());
  ScoreElementDesc staff;
  staff.kind = 5;
  staff.date = static_cast<float>(mRelativeTimePositionOfGR.getValue());
  staff.duration = static_cast<float>(mDurationOfGR.getValue());
  staff.left = mPosition.x + mBoundingBox.left;
  staff.top = mPosition.y + mBoundingBox.top;
  staff.right = mPosition.x + mLength;
  staff.bottom = mPosition.y + mBoundingBox.bottom;
  staff.refX = mPosition.x;
  staff.refY = mPosition.y;
  map.AddElement(device, staff);
}

void GRStaff::setStaffFormat(ARStaffFormat* format) {
  mStaffState.curstaffrmt = format;
  if (!format) return;
  if (format->getStaffSize()) mStaffState.lineSpace = GRStaffState::lineSpaceOf(format);
  if (TagParameterString const* style = format->getStyle()) {
    char const* text = style->getValue();
    if (text && std::strlen(text) >= 6 && std::strncmp(text + 1, "-line", 5) == 0 &&
        text[0] >= '0' && text[0] <= '7' && mStaffState.numlines != text[0] - '0') {
      mStaffState.numlines = text[0] - '0';
      // The clef in force marks its line counted from the bottom, as one made on this staff
      // would: the notes after the change stand where they will stand on the next line.
      int const clefLine = mStaffState.curclef ? mStaffState.curclef->getLine() : 2;
      mStaffState.baseline = std::max(0, mStaffState.numlines - clefLine);
    }
  }
}

void GRStaff::takeFormatOf(GRStaffState const& state) {
  mStaffState.curstaffrmt = state.curstaffrmt;
  mStaffState.lineSpace = state.lineSpace;
  mStaffState.numlines = state.numlines;
}

GRNotationElement* GRStaff::addNotationElement(GRNotationElement* notationElement) {
  MELVARIN_ASSERT(notationElement);
  if (!ar_cast<GRPositionTag>(notationElement)) {
    Fraction const& tp1 = notationElement->getRelativeTimePosition();
    MELVARIN_ASSERT(tp1 >= getRelativeTimePosition());
    // A spanner takes its time from its tag, which may lie after the event it opens with (a
    // chord's shared stem): only the elements in time order bound the next one.
    for (void* pos = mCompElements.GetTailPosition(); pos;) {
      GRNotationElement const* last = mCompElements.GetPrev(pos);
      if (ar_cast<GRPositionTag const>(last)) continue;
      if (tp1 < last->getRelativeTimePosition()) MELVARIN_ASSERT(false);
      break;
    }
  }
  AddTail(notationElement);
  if (!ar_cast<GRPositionTag>(notationElement))
    writeHeldSignsBefore(notationElement->getRelativeTimePosition());
  writeAccidentalsOf(notationElement, true);
  return notationElement;
}

void GRStaff::writeAccidentalsOf(GRNotationElement const* element, bool holdTied) {
  // A note's sign holds for the rest of the measure in its octave as drawn, under an octava as
  // elsewhere: the notes after it on the same line or space are drawn against it, not against
  // the key alone.
  if (auto const* note = ar_cast<GRNote const>(element)) {
    int pitch, octave, accidentals;
    note->getPitchAndOctave(&pitch, &octave, &accidentals);
    auto const* single = ar_cast<GRSingleNote const>(element);
    if (holdTied && single && single->isTiedOver()) {
      mStaffState.holdAccidentals(element->getRelativeTimePosition(), pitch,
                                  octave - mStaffState.octava, accidentals);
      return;
    }
    mStaffState.writeAccidentals(element->getRelativeTimePosition(), pitch,
                                 octave - mStaffState.octava, accidentals);
  }
}

void GRStaff::writeHeldSignsBefore(Fraction const& time) {
  mStaffState.writeHeldAccidentalsBefore(time);
}

void GRStaff::holdNoteOf(GRVoice const* voice) {
  if (!mFirstVoice) {
    mFirstVoice = voice;
  } else if (voice != mFirstVoice) {
    mSharedByVoices = true;
  }
}

void GRStaff::startMeasure() {
  mStaffState.startMeasure();
}

void GRStaff::createNewRods(GRStaffManager* manager, int& startspr, int& endspr) {
  struct Group {
    int spring;
    float left;
    float right;
  };
  bool haveGroup = false;
  Group before{startspr, 0, 0};
  Group current{};
  auto close = [&](bool requireDifferent) {
    const float length = before.right + current.left;
    if ((!requireDifferent || before.spring != current.spring) && length > 0) {
      mLastRod = new GRRod(length, before.spring, current.spring);
      manager->addRod(mLastRod, false, true, -1);
    }
    before = current;
  };
  for (void* pos = mCompElements.GetHeadPosition(); pos;) {
    GRNotationElement* el = mCompElements.GetNext(pos);
    if (!el->getNeedsSpring()) continue;
    const int id = el->getSpringID();
    if (id >= endspr) break;
    if (haveGroup && id == current.spring) {
      current.left = std::max(current.left, el->getLeftSpace());
      current.right = std::max(current.right, el->getRightSpace());
      continue;
    }
    if (haveGroup) close(true);
    current = Group{id, el->getLeftSpace(), el->getRightSpace()};
    haveGroup = true;
  }
  if (!haveGroup) return;
  close(false);
  if (current.right > 0) {
    mLastRod = new GRRod(current.right, current.spring, current.spring + 1);
    manager->addRod(mLastRod, false, true, -1);
  }
}

void GRStaff::updateBoundingBox() {
  mBoundingBox = NVRect{0, 0, mLength, getDredgeSize()};
  for (void* pos = mCompElements.GetHeadPosition(); pos;) {
    GRNotationElement const* el = mCompElements.GetNext(pos);
    NVRect box = el->getBoundingBox();
    box += el->getPosition();
    mBoundingBox.Merge(box);
  }
  for (GRRoomBeside const* mark : mMarksBeside) mBoundingBox.Merge(mark->roomBeside(this));
  // The texts under the staff stand as they will be drawn, one under the other: the staff below
  // and the next system keep clear of them.
  if (mHoldsTexts)
    mBoundingBox.bottom = std::max(mBoundingBox.bottom, TextStack::bottomUnder(*this));
}

void GRStaff::AddTail(GRNotationElement* element) {
  GRCompositeNotationElement::AddTail(element);
  noteText(element);
}

void GRStaff::noteText(GRNotationElement const* element) {
  // Events, most of what a staff holds, are neither texts nor their placeholders.
  if (!mHoldsTexts && !element->isGREventClass() && TextStack::textOf(element)) mHoldsTexts = true;
}

void GRStaff::keepRoomFor(GRRoomBeside const* mark) {
  if (std::find(mMarksBeside.begin(), mMarksBeside.end(), mark) == mMarksBeside.end())
    mMarksBeside.push_back(mark);
}

bool GRStaff::holdsMarksUnderBetween(Fraction const& from, Fraction const& to) const {
  for (GRIntens const* mark : mDynamicMarks) {
    Fraction const& date = mark->getRelativeTimePosition();
    if (from <= date && date <= to && mark->letters().right > mark->letters().left) return true;
  }
  return std::ranges::any_of(
      mMarksBeside, [&](GRRoomBeside const* mark) { return mark->standsUnderBetween(from, to); });
}

float GRStaff::bracketsReachUnderBetween(Fraction const& from, Fraction const& to) const {
  float reach = -std::numeric_limits<float>::infinity();
  for (GRRoomBeside const* mark : mMarksBeside)
    reach = std::max(reach, mark->reachUnderBetween(from, to, this));
  return reach;
}

void GRStaff::FinishStaff() {
  // The box taken while the slice was stacked holds the elements where they stood before the
  // springs placed them.
  mBoundingBox = NVRect{0, 0, mLength, getDredgeSize()};
  for (void* pos = mCompElements.GetHeadPosition(); pos;) {
    GRNotationElement const* el = mCompElements.GetNext(pos);
    if (ar_cast<GRPositionTag const>(el)) continue;
    const NVPoint offset{el->getPosition().x - mPosition.x, el->getPosition().y};
    NVRect box = el->getBoundingBox();
    box += offset;
    mBoundingBox.Merge(box);
    if (el->isGREventClass()) {
      // A chord's stem stands in the staff of its first note.
      GRGlobalStem const* stem = static_cast<GREvent const*>(el)->getGlobalStem();
      if (stem && stem->getFirstEl() == el) {
        NVRect stemBox = stem->getBoundingBox();
        stemBox += NVPoint{stem->getPosition().x - mPosition.x, stem->getPosition().y};
        mBoundingBox.Merge(stemBox);
      }
    }
  }
  // A range that runs on from an earlier system stands here as a dummy: its piece on this staff
  // is finished too.
  for (void* pos = mCompElements.GetHeadPosition(); pos;) {
    GRNotationElement* element = mCompElements.GetNext(pos);
    if (auto* tag = ar_cast<GRPositionTag>(element)) {
      tag->FinishPTag(this);
    } else if (auto* dummy = ar_cast<GRDummy>(element)) {
      if (GRPositionTag* continued = dummy->getTag()) continued->FinishPTag(this);
    }
  }
}

Fraction GRStaff::nextElementTime(ARMusicalObject const* tag) const {
  GRNotationElement const* last = mCompElements.GetTail();
  Fraction time = last ? last->getRelativeEndTimePosition() : getRelativeTimePosition();
  // With two voices on the staff the last element may be the other voice's longer note; the
  // tag's voice goes on from the tag's own time, so the tag must not stand later.
  if (tag && tag->getRelativeTimePosition() < time)
    time = std::max(tag->getRelativeTimePosition(), getRelativeTimePosition());
  return time;
}

void GRStaff::EndStaff(Fraction const& tp, GRSpring* spring) {
  EndStaff(tp);
  spring->addElement(mEndGlue, nullptr);
  mEndGlue->tellSpringID(spring->getID());
}

void GRStaff::EndStaff(Fraction const& tp, GRStaffManager* manager, void* position, int) {
  MELVARIN_ASSERT(!mEndGlue);
  // The elements after position belong to the next line; they leave without being deleted.
  if (position) {
    KF_IPointerList<GRNotationElement>* rest = nullptr;
    mCompElements.Cut(position, &rest);
    rest->setOwnership(0);
    delete rest;
  }
  EndStaff(tp);
  manager->addElementToSpring(mEndGlue, -1);
}

void GRStaff::BeginStaff(GRStaffManager* manager) {
  if (!mStartGlue) {
    mStartGlue = new GRGlue(this, GRGlue::START_GLUE);
    mStartGlue->setRelativeTimePosition(getRelativeTimePosition());
    mCompElements.AddHead(mStartGlue);
  }
  if (!mSecondGlue) {
    auto* glue = new GRGlue(this, GRGlue::SECOND_GLUE);
    glue->setRelativeTimePosition(getRelativeTimePosition());
    AddSecondGlue(glue);
  }
  manager->addElementToSpring(mStartGlue, 0);
}

GRNotationElement* GRStaff::AddClef(ARClef* clef) {
  ARClef* const inForce = CarriedCopyInForce(clef, mClefInForce);
  const bool stale = inForce != nullptr;
  if (stale) clef = inForce;
  auto* grclef = new GRClef(clef, this, stale);
  grclef->setRelativeTimePosition(nextElementTime(clef));
  setClefParameters(clef->getName().c_str(), grclef->mClefPitch, grclef->mClefOctave,
                    grclef->mClefStaffLine, GRStaffState::CLEFEXPLICIT);
  mStaffState.curclef = clef;
  addNotationElement(grclef);
  return grclef;
}

GRNotationElement* GRStaff::AddInstrument(ARInstrument* instrument) {
  auto* grinstrument = new GRInstrument(instrument);
  grinstrument->setRelativeTimePosition(nextElementTime(instrument));
  addNotationElement(grinstrument);
  TagParameterString const* transp = instrument->getTransp();
  if (!transp)
    mStaffState.transposeOffset = 0;
  else if (transp->getValue() && *transp->getValue())
    setInstrumentTransposition(transp->getValue());
  return grinstrument;
}

// "transp" names the key the instrument sounds in: a letter (lower case for minor), then "#" or
// "&", and "+" when it sounds higher than written.
void GRStaff::setInstrumentTransposition(char const* transp) {
  const char letter = transp[0];
  const char lower[2] = {static_cast<char>(std::tolower(static_cast<unsigned char>(letter))), 0};
  const int pitchClass = gd_noteName2pc(lower);
  int key = 0;
  switch (std::toupper(static_cast<unsigned char>(letter))) {
    case 'A':
      key = 3;
      break;
    case 'B':
    case 'H':
      key = 5;
      break;
    case 'D':
      key = 2;
      break;
    case 'E':
      key = 4;
      break;
    case 'F':
      key = -1;
      break;
    case 'G':
      key = 1;
      break;
    default:
      key = 0;
      break;
  }
  if (std::islower(static_cast<unsigned char>(letter))) key -= 3;
  const char second = transp[1];
  if (second == '#') key += 7;
  if (second == '&') key -= 7;
  const bool upward = second == '+' || (second && transp[2] == '+');
  GRKey::getNonFreeKeyArray(key, mStaffState.instrKeyArray);
  startMeasure();
  mStaffState.transposeOffset = upward ? pitchClass - 2 : pitchClass - 9;
  mStaffState.instrKeyNumber = key;
}

GRNotationElement* GRStaff::AddOctava(AROctava* octava) {
  const int shift = octava->getOctava();
  // A line a written break opens marks the octava going on into it before the voices' tags at
  // its start are met: one of them that changes the octava there marks the line instead, and
  // the octava carried over, which holds for no note, must not be read.
  if (mOctavaGoingOn && NoEventSince(mOctavaGoingOn) &&
      mOctavaGoingOn->getRelativeTimePosition() == octava->getRelativeTimePosition())
    mOctavaGoingOn->drawNothing();
  mOctavaGoingOn = nullptr;
  GRSText* text = NewOctavaMark(shift);
  text->setRelativeTimePosition(octava->getRelativeTimePosition());
  mStaffState.octava = shift;
  addNotationElement(text);
  return text;
}

bool GRStaff::NoEventSince(GRNotationElement const* element) const {
  for (void* pos = mCompElements.GetTailPosition(); pos;) {
    GRNotationElement const* later = mCompElements.GetPrev(pos);
    if (later == element) return true;
    if (later->isGREventClass()) return false;
  }
  return false;
}

GRSText* GRStaff::NewOctavaMark(int shift) {
  // An octave up is marked over the staff, an octave down under it.
  int const line = shift == -1 ? getNumlines() : -1;
  mHoldsOctavaMarks = true;
  return new GRSText(this, NVstring(shift == 1 ? "8" : shift == -1 ? "8ba" : ""), line);
}

int GRStaff::OctavaShiftOf(GRSText const& mark) {
  NVstring const& text = mark.getText();
  return text.equal("8") ? 1 : text.equal("8ba") ? -1 : 0;
}

GRNote* GRStaff::getLastNote() const {
  for (void* pos = mCompElements.GetTailPosition(); pos;)
    if (auto* note = ar_cast<GRNote>(mCompElements.GetPrev(pos))) return note;
  return nullptr;
}

float GRStaff::getDistance() const {
  return mStaffState.distanceset ? mStaffState.distance : -1;
}

GRNotationElement* GRStaff::AddMeter(ARMeter* meter) {
  auto* grmeter = new GRMeter(meter, this, false);
  grmeter->setRelativeTimePosition(nextElementTime(meter));
  mStaffState.meterset = meter->getMeterType() != ARMeter::NONE ? 1 : 0;
  if (mStaffState.meterset) mStaffState.curmeter = meter;
  addNotationElement(grmeter);
  return grmeter;
}

namespace {

void takeKey(GRStaff& staff, GRKey const& grkey) {
  int keyArray[GRStaffState::kPitches] = {};
  const int numKeys = grkey.getKeyArray(keyArray);
  staff.setKeyParameters(numKeys, keyArray);
}

}  // namespace

GRNotationElement* GRStaff::AddKey(ARKey* key) {
  GRKey* grkey = nullptr;
  if (ar_cast<ARNaturalKey>(key) && mStaffState.curkey) {
    // Naturals for the key in force; the key itself stays.
    grkey = new GRKey(this, static_cast<ARKey*>(mStaffState.curkey->Copy()), 1, true);
  } else {
    ARKey* const inForce = CarriedCopyInForce(key, mKeyInForce);
    const bool stale = inForce != nullptr;
    if (stale) key = inForce;
    grkey = new GRKey(this, key, 0, stale);
    mStaffState.curkey = key;
    mStaffState.keyset = true;
    takeKey(*this, *grkey);
  }
  grkey->setRelativeTimePosition(nextElementTime(key));
  addNotationElement(grkey);
  return grkey;
}

int GRStaff::shownKeyNumber(GRNotationElement const* upTo) const {
  if (!upTo) {
    // The last sound key of the staff, found from its end: a staff that many voices share
    // makes a key for each of them, one after the other.
    for (void* pos = mCompElements.GetTailPosition(); pos;) {
      auto const* grkey = ar_cast<GRKey const>(mCompElements.GetPrev(pos));
      if (grkey && !grkey->getError()) return grkey->isNatural() ? 0 : grkey->getKeyNumber();
    }
    return mShownKeyAtStart;
  }
  int shown = mShownKeyAtStart;
  for (void* pos = mCompElements.GetHeadPosition(); pos;) {
    GRNotationElement const* element = mCompElements.GetNext(pos);
    if (element == upTo) break;
    auto const* grkey = ar_cast<GRKey const>(element);
    if (grkey && !grkey->getError()) shown = grkey->isNatural() ? 0 : grkey->getKeyNumber();
  }
  return shown;
}

void GRStaff::setStaffState(GRStaffState const* state) {
  GRStaffState& s = mStaffState;
  s.curclef = state->curclef;
  s.clefname = state->clefname;
  s.basepit = state->basepit;
  s.baseoct = state->baseoct;
  s.octava = state->octava;
  s.baseline = state->baseline;
  s.keyset = state->keyset;
  s.curkey = state->curkey;
  s.numkeys = state->numkeys;
  mClefInForce = state->curclef;
  mKeyInForce = state->curkey;
  mShownKeyAtStart = state->keyset ? state->numkeys : 0;
  // The key's own accidentals too: the next bar line brings the measure back to them.
  std::copy_n(state->KeyArray, GRStaffState::kPitches, s.KeyArray);
  std::copy_n(state->MeasureAccidentals, GRStaffState::kPitches, s.MeasureAccidentals);
  std::copy_n(&state->WrittenAccidentals[0][0], GRStaffState::kLetters * GRStaffState::kOctaves,
              &s.WrittenAccidentals[0][0]);
  s.heldAccidentals = state->heldAccidentals;
  s.struckNow = state->struckNow;
  s.transposeOffset = state->transposeOffset;
  s.instrKeyNumber = state->instrKeyNumber;
  std::copy_n(state->instrKeyArray, GRStaffState::kPitches, s.instrKeyArray);
  takeFormatOf(*state);
  s.curbarfrmt = state->curbarfrmt;
  s.distance = state->distance;
  s.distanceset = state->distanceset;
}

void GRStaff::UpdateStaffState(void* position) {
  // A key starts the measure's signs over; the notes after it (grace notes of one voice, taken
  // in before another voice's copy of the key) write theirs again.
  bool keyTaken = false;
  for (void* pos = position ? position : mCompElements.GetHeadPosition(); pos;) {
    GRNotationElement* el = mCompElements.GetNext(pos);
    if (keyTaken) writeAccidentalsOf(el);
    // The clef and key in force are those that stay drawn, whichever voice wrote them: the
    // next line opens with them.
    if (auto* grclef = ar_cast<GRClef>(el)) {
      if (grclef->getError()) continue;
      mStaffState.curclef = grclef->getARClef();
      setClefParameters(grclef->getARClef()->getName().c_str(), grclef->mClefPitch,
                        grclef->mClefOctave, grclef->mClefStaffLine, GRStaffState::CLEFIMPLICIT);
    } else if (auto* grkey = ar_cast<GRKey>(el)) {
      if (grkey->getError()) continue;
      if (!grkey->isNatural())
        mStaffState.curkey = static_cast<ARKey*>(grkey->getAbstractRepresentation());
      takeKey(*this, *grkey);
      keyTaken = true;
      grkey->recalcVerticalPosition();
    }
  }
}

float GRStaff::highestEventTopAlongLine(float left, float right, float near) const {
  GRSystem const* system = getGRSystem();
  if (!system || !mGrSystemSlice) return highestEventTopBetween(left, right, near);
  int const number = mGrSystemSlice->getStaffNumber(this);
  float top = 0;
  KF_IPointerList<GRSystemSlice> const& slices = system->getSlices();
  for (void* pos = slices.GetHeadPosition(); pos;) {
    if (GRStaff const* staff = slices.GetNext(pos)->getStaff(number))
      top = std::min(top, staff->highestEventTopBetween(left, right, near));
  }
  return top;
}

std::vector<GRVolta const*> GRStaff::voltasAlongLine() const {
  std::vector<GRVolta const*> voltas;
  auto take = [&](GRStaff const* staff) {
    staff->gatherExtents();
    voltas.insert(voltas.end(), staff->mVoltas.begin(), staff->mVoltas.end());
  };
  GRSystem const* system = getGRSystem();
  if (!system || !mGrSystemSlice) {
    take(this);
    return voltas;
  }
  int const number = mGrSystemSlice->getStaffNumber(this);
  KF_IPointerList<GRSystemSlice> const& slices = system->getSlices();
  for (void* pos = slices.GetHeadPosition(); pos;) {
    if (GRStaff const* staff = slices.GetNext(pos)->getStaff(number)) take(staff);
  }
  return voltas;
}

void GRStaff::gatherExtents() const {
  if (mWidestEvent < 0) {
    mWidestEvent = 0;
    for (void* pos = mCompElements.GetHeadPosition(); pos;) {
      GRNotationElement const* element = mCompElements.GetNext(pos);
      if (auto const* volta = dynamic_cast<GRVolta const*>(element)) mVoltas.push_back(volta);
      auto const* event = dynamic_cast<GREvent const*>(element);
      if (!event) continue;
      float const x = event->getPosition().x;
      NVRect const& box = event->getBoundingBox();
      EventExtent const extent{x - event->getLeftSpace(), x + event->getRightSpace(),
                               event->getPosition().y + box.top, x + box.left, x + box.right};
      if (!std::isfinite(extent.from()) || !std::isfinite(extent.to())) {
        mUnplacedEvents.push_back(extent);
        continue;
      }
      mEventExtents.push_back(extent);
      mWidestEvent = std::max(mWidestEvent, extent.to() - extent.from());
    }
    std::sort(mEventExtents.begin(), mEventExtents.end(),
              [](EventExtent const& a, EventExtent const& b) { return a.from() < b.from(); });
  }
}

float GRStaff::highestEventTopBetween(float left, float right, float near) const {
  gatherExtents();
  float top = 0;
  auto const reaches = [&](EventExtent const& extent) {
    // Written as the tests for an event out of reach, which an extent that is not a number
    // never passes.
    if (!(extent.right < left || extent.left > right) ||
        !(extent.boxRight < left - near || extent.boxLeft > right + near))
      top = std::min(top, extent.top);
  };
  // Only an event that starts less than the widest reach before left can reach it; a space to
  // spare covers rounding.
  auto at = std::lower_bound(
      mEventExtents.begin(), mEventExtents.end(), left - near - mWidestEvent - 1,
      [](EventExtent const& extent, float value) { return extent.from() < value; });
  for (; at != mEventExtents.end() && at->from() <= right + near; ++at) reaches(*at);
  for (EventExtent const& extent : mUnplacedEvents) reaches(extent);
  return top;
}
