#include "GRPositionTag.h"
#include "ARCast.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <unordered_map>

#include "GREvent.h"
#include "GRGlue.h"
#include "GRNotationElement.h"
#include "GRStaff.h"
#include "GRSystemStartEndStruct.h"
#include "NEPointerList.h"
#include "src/common/assertion.h"

using SSE = GRSystemStartEndStruct;

GRPositionTag::GRPositionTag(void* endPosition, ARMusicalTag const* tag, float lineSpace)
    : GRTag(tag, lineSpace), endPosition(endPosition), lastEndFlag(SSE::NO_ELEMENT) {}

// Each piece numbered in list order; the pieces of each system, and those whose system is not
// known yet, in that order. The piece of a system is the first of its own or of the unknown ones.
class GRPositionTag::PieceIndex {
 public:
  void add(SSE* sse) {
    std::uint64_t const number = mNext++;
    mNumber.emplace(sse, number);
    file(sse, number);
  }
  void remove(SSE* sse) {
    unfile(sse, numberOf(sse));
    mNumber.erase(sse);
  }
  void place(SSE* sse, GRSystem const* system) {
    std::uint64_t const number = numberOf(sse);
    unfile(sse, number);
    sse->grsystem = system;
    file(sse, number);
  }
  SSE* find(GRSystem const* s) const {
    SSE* found = nullptr;
    std::uint64_t first = UINT64_MAX;
    if (!mUnplaced.empty()) {
      first = mUnplaced.begin()->first;
      found = mUnplaced.begin()->second;
    }
    if (s) {
      auto const it = mPlaced.find(s);
      if (it != mPlaced.end() && it->second.begin()->first < first)
        found = it->second.begin()->second;
    }
    return found;
  }

 private:
  std::uint64_t numberOf(SSE const* sse) const {
    auto const it = mNumber.find(sse);
    MELVARIN_ASSERT(it != mNumber.end());
    return it->second;
  }
  void file(SSE* sse, std::uint64_t number) {
    if (sse->grsystem)
      mPlaced[sse->grsystem].emplace(number, sse);
    else
      mUnplaced.emplace(number, sse);
  }
  void unfile(SSE* sse, std::uint64_t number) {
    if (!sse->grsystem) {
      mUnplaced.erase(number);
      return;
    }
    auto const it = mPlaced.find(sse->grsystem);
    MELVARIN_ASSERT(it != mPlaced.end());
    it->second.erase(number);
    if (it->second.empty()) mPlaced.erase(it);
  }

  std::uint64_t mNext = 0;
  std::unordered_map<SSE const*, std::uint64_t> mNumber;
  std::map<std::uint64_t, SSE*> mUnplaced;
  std::unordered_map<GRSystem const*, std::map<std::uint64_t, SSE*>> mPlaced;
};

GRPositionTag::~GRPositionTag() {
  mStartEndList.RemoveAll();
}

GRNotationElement* GRPositionTag::asElement() {
  // Every concrete range tag is also a notation element, which holds the associations.
  auto* el = ar_cast<GRNotationElement>(this);
  MELVARIN_ASSERT(el);
  return el;
}

GRSystemStartEndStruct* GRPositionTag::getSystemStartEndStruct(GRSystem const* s) const {
  // A walk over a few pieces costs less than keeping them in order.
  constexpr int kIndexedFrom = 8;
  if (!mPieceIndex && mStartEndList.GetCount() >= kIndexedFrom) {
    mPieceIndex = std::make_unique<PieceIndex>();
    for (void* pos = mStartEndList.GetHeadPosition(); pos;)
      mPieceIndex->add(mStartEndList.GetNext(pos));
  }
  if (mPieceIndex) return mPieceIndex->find(s);
  void* pos = mStartEndList.GetHeadPosition();
  while (pos) {
    SSE* sse = mStartEndList.GetNext(pos);
    if (!sse->grsystem || sse->grsystem == s) return sse;
  }
  return nullptr;
}

namespace {
GREvent* AsEvent(GRNotationElement* element) {
  return element && element->isGREventClass() ? static_cast<GREvent*>(element) : nullptr;
}
}  // namespace

