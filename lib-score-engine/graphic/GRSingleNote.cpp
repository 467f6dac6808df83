#include "GRSingleNote.h"
#include "ARCast.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "ARAcc.h"
#include "ARDotFormat.h"
#include "ARNote.h"
#include "ARNoteFormat.h"
#include "ARTHead.h"
#include "GRAccidental.h"
#include "GRArticulation.h"
#include "GRFlag.h"
#include "GRGlobalStem.h"
#include "GRNoteDot.h"
#include "GRStaff.h"
#include "GRStdNoteHead.h"
#include "GRStem.h"
#include "GRSystem.h"
#include "NEPointerList.h"
#include "ScoreElementDesc.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"
#include "VGDevice.h"
#include "VScoreSymbolMap.h"
#include "engine_globals.h"
#include "ledger_line_room.h"
#include "src/common/assertion.h"

namespace {
constexpr unsigned int kLedgerLine = 95;
constexpr unsigned int kFilledHead = 88;
// How far left of the head's middle a ledger line starts.
constexpr float kLedgerLineStart = 51;
}  // namespace

GRSingleNote::GRSingleNote(GRStaff* staff, ARNote* note, Fraction const& relativeTimePosition,
                           Fraction const& duration)
    : GRNote(staff, note, relativeTimePosition, duration), mStemLength(mCurLSPACE * 3.5f) {}

template <class T>
T* GRSingleNote::FirstOf(bool exactType) const {
  void* pos = First();
  while (pos) {
    GRNotationElement* element = GetNext(pos);
    if (exactType ? typeid(*element) == typeid(T) : ar_cast<T>(element) != nullptr)
      return static_cast<T*>(element);
  }
  return nullptr;
}

GRStem* GRSingleNote::getStem() const {
  return mGlobalStem ? mGlobalStem->getGRStem() : FirstOf<GRStem>(false);
}

GRFlag* GRSingleNote::getFlag() const {
  return mGlobalStem ? mGlobalStem->getGRFlag() : FirstOf<GRFlag>(true);
}

void GRSingleNote::doCreateNote(Fraction const& displayDuration) {
  createNote(displayDuration);
}

void GRSingleNote::removeElements() {
  RemoveAllSubElements();
  mNoteHead = nullptr;
}

void GRSingleNote::createNote(Fraction const& displayDuration) {
  mDurationTemplate = displayDuration;
  if (mDurationTemplate <= Frac_0) {
    mNumHelpLines = 0;
    return;
  }
  int pitch, octave, accidentals;
  getPitchAndOctave(&pitch, &octave, &accidentals);

  mNoteHead = new GRStdNoteHead(this, mDurationTemplate);
  AddTail(mNoteHead);
  mNoteBreite = (mNoteHead->getLeftSpace() + mNoteHead->getRightSpace()) / mSize;

  if (!mGlobalStem) {
    GRStem* stem;
    if (mStemDir != dirAUTO) {
      stem = new GRStem(this, mDurationTemplate, mStemDir, mStemLength, mNoteBreite);
      mStemLength = stem->getStemLength();
      mStemDirSet = true;
    } else {
      GDirection const direction =
          mGrStaff ? mGrStaff->getDefaultThroatDirection(pitch, octave) : dirUP;
      stem = new GRStem(this, mDurationTemplate, direction, mStemLength, mNoteBreite);
      mStemDir = stem->getStemDir();
      mStemLength = stem->getStemLength();
    }
    AddTail(stem);
    AddTail(new GRFlag(this, mDurationTemplate, mStemDir, mStemLength, mNoteBreite));
  }

  createDots(mDurationTemplate, mNoteBreite, NVPoint{});

  if (mGrStaff && !mTiedOver) {
    mGrStaff->writeHeldSignsBefore(getRelativeTimePosition());
    for (int code : mGrStaff->askAccidentals(pitch, octave, accidentals))
      AddTail(new GRAccidental(this, mNoteBreite, code, 1, 50));
  }

  mPosition.y = mGrStaff ? mGrStaff->getNotePosition(pitch, octave) : 0;
  setPosition(mPosition);

  ReachMiddleLine();
  if (mGrStaff) mNumHelpLines = mGrStaff->getNumHelplines(pitch, octave);
  if (!mGlobalStem) adjustHeadPosition(kNormal);
  updateBoundingBox();
}

