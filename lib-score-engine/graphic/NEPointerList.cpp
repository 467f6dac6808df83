#include "NEPointerList.h"

#include <climits>
#include <optional>

#include "GRNotationElement.h"
#include "src/common/assertion.h"
#include "stems_settling.h"

NEPointerList::NEPointerList(int ownership) : KF_IPointerList<GRNotationElement>(ownership) {}

NEPointerList::NEPointerList(NEPointerList const& other, int ownership)
    : KF_IPointerList<GRNotationElement>(other, ownership) {}

NEPointerList::~NEPointerList() = default;

void NEPointerList::setHPosition(float x) {
  void* pos = GetHeadPosition();
  while (pos) GetNext(pos)->setHPosition(x);
}

void NEPointerList::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  // A page's nodes and elements lie scattered and are rarely still cached when it is drawn, and
  // each step of the walk would wait for both. So each step asks ahead for the node after next
  // and the next element (a prefetch never faults, also on null), which arrive while this one
  // draws. The next node is taken before drawing, as GetNext does.
  using ListNode = KF_List<GRNotationElement*>::Node;
  for (ListNode const* node = head; node;) {
    ListNode const* next = node->next;
    if (next) {
      __builtin_prefetch(next->next);
      __builtin_prefetch(next->data);
    }
    node->data->OnDraw(device, map);
    node = next;
  }
}

void NEPointerList::setPosition(NVPoint const& point) {
  void* pos = GetHeadPosition();
  while (pos) GetNext(pos)->setPosition(point);
}

void NEPointerList::tellPosition(GObject* caller, NVPoint const& point) {
  // Beams told one after another (nested over the same notes) may each set the same stems: the
  // marks past those stems follow them once, after the last beam of the run and before anything
  // that reads them is told.
  std::optional<StemsSettling> beams;
  void* pos = GetHeadPosition();
  while (pos) {
    GRNotationElement* element = GetNext(pos);
    // An element still telling its own position started this round of notices.
    if (element->isTellingPosition()) continue;
    if (!element->setsStems()) {
      beams.reset();
    } else if (!beams) {
      beams.emplace();
    }
    element->tellPosition(caller, point);
  }
}

void* NEPointerList::GetElementPos(GRNotationElement* element) {
  constexpr int kWalkedLength = 32;
  if (GetCount() <= kWalkedLength)
    return KF_IPointerList<GRNotationElement>::GetElementPos(element);
  if (!mIndex || mIndex->version != GetVersion()) {
    if (!mIndex) mIndex = std::make_unique<PositionIndex>();
    mIndex->nodes.clear();
    for (void* pos = GetHeadPosition(); pos;) {
      void* node = pos;
      mIndex->nodes.emplace(GetNext(pos), node);
    }
    mIndex->version = GetVersion();
  }
  auto const found = mIndex->nodes.find(element);
  return found == mIndex->nodes.end() ? nullptr : found->second;
}

NEPointerList* NEPointerList::getElementsWithShortestDuration() const {
  return ElementsWithShortestDuration(false);
}

NEPointerList* NEPointerList::getElementsWithShortestDurationNotNull() const {
  return ElementsWithShortestDuration(true);
}

NEPointerList* NEPointerList::ElementsWithShortestDuration(bool positiveOnly) const {
  MELVARIN_ASSERT(!empty());
  Fraction shortest(INT_MAX, 1);
  void* pos = GetHeadPosition();
  while (pos) {
    Fraction const& duration = GetNext(pos)->getDuration();
    if (positiveOnly && duration <= Frac_0) continue;
    if (duration < shortest) shortest = duration;
  }
  auto* result = new NEPointerList(0);
  pos = GetHeadPosition();
  while (pos) {
    GRNotationElement* element = GetNext(pos);
    if (element->getDuration() == shortest) result->AddTail(element);
  }
  return result;
}

void* NEPointerList::AddAtTimePosition(Fraction const& tp, GRNotationElement* element) {
  void* pos = GetHeadPosition();
  while (pos) {
    void* here = pos;
    if (GetNext(pos)->getRelativeTimePosition() > tp) return AddElementAt(here, element);
  }
  return AddTail(element);
}

void* NEPointerList::AddAtCorrectTimePosition(GRNotationElement* element) {
  return AddAtTimePosition(element->getRelativeTimePosition(), element);
}