GREvent* GRPositionTag::eventAtEndOfPiece(SSE const* sse, bool last) {
  if (!sse) return nullptr;
  if (GREvent* own = AsEvent(last ? sse->endElement : sse->startElement)) return own;
  NEPointerList* list = asElement()->getAssociations();
  if (!list) return nullptr;
  // From the piece's own end inwards: the walk stays on the piece's line.
  void* const from = last ? sse->endpos : sse->startpos;
  void* const to = last ? sse->startpos : sse->endpos;
  void* pos = from ? from : last ? list->GetTailPosition() : list->GetHeadPosition();
  while (pos) {
    void* const here = pos;
    if (GREvent* event = AsEvent(last ? list->GetPrev(pos) : list->GetNext(pos))) return event;
    if (here == to) break;
  }
  return nullptr;
}

GRSystemStartEndStruct* GRPositionTag::requireStartEnd(GRStaff const* staff) const {
  SSE* sse = getSystemStartEndStruct(staff->getGRSystem());
  MELVARIN_ASSERT(sse);
  return sse;
}

void GRPositionTag::addFirstStartEnd(GRStaff const* staff) {
  auto* sse = new SSE;
  sse->grsystem = staff ? staff->getGRSystem() : nullptr;
  sse->startflag = SSE::BEGINS_HERE;
  sse->endflag = SSE::NO_ELEMENT;
  sse->p = getNewGRSaveStruct();
  appendPiece(sse);
}

void GRPositionTag::openPiece(GRStaff* staff, void* startPos) {
  auto* sse = new SSE;
  sse->grsystem = staff->getGRSystem();
  sse->startflag = SSE::CONTINUES_FROM_LAST;
  sse->startpos = startPos;
  sse->endflag = lastEndFlag;
  sse->endElement = lastendElement;
  sse->endpos = lastEndPos;
  NEPointerList const* list = asElement()->getAssociations();
  sse->elementsBefore = list ? list->GetCount() : 0;
  sse->p = getNewGRSaveStruct();
  appendPiece(sse);
  if (error) {
    sse->startElement = nullptr;
    sse->endElement = nullptr;
  } else {
    setStartElement(staff, staff->getSecondGlue());
  }
}

void GRPositionTag::StaffBegin(GRStaff* staff) {
  openPiece(staff, nullptr);
}

void GRPositionTag::ResumeTag(GRStaff* staff, void* pos) {
  openPiece(staff, pos);
}

void GRPositionTag::fillStart(GRStaff* staff, GRSystemStartEndStruct* sse) {
  NEPointerList* list = asElement()->getAssociations();
  if (sse->startflag == SSE::BEGINS_HERE && !sse->startElement) {
    setStartElement(staff, list->GetHead());
    sse->startpos = list->GetHeadPosition();
  }
}

void GRPositionTag::BreakTag(GRStaff* staff, void*& pos) {
  SSE* sse = requireStartEnd(staff);
  NEPointerList* list = asElement()->getAssociations();
  if (error) {
    sse->startElement = nullptr;
    sse->endElement = nullptr;
    lastendElement = nullptr;
    return;
  }
  if (!list) return;
  fillStart(staff, sse);
  lastEndFlag = sse->endflag;
  lastendElement = sse->endElement;
  lastEndPos = sse->endpos;
  sse->endElement = nullptr;
  setEndElement(staff, staff->getEndGlue());
  sse->endflag = SSE::CONTINUES_ON_NEXT;
  sse->endpos = pos;
  placePiece(sse, staff->getGRSystem());
  if (pos) list->GetNext(pos);
}

void GRPositionTag::StaffFinished(GRStaff* staff) {
  SSE* sse = requireStartEnd(staff);
  NEPointerList* list = asElement()->getAssociations();
  if (error) {
    sse->startElement = nullptr;
    sse->endElement = nullptr;
    lastendElement = nullptr;
    return;
  }
  if (!list) return;
  fillStart(staff, sse);
  lastEndFlag = sse->endflag;
  lastendElement = sse->endElement;
  lastEndPos = sse->endpos;
  MELVARIN_ASSERT(lastendElement == NULL);
  setEndElement(staff, staff->getEndGlue());
  sse->endflag = SSE::CONTINUES_ON_NEXT;
  sse->endpos = list->GetTailPosition();
  placePiece(sse, staff->getGRSystem());
}

