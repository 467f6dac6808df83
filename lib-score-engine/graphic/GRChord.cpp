#include "GRChord.h"

#include <algorithm>
#include <typeinfo>
#include <vector>

#include "ARChord.h"
#include "ARNote.h"
#include "GRAccidental.h"
#include "GRFlag.h"
#include "GRNoteDot.h"
#include "GRStaff.h"
#include "GRStdNoteHead.h"
#include "GRStem.h"
#include "VGDevice.h"

namespace {
// The middle line of a five-line staff of line space 50.
constexpr float kMiddleLine = 100;
// A head pushed to the other side of the stem moves this far.
constexpr float kSecondShift = 55;
constexpr unsigned int kLedgerLine = 95;
}  // namespace

GRChord::GRChord(GRStaff* staff, ARChord* chord, Fraction const& relativeTimePosition,
                 Fraction const& duration, Fraction const&)
    : GREvent(staff, chord, relativeTimePosition, duration) {
  bool first = true;
  for (void* pos = chord->GetHeadPosition(); pos;) {
    ARMusicalObject const* member = chord->GetNext(pos);
    auto const* note = dynamic_cast<ARNote const*>(member);
    if (!note) continue;
    AddNote(note, std::min(mDurationOfGR, note->getDuration()), first);
    first = false;
  }
  GDirection direction;
  if (mHighestPos <= kMiddleLine && mLowestPos <= kMiddleLine) {
    direction = dirDOWN;
  } else if (mHighestPos > kMiddleLine && mLowestPos > kMiddleLine) {
    direction = dirUP;
  } else {
    direction = kMiddleLine - mHighestPos <= mLowestPos - kMiddleLine ? dirDOWN : dirUP;
  }
  auto* stem = new GRStem(this, mDurationOfGR, direction, mLowestPos - mHighestPos + 175, 60);
  mStemDir = stem->getStemDir();
  mStemLength = stem->getStemLength();
  NVPoint const at{0, StemY()};
  stem->setPosition(at);
  mPosition.y = at.y;
  AddTail(stem);
  auto* flag = new GRFlag(this, mDurationOfGR, direction, mStemLength, 60);
  flag->setPosition(at);
  AddTail(flag);
  MoveSeconds();
  updateBoundingBox();
}

void GRChord::AddNote(ARNote const* note, Fraction const& duration, bool first) {
  auto* head = new GRStdNoteHead(this, duration);
  float const y = mGrStaff ? mGrStaff->getNotePosition(note->getPitch(), note->getOctave()) : 0;
  head->setPosition(NVPoint{0, y});
  if (first || y < mHighestPos) mHighestPos = y;
  if (first || y > mLowestPos) mLowestPos = y;
  float const headWidth = (head->getLeftSpace() + head->getRightSpace()) / mSize;
  AddTail(head);
  createDots(duration, headWidth, NVPoint{0, y});
  if (!mGrStaff) return;
  mGrStaff->writeHeldSignsBefore(getRelativeTimePosition());
  for (int code :
       mGrStaff->askAccidentals(note->getPitch(), note->getOctave(), note->getAccidentals())) {
    auto* sign = new GRAccidental(this, headWidth, code, 1, 50);
    sign->setPosition(NVPoint{0, y});
    AddTail(sign);
  }
}

float GRChord::StemY() const {
  return mStemDir == dirUP ? mLowestPos : mHighestPos;
}

void GRChord::MoveSeconds() {
  std::vector<GRStdNoteHead*> heads;
  for (void* pos = First(); pos;)
    if (auto* head = dynamic_cast<GRStdNoteHead*>(GetNext(pos))) heads.push_back(head);
  bool const up = mStemDir == dirUP;
  auto offsetX = [](GRStdNoteHead const* head) { return head->getOffset().x; };
  for (size_t i = 0; i < heads.size(); ++i) {
    GRStdNoteHead* h1 = heads[i];
    for (size_t j = i + 1; j < heads.size(); ++j) {
      GRStdNoteHead* h2 = heads[j];
      float const d = h2->getPosition().y - h1->getPosition().y;
      if (d == 0) {
        h2->setOffset(NVPoint{up ? kSecondShift : -kSecondShift, 0});
      } else if (d > -50 && d < 0) {  // h2 a second above h1
        if (up) {
          if (offsetX(h1) <= 0) h2->setOffset(NVPoint{kSecondShift, 0});
        } else if (offsetX(h2) >= 0) {
          h1->setOffset(NVPoint{-kSecondShift, 0});
          break;
        }
      } else if (d > 0 && d < 50) {  // h2 a second below h1
        if (up) {
          if (offsetX(h2) <= 0) {
            h1->setOffset(NVPoint{kSecondShift, 0});
            break;
          }
        } else if (offsetX(h1) >= 0) {
          h2->setOffset(NVPoint{-kSecondShift, 0});
        }
      }
    }
  }
}