// A stem that would end short of the middle line is lengthened to reach it.
void GRSingleNote::ReachMiddleLine() {
  GRStem* stem = mGlobalStem ? nullptr : getStem();
  if (mStemLengthSet || !stem) return;
  float const middle = 2 * mCurLSPACE;
  float const y = stem->getPosition().y;
  if (stem->getStemDir() == dirDOWN && middle > stem->getStemLength() + y) {
    changeStemLength(middle - y);
    mStemLength = stem->getStemLength();
  } else if (stem->getStemDir() == dirUP && y - stem->getStemLength() > middle) {
    changeStemLength(y - middle);
    mStemLength = stem->getStemLength();
  }
}

int GRSingleNote::adjustHeadPosition(int suggested) {
  // A head goes to the other side of the stem by a filled head's width, or by its own when it
  // is wider (a whole note's), so that it stands beside its neighbour instead of on it.
  float const w = std::max(60.0f, mNoteBreite) * mSize;
  int const state = mHeadState != kNoHeadState ? mHeadState : suggested;
  GDirection direction = dirOFF;
  if (mGlobalStem) {
    direction = mGlobalStem->getStemDir();
  } else if (GRStem* stem = getStem()) {
    direction = stem->getStemDir();
  }
  bool const up = direction == dirOFF || direction == dirUP;
  bool const down = direction == dirDOWN;
  float move = 0;
  int result = kCenter;
  switch (state) {
    case kNormal:
      result = up ? kLeft : down ? kRight : kCenter;
      break;
    case kReverse:
      move = up ? w : down ? -w : 0;
      result = up ? kRight : down ? kLeft : kCenter;
      break;
    case kCenter:
      move = up ? w / 2 : down ? -w / 2 : 0;
      break;
    case kRight:
      move = up ? w : 0;
      result = kRight;
      break;
    case kLeft:
      move = down ? -w : 0;
      result = kLeft;
      break;
    default:
      break;
  }
  if (move != 0 && mNoteHead) mNoteHead->addToOffset(NVPoint{move, 0});
  return result;
}

void GRSingleNote::setHeadState(ARTHead const* head) {
  if (head) mHeadState = head->getHeadState();
}

void GRSingleNote::setPosition(NVPoint const& point) {
  GREvent::setPosition(point);
  placeAccidentals();
}

void GRSingleNote::placeAccidentals() {
  // Accidentals go right to left, each 10 units and its own width before the one after it.
  float x = mPosition.x - 0.5f * mNoteBreite;
  void* pos = First();
  while (pos) {
    auto* accidental = ar_cast<GRAccidental>(GetNext(pos));
    if (!accidental) continue;
    x -= 10;
    accidental->setPosition(NVPoint{x, mPosition.y});
    x -= accidental->getLeftSpace() + accidental->getRightSpace();
  }
  updateBoundingBox();
}

void GRSingleNote::tellPosition(GObject*, NVPoint const& point) {
  if (mNeedsSpring == 0 && mSpringID == -1) setHPosition(point.x);
}

NVPoint GRSingleNote::getTieStart() const {
  return NVPoint{mPosition.x + 0.75f * mCurLSPACE, mPosition.y + mCurLSPACE};
}

NVPoint GRSingleNote::getTieEnd() const {
  return NVPoint{mPosition.x + 0.25f * mCurLSPACE, mPosition.y + mCurLSPACE};
}

void GRSingleNote::recalcVerticalPosition() {
  int pitch, octave, accidentals;
  getPitchAndOctave(&pitch, &octave, &accidentals);
  float const y = mGrStaff ? mGrStaff->getNotePosition(pitch, octave) : 0;
  setPosition(NVPoint{mPosition.x, y});
  if (mGrStaff) mNumHelpLines = mGrStaff->getNumHelplines(pitch, octave);
  updateBoundingBox();
}