void GRPositionTag::RangeEnd(GRStaff* staff) {
  SSE* sse = requireStartEnd(staff);
  NEPointerList* list = asElement()->getAssociations();
  if (error) {
    sse->startElement = nullptr;
    sse->endElement = nullptr;
    return;
  }
  if (!list) return;
  fillStart(staff, sse);
  // A piece that the range leaves before any element of it came to this line ends where it
  // began: the list's last element stands on the line before, which may go first.
  const bool emptyPiece =
      sse->startflag == SSE::CONTINUES_FROM_LAST && list->GetCount() == sse->elementsBefore;
  setEndElement(staff, emptyPiece ? sse->startElement : list->GetTail());
  sse->endflag = SSE::ENDS_HERE;
  sse->endpos = emptyPiece ? sse->startpos : list->GetTailPosition();
}

void GRPositionTag::setStartElement(GRStaff const* staff, GRNotationElement* element) {
  SSE* sse = requireStartEnd(staff);
  GRNotationElement* self = asElement();
  if (sse->startElement) sse->startElement->removeAssociation(self);
  if (error) {
    sse->startElement = nullptr;
    return;
  }
  sse->startElement = element;
  if (element) element->addAssociation(self);
}

void GRPositionTag::setEndElement(GRStaff const* staff, GRNotationElement* element) {
  SSE* sse = requireStartEnd(staff);
  GRNotationElement* self = asElement();
  if (sse->endElement) sse->endElement->removeAssociation(self);
  if (error) {
    sse->endElement = nullptr;
    return;
  }
  sse->endElement = element;
  if (element) element->addAssociation(self);
}

void GRPositionTag::addAssociation(GRNotationElement* element) {
  if (error) return;
  GRStaff const* pstaff = element->getGRStaff();
  MELVARIN_ASSERT(pstaff);
  SSE* sse = requireStartEnd(pstaff);
  if (sse->startflag == SSE::CONTINUES_FROM_LAST && !sse->startpos)
    sse->startpos = asElement()->getAssociations()->GetTailPosition();
}

void GRPositionTag::removeAssociation(GRNotationElement* element) {
  GRStaff const* staff = element->getGRStaff();
  if (!staff) return;
  SSE* sse = getSystemStartEndStruct(staff->getGRSystem());
  if (!sse) return;
  if (sse->startElement == element) {
    sse->startElement = nullptr;
    sse->startflag = SSE::NO_ELEMENT;
    sse->startpos = nullptr;
  }
  if (sse->endElement == element) {
    sse->endElement = nullptr;
    sse->endflag = SSE::NO_ELEMENT;
    sse->endpos = nullptr;
  }
}

void GRPositionTag::forgetEnds(GRSystemStartEndStruct* sse) {
  if (!GRNotationElement::IsWholeLayoutGoing()) {
    GRNotationElement* self = asElement();
    if (sse->startElement) sse->startElement->removeAssociation(self);
    if (sse->endElement) sse->endElement->removeAssociation(self);
  }
  // The ends no longer know this tag, so they will not tell it when they go: a record kept after
  // an error must not name them when its staff goes later.
  sse->startElement = nullptr;
  sse->endElement = nullptr;
}

void GRPositionTag::appendPiece(SSE* sse) {
  mStartEndList.AddTail(sse);
  if (mPieceIndex) mPieceIndex->add(sse);
}

void GRPositionTag::placePiece(SSE* sse, GRSystem const* system) {
  if (mPieceIndex)
    mPieceIndex->place(sse, system);
  else
    sse->grsystem = system;
}

void GRPositionTag::removePiece(SSE* sse) {
  if (mPieceIndex) mPieceIndex->remove(sse);
  mStartEndList.RemoveElement(sse);
}

void GRPositionTag::DeleteAllSSEs() {
  void* pos = mStartEndList.GetHeadPosition();
  while (pos) forgetEnds(mStartEndList.GetNext(pos));
}

bool GRPositionTag::DeleteStaff(GRStaff* staff) {
  SSE* sse = getSystemStartEndStruct(staff->getGRSystem());
  if (!sse) MELVARIN_ASSERT(false);
  forgetEnds(sse);
  removePiece(sse);
  return mStartEndList.GetCount() == 0;
}