void GRChord::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  // Each side of the stem has the ledger lines its own outer heads need, so that every line
  // runs under each head at or beyond it, wherever the head stands.
  struct Column {
    float x, highest, lowest;
  };
  std::vector<Column> columns;
  for (void* pos = First(); pos;) {
    auto const* head = dynamic_cast<GRStdNoteHead const*>(GetNext(pos));
    if (!head) continue;
    float const x = head->getOffset().x, y = head->getPosition().y;
    auto column =
        std::find_if(columns.begin(), columns.end(), [&](Column const& c) { return c.x == x; });
    if (column == columns.end()) {
      columns.push_back({x, y, y});
    } else {
      column->highest = std::min(column->highest, y);
      column->lowest = std::max(column->lowest, y);
    }
  }
  device.SetFontAlign(17);
  for (Column const& column : columns) {
    float const dx = mSize * -51 + column.x - mOffset.x;
    for (float y = -50; y >= column.highest; y -= 50)
      DrawSymbol(device, kLedgerLine, dx, y - mPosition.y, 0);
    for (float y = 250; y <= column.lowest; y += 50)
      DrawSymbol(device, kLedgerLine, dx, y - mPosition.y, 0);
  }
  DrawSubElements(device, map);
}

void GRChord::updateBoundingBox() {
  mLeftSpace = mRightSpace = 0;
  mBoundingBox = NVRect{};
  for (void* pos = First(); pos;) {
    GRNotationElement* element = GetNext(pos);
    float const offsetX = element->getOffset().x;
    mLeftSpace = std::max(mLeftSpace, element->getLeftSpace() - offsetX);
    mRightSpace = std::max(mRightSpace, offsetX + element->getRightSpace());
    mBoundingBox.Merge(element->getBoundingBox());
  }
}

bool GRChord::adjustLength(Fraction const& duration) {
  for (void* pos = First(); pos;) {
    GRNotationElement* element = GetNext(pos);
    if (element->isGREventClass()) static_cast<GREvent*>(element)->adjustLength(duration);
  }
  mDurationOfGR = duration;
  return true;
}

GRStem* GRChord::getStem() const {
  for (void* pos = First(); pos;) {
    GRNotationElement* element = GetNext(pos);
    if (typeid(*element) == typeid(GRStem)) return static_cast<GRStem*>(element);
  }
  return nullptr;
}

GRFlag* GRChord::getGRFlag() const {
  for (void* pos = First(); pos;)
    if (auto* flag = dynamic_cast<GRFlag*>(GetNext(pos))) return flag;
  return nullptr;
}

void GRChord::setStemDirection(GDirection direction) {
  GRStem* stem = getStem();
  if (!stem) return;
  stem->setStemDir(direction);
  mStemDir = stem->getStemDir();
  NVPoint at = stem->getPosition();
  at.y = StemY();
  stem->setPosition(at);
  mPosition.y = at.y;
  updateBoundingBox();
}

void GRChord::setFlagOnOff(bool on) {
  if (GRFlag* flag = getGRFlag()) flag->setFlagOnOff(on);
  updateBoundingBox();
}

float GRChord::changeStemLength(float length) {
  if (GRStem* stem = getStem()) {
    stem->setStemLength(length);
    mStemLength = stem->getStemLength();
  }
  return mStemLength;
}

int GRChord::getNumFaehnchen() const {
  GRFlag const* flag = getGRFlag();
  return flag ? flag->getNumFaehnchen() : 0;
}

void GRChord::setDotFormat(ARDotFormat const* format) {
  for (void* pos = First(); pos;) {
    GRNotationElement* element = GetNext(pos);
    if (typeid(*element) == typeid(GRNoteDot))
      GREvent::setDotFormat(static_cast<GRNoteDot*>(element), format);
  }
}

NVPoint GRChord::getStemStartPos() const {
  GRStem const* stem = getStem();
  if (!stem) return mPosition;
  NVPoint const s = stem->getPosition();
  float const length = stem->getStemLength();
  switch (mStemDir) {
    case dirUP:
      return NVPoint{s.x + 26 * mSize + mOffset.x, s.y - length + mOffset.y};
    case dirDOWN:
      return NVPoint{s.x - 30 * mSize + mOffset.x, s.y + length + mOffset.y};
    default:
      return s;
  }
}

NVPoint GRChord::getStemEndPos() const {
  NVPoint end = getStemStartPos();
  if (getStem() && mStemDir == dirUP) end.x += 3 * mSize;
  if (getStem() && mStemDir == dirDOWN) end.x += 4 * mSize;
  return end;
}