void GRSingleNote::setDotFormat(ARDotFormat const* format) {
  GREvent::setDotFormat(format);
  GRNoteDot* dot = getDot();
  if (!dot || !format) return;
  // A distance the text gives holds; the default one counts only past a flag (PlaceDots).
  TagParameterFloat const* dx = format->getDX();
  if (dx && !ARMTParameter::IsSet(dx)) {
    dot->setOffset(dot->getOffset() - NVPoint{dx->getValue(mCurLSPACE) + mDotShift, 0});
    mDotPastFlag = dx->getValue(mCurLSPACE);
    mDotShift = 0;
  }
  updateBoundingBox();
}

void GRSingleNote::PlaceDots() {
  GRNoteDot* dot = getDot();
  if (!dot) return;
  GRFlag const* flag = getFlag();
  bool const pastFlag = getStemDirection() == dirUP && flag && flag->isDrawnUp();
  // Heads standing right of this one's place, pushed there in its chord or of another voice
  // beside it, would cover the dots: they stand after those heads.
  float const heads = std::max(mDotsBeside, mGlobalStem ? mGlobalStem->getHeadsRightShift() : 0);
  float const shift = std::max(pastFlag ? mDotPastFlag : 0, heads);
  if (shift == mDotShift) return;
  dot->setOffset(dot->getOffset() + NVPoint{shift - mDotShift, 0});
  mDotShift = shift;
}

void GRSingleNote::updateBoundingBox() {
  PlaceDots();
  GREvent::updateBoundingBox();
  // Around the head where it stands: beside another voice's head it has left its place, and a
  // box reaching back over that head would be read as the other note's.
  mBoundingBox.left = std::min(mBoundingBox.left, mBesideShift - 0.5f * mNoteBreite);
  mBoundingBox.right = std::max(mBoundingBox.right, mBesideShift + 0.5f * mNoteBreite);
  // A head moved to the other side of a shared stem takes its room there, with the ledger lines
  // drawn under it and a quarter space of air: a head or line that touches the next column
  // reads as part of it, and the head as one of the neighbour's. A line also keeps clear of the
  // neighbour's line at its height, which reaches past that head by as much (a note below the
  // staff takes no room for its lines).
  if (mNoteHead) {
    float const moved = HeadShift();
    mLeftSpace = std::max(mLeftSpace, mNoteHead->getLeftSpace() - moved);
    mRightSpace = std::max(mRightSpace, mNoteHead->getRightSpace() + moved);
    if (moved != 0 && mGlobalStem) {
      bool const left = moved < 0;
      float const room = RoomOfHeadBeside(left, std::fabs(moved));
      (left ? mLeftSpace : mRightSpace) = std::max(left ? mLeftSpace : mRightSpace, room);
    }
  }
  if (mNumHelpLines > 0) {
    float const w = mNoteBreite * 0.8f * mSize;
    mLeftSpace = std::max(mLeftSpace, w);
    mRightSpace = std::max(mRightSpace, w);
  }
  if (mGlobalStem && mGlobalStem->getGRFlag()) {
    mLeftSpace = std::max(mLeftSpace, mGlobalStem->getGRFlag()->getLeftSpace());
    mRightSpace = std::max(mRightSpace, mGlobalStem->getGRFlag()->getRightSpace());
  }
  keepRoomForDots();
  if (mGrace) mRightSpace += 0.5f * mCurLSPACE;
  // Beside the other voice's head, the head is a column of its own as one moved across a
  // chord's stem is: it keeps the same air from the next one.
  if (mBesideShift > 0)
    mRightSpace = std::max(mRightSpace + mBesideShift, RoomOfHeadBeside(false, mBesideShift));
}

float GRSingleNote::headReach(bool right) const {
  if (!mNoteHead) return 0;
  float const moved = HeadShift();
  if (right) return mNoteHead->getRightSpace() + std::max(0.0f, moved) + mBesideShift;
  return mNoteHead->getLeftSpace() - std::min(0.0f, moved);
}

float GRSingleNote::ledgerLinesReach(bool right) const {
  if (!mNoteHead || mNumHelpLines == 0) return 0;
  // As far past the head as the lines are drawn.
  LedgerLines const lines = ledgerLines();
  if (right) return headReach(true) + std::max(0.0f, lines.right - lines.headRight);
  return headReach(false) + std::max(0.0f, lines.headLeft - lines.left);
}

float GRSingleNote::RoomOfHeadBeside(bool left, float moved) const {
  if (!mNoteHead) return 0;
  float const head = left ? mNoteHead->getLeftSpace() : mNoteHead->getRightSpace();
  float reach = head;
  if (mNumHelpLines != 0) {
    float const line = LedgerReach(left);
    reach = std::max(reach, line + std::max(0.0f, line - head));
  }
  return moved + reach + 0.25f * mCurLSPACE;
}

float GRSingleNote::LedgerReach(bool left) const {
  // As DrawLedgerLine draws it: from its fixed start left of the head's middle, or centred and
  // stretched under a head wider than the glyph fits.
  float const line = GetSymbolExtent(kLedgerLine);
  float const wanted = mNoteBreite + (line - GetSymbolExtent(kFilledHead));
  if (line > 0 && wanted > line) return 0.5f * wanted * mSize;
  return (left ? kLedgerLineStart : line - kLedgerLineStart) * mSize;
}

float GRSingleNote::HeadShift() const {
  return mNoteHead ? mNoteHead->getOffset().x - mOffset.x : 0;
}

void GRSingleNote::setSize(float size) {
  // The stem's own length already holds the staff's line space, which the size holds as well; a
  // length the score gave stays.
  if (mSize > 0 && !mStemLengthSet) mStemLength *= size / mSize;
  mSize = size;
}

void GRSingleNote::addArticulation(ARMusicalTag* tag) {
  auto const* acc = ar_cast<ARAcc const>(tag);
  if (!acc) {
    // A chord holds one mark of each kind, which stands at its head away from the stem.
    if (!chordHasArticulation(GRArticulation::FlagOf(*tag))) GREvent::addArticulation(tag);
    return;
  }
  KF_IPointerList<GRAccidental> accidentals(0);
  extractAccidentals(&accidentals);
  if (accidentals.GetCount() == 0) {
    int const code = getARNote()->getAccidentals();
    auto* natural = new GRAccidental(this, mNoteBreite, code != 0 ? code : -10, 1, 50);
    natural->setPosition(mPosition);
    AddTail(natural);
    accidentals.AddTail(natural);
  }
  for (void* pos = accidentals.GetHeadPosition(); pos;) {
    GRAccidental* accidental = accidentals.GetNext(pos);
    NVPoint offset = accidental->getOffset();
    if (tag->getDX()) offset.x += tag->getDX()->getValue(50);
    if (tag->getDY()) offset.y -= tag->getDY()->getValue(50);
    accidental->setOffset(offset);
    if (tag->getSize()) accidental->setSize(tag->getSize()->getValue(50));
  }
  updateBoundingBox();
}

bool GRSingleNote::chordHasArticulation(int flags) const {
  if (!mGlobalStem) return false;
  auto const holds = [&](GRNotationElement const* element) {
    auto const* note = dynamic_cast<GRSingleNote const*>(element);
    return note && note != this && note->hasArticulation(flags);
  };
  if (holds(mGlobalStem->getFirstEl())) return true;
  NEPointerList const* chord = mGlobalStem->getAssociations();
  for (void* pos = chord ? chord->GetHeadPosition() : nullptr; pos;)
    if (holds(chord->GetNext(pos))) return true;
  return false;
}

bool GRSingleNote::adjustLength(Fraction const&) {
  MELVARIN_ASSERT(false);
  return false;
}

float GRSingleNote::setStemLength(float length) {
  if (mGlobalStem) {
    mGlobalStem->setNoteStemLength(this, length);
    tellMarksOfChord();
    return mGlobalStem->getStemLength();
  }
  if (mStemLengthSet) ZudidOvod("Stemlength already set!");
  if (GRStem* stem = getStem()) {
    stem->setStemLength(length);
    mStemLength = stem->getStemLength();
  } else {
    mStemLength = length;
  }
  if (GRFlag* flag = FirstOf<GRFlag>(true)) flag->changeStemLength(this, mStemLength, mStemDir);
  mStemLengthSet = true;
  // A mark past the stem's end (a beam lengthens the stem after the note is placed) follows it.
  followStem();
  updateBoundingBox();
  return 0;
}

void GRSingleNote::tellMarksOfChord() {
  auto const tell = [](GRNotationElement* element) {
    auto* note = dynamic_cast<GRSingleNote*>(element);
    if (!note || note->getArticulations().empty()) return;
    note->followStem();
    note->updateBoundingBox();
  };
  tell(mGlobalStem->getFirstEl());
  NEPointerList* chord = mGlobalStem->getAssociations();
  for (void* pos = chord ? chord->GetHeadPosition() : nullptr; pos;) tell(chord->GetNext(pos));
}

float GRSingleNote::changeStemLength(float length) {
  if (!mStemLengthSet) {
    setStemLength(length);
    mStemLengthSet = false;
  }
  return mStemLength;
}

GDirection GRSingleNote::getStemDirection() const {
  return mGlobalStem ? mGlobalStem->getStemDir() : mStemDir;
}

void GRSingleNote::setStemDirection(GDirection direction) {
  mStemDir = direction;
  if (GRStem* stem = getStem()) {
    stem->setStemDir(direction);
    updateBoundingBox();
  }
}

void GRSingleNote::setStemOnOff(bool on) {
  if (GRStem* stem = getStem()) stem->setStemDir(on ? dirAUTO : dirOFF);
  updateBoundingBox();
}

void GRSingleNote::setFlagOnOff(bool on) {
  if (GRFlag* flag = getFlag()) flag->setFlagOnOff(on);
  updateBoundingBox();
}

float GRSingleNote::getStemLength() const {
  if (GRStem* stem = getStem()) return stem->getStemLength();
  return mStemLength;
}

NVPoint GRSingleNote::getStemStartPos() const {
  if (!getStem()) return mPosition;
  float const s = mSize;
  float const hw = mNoteBreite;
  switch (mStemDir) {
    case dirUP:
      return NVPoint{mPosition.x + hw * 0.5f * s + mOffset.x - 4 * s,
                     mPosition.y + mOffset.y - mStemLength};
    case dirDOWN:
      return NVPoint{mPosition.x - hw * 0.5f * s + mOffset.x,
                     mPosition.y + mOffset.y + mStemLength};
    default:
      return mPosition;
  }
}

NVPoint GRSingleNote::getStemEndPos() const {
  NVPoint end = getStemStartPos();
  if (getStem() && mStemDir == dirUP) end.x -= 2 * mSize;
  return end;
}

int GRSingleNote::getNumFaehnchen() const {
  if (mGlobalStem) return mGlobalStem->getNumFaehnchen();
  GRFlag const* flag = FirstOf<GRFlag>(true);
  return flag ? flag->getNumFaehnchen() : 0;
}

void GRSingleNote::setNoteFormat(ARNoteFormat const* format) {
  if (!format) return;
  if (TagParameterString const* color = format->getColor()) {
    if (!color->getRGB(mColor.make())) mColor.reset();
  }
  if (TagParameterFloat const* dx = format->getDX()) mOffset.x = dx->getValue(50);
  if (TagParameterFloat const* dy = format->getDY()) mOffset.y -= dy->getValue(50);
  float const size = format->getSize() ? format->getSize()->getValue(50) : 1;
  if (TagParameterString const* style = format->getTPStyle()) mStyle = style->getValue();
  if (!mStemLengthSet) mStemLength = mCurLSPACE * 3.5f * size;
  MELVARIN_ASSERT(mGrStaff);
  mSize = mGrStaff->getLineSpace() / 50 * size;
}

void GRSingleNote::extractAccidentals(KF_IPointerList<GRAccidental>* list) const {
  void* pos = First();
  while (pos) {
    if (auto* accidental = ar_cast<GRAccidental>(GetNext(pos))) list->AddTail(accidental);
  }
}

bool GRSingleNote::showSigns(GRStaff::AccidentalSigns const& signs) {
  KF_IPointerList<GRAccidental> shown(0);
  extractAccidentals(&shown);
  bool same = shown.GetCount() == signs.count;
  int n = 0;
  for (void* pos = shown.GetHeadPosition(); pos; ++n) {
    GRAccidental const* sign = shown.GetNext(pos);
    if (sign->getOffsetSet()) return false;
    same =
        same && n < signs.count && sign->getSymbol() == GRAccidental::CodeToSymbol(signs.codes[n]);
  }
  if (same) return false;
  for (void* pos = shown.GetHeadPosition(); pos;) RemoveElement(shown.GetNext(pos));
  for (int code : signs) AddTail(new GRAccidental(this, mNoteBreite, code, 1, 50));
  // The note stays where it is: what it is placed with (a beam) is placed with the line.
  placeAccidentals();
  return true;
}

void GRSingleNote::updateAccidentalsPos() {
  if (auto* accidental = ar_cast<GRAccidental>(GetTail()))
    accidental->addToOffset(NVPoint{mSize * -60, 0});
  updateBoundingBox();
}

void GRSingleNote::standBeside(float shift) {
  float const dx = shift - mBesideShift;
  if (dx == 0) return;
  mBesideShift = shift;
  mOffset.x += dx;
  // The signs stay: the spring puts them left of all the heads.
  for (void* pos = First(); pos;) {
    GRNotationElement* element = GetNext(pos);
    if (auto* dot = ar_cast<GRNoteDot>(element))
      dot->setOffset(dot->getOffset() + NVPoint{dx, 0});
    else if (!ar_cast<GRAccidental>(element))
      element->addToOffset(NVPoint{dx, 0});
  }
  // Its marks stand over (under) the head where it now stands.
  tellArticulations();
  updateBoundingBox();
}

float GRSingleNote::signsWidth() const {
  KF_IPointerList<GRAccidental> signs(0);
  extractAccidentals(&signs);
  float width = 0;
  for (void* pos = signs.GetHeadPosition(); pos;) {
    GRAccidental const* sign = signs.GetNext(pos);
    width += 10 * mSize + 2 * sign->getRightSpace();
  }
  return width;
}

void GRSingleNote::keepDotsBeside(float shift) {
  mDotsBeside = shift;
  updateBoundingBox();
}

float GRSingleNote::dotsReach() const {
  GRNoteDot const* dot = getDot();
  if (!dot || dot->getNumDots() < 1) return 0;
  // Every further dot is drawn one dot's step right of the first.
  float const further = 25.0f * float(dot->getNumDots() - 1);
  return dot->getOffset().x - mOffset.x + (dot->getBoundingBox().right + further) * dot->getSize();
}

void GRSingleNote::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  // Ledger lines stand at their staff heights, in black, under the head wherever it stands: a
  // head pushed to the other side of a chord's stem takes its lines along, so that each line of
  // the chord runs under every head at or beyond it, on both sides of the stem.
  if (mNumHelpLines != 0) {
    device.SetFontAlign(17);
    float const dx = mSize * -kLedgerLineStart + HeadShift();
    LedgerLines const lines = ledgerLines();
    LedgerLineRoom const* room = ledgerLineRoom();
    float y = lines.first;
    for (int i = 0; i < lines.count; ++i, y += lines.step) {
      // A line that stops short of a neighbour's is drawn narrower.
      float left = lines.left, right = lines.right;
      if (room && room->clip(this, y, left, right))
        DrawLedgerLineBetween(device, left, right, y - mPosition.y);
      else
        DrawLedgerLine(device, dx, y - mPosition.y);
    }
  }
  VGColor const saved = device.GetFontColor();
  if (mColor.get()) device.SetFontColor(VGColor(mColor.get()));
  DrawSubElements(device, map);
  drawArticulations(device, map);
  if (mColor.get()) device.SetFontColor(saved);
  NotifyNewScoreElement(device, map);
}

void GRSingleNote::DrawLedgerLine(VGDevice& device, float dx, float dy) const {
  // The line glyph reaches past a filled head by a little on each side; under a wider head (a
  // whole note's) it is drawn that much wider, centred on the head.
  float const line = GetSymbolExtent(kLedgerLine);
  float const wanted = mNoteBreite + (line - GetSymbolExtent(kFilledHead));
  if (line <= 0 || wanted <= line) {
    DrawSymbol(device, kLedgerLine, dx, dy, 0);
    return;
  }
  LedgerLines const lines = ledgerLines();
  DrawLedgerLineBetween(device, lines.left, lines.right, dy);
}

void GRSingleNote::DrawLedgerLineBetween(VGDevice& device, float left, float right,
                                         float dy) const {
  float const line = GetSymbolExtent(kLedgerLine) * mSize;
  if (line <= 0 || right <= left) return;
  float const stretch = (right - left) / line;
  // The device's scale multiplies the coordinates too: the line is given its left end divided
  // by the stretch, inside a saved state that puts the scale back.
  device.BeginDraw();
  device.SetScale(stretch, 1);
  float const at = mPosition.x + mOffset.x + getReferencePosition().x * mSize;
  DrawSymbol(device, kLedgerLine, left / stretch - at, dy, 0);
  device.EndDraw();
}

GRSingleNote::LedgerLines GRSingleNote::ledgerLines() const {
  LedgerLines lines;
  if (mNumHelpLines == 0) return lines;
  lines.space = mCurLSPACE;
  lines.count = std::abs(mNumHelpLines);
  lines.first =
      mNumHelpLines > 0 ? -mCurLSPACE : (mGrStaff ? mGrStaff->getNumlines() : 5) * mCurLSPACE;
  lines.step = mNumHelpLines > 0 ? -mCurLSPACE : mCurLSPACE;
  float const centre =
      mNoteHead ? mNoteHead->getPosition().x + mNoteHead->getOffset().x : mPosition.x + mOffset.x;
  lines.headLeft = centre - 0.5f * mNoteBreite * mSize;
  lines.headRight = centre + 0.5f * mNoteBreite * mSize;
  // As DrawLedgerLine draws them: from a fixed start left of the head, or centred under a head
  // wider than the glyph fits.
  float const line = GetSymbolExtent(kLedgerLine);
  float const wanted = mNoteBreite + (line - GetSymbolExtent(kFilledHead));
  if (line <= 0 || wanted <= line) {
    lines.left = mPosition.x + mOffset.x + getReferencePosition().x * getSize() +
                 mSize * -kLedgerLineStart + HeadShift();
    lines.right = lines.left + line * mSize;
  } else {
    lines.left = centre - 0.5f * wanted * mSize;
    lines.right = centre + 0.5f * wanted * mSize;
  }
  return lines;
}

LedgerLineRoom const* GRSingleNote::ledgerLineRoom() const {
  GRSystem const* system = mGrStaff ? mGrStaff->getGRSystem() : nullptr;
  GRSystemSlice const* slice = mGrStaff ? mGrStaff->getGRSystemSlice() : nullptr;
  int const line = slice ? slice->getStaffNumber(mGrStaff) : -1;
  return system && line >= 0 ? &system->ledgerLineRoom(line) : nullptr;
}

void GRSingleNote::NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const {
  ScoreElementDesc desc = PlacedElementDesc(1, 10);
  desc.headX = mPosition.x + (mNoteHead ? mNoteHead->getOffset().x : 0);
  map.AddElement(device, desc);
}
