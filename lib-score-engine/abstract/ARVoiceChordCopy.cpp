// Copying a chord that a pass cuts in two: the copy has the form FinishChord gives, so iteration
// and layout treat it as a chord, and each note is tied to its copy.
#include <algorithm>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "ARCast.h"
#include "ARChordTag.h"
#include "ARDisplayDuration.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARStaff.h"
#include "ARTie.h"
#include "ARVoicePassSupport.h"
#include "MoreMusicalTags.h"
#include "src/common/assertion.h"

namespace {

struct PlacedTag {
  int key;  // element index * 2, + 1 for an end marker: the order an iteration meets them in
  ARPositionTag* tag;
};

ARMusicalObject* ObjectOf(ARPositionTag* tag) {
  return ar_cast<ARMusicalObject>(tag);
}

}  // namespace

void* ARMusicalVoice::CopyStartsOnChordStaff(ARMusicalVoiceState const& state,
                                             std::vector<void*> const& chordNodes,
                                             Fraction const& startTime, void* after) {
  // A staff change inside the chord holds after it; the copy, which repeats that change, must
  // begin on the staff the chord began on.
  auto const* recorded = ar_cast<ARStaff>(state.getCurStateTag(typeid(ARStaff)));
  ARStaff const* inForce = recorded;
  for (void* node : chordNodes)
    if (auto const* staff = ar_cast<ARStaff const>(GetAt(node))) inForce = staff;
  if (!recorded || inForce->getStaffNumber() == recorded->getStaffNumber()) return nullptr;
  auto* staff = VoicePass::Auto(new ARStaff(*recorded));
  staff->setRelativeTimePosition(startTime);
  return AddElementAfter(after, staff);
}

void* ARMusicalVoice::CopyChord(ARMusicalVoiceState& state, Fraction const& startTime,
                                Fraction const& duration) {
  void* start = state.vpos;
  MELVARIN_ASSERT(start != nullptr);
  ARChordTag* chord = state.curchordtag;
  MELVARIN_ASSERT(chord != nullptr);
  PositionTagList& list = PositionTags();
  const int oldMode = readmode;
  readmode = EVENTMODE;

  void* last = chord->getEndPosition() ? chord->getEndPosition() : start;
  std::vector<void*> nodes;
  std::unordered_map<void*, int> indexOf;
  for (void* pos = start; pos;) {
    void* at = pos;
    ObjectList::GetNext(pos);
    indexOf[at] = static_cast<int>(nodes.size());
    nodes.push_back(at);
    if (at == last) break;
  }
  auto inChord = [&](void* node) { return indexOf.count(node) != 0; };

  // The chord's own ranges start at its chord tag, which the state opened last at its start.
  void* chordEntry = state.ptagpos ? state.ptagpos : nullptr;
  if (chordEntry)
    list.GetPrev(chordEntry);
  else
    chordEntry = list.GetTailPosition();
  while (chordEntry && list.GetAt(chordEntry) != chord) list.GetPrev(chordEntry);
  MELVARIN_ASSERT(chordEntry != nullptr);
  std::vector<void*> region;
  void* afterRegion = chordEntry;
  while (afterRegion && inChord(list.GetAt(afterRegion)->getPosition())) {
    region.push_back(afterRegion);
    list.GetNext(afterRegion);
  }

  // The elements, right after the chord.
  std::vector<void*> copies(nodes.size(), nullptr);
  void* insertAfter = last;
  void* staffNode = CopyStartsOnChordStaff(state, nodes, startTime, last);
  if (staffNode) insertAfter = staffNode;
  bool beforeOpening = true;
  for (size_t i = 0; i < nodes.size(); ++i) {
    ARMusicalObject const* source = GetAt(nodes[i]);
    ARMusicalObject* copy = source->Copy();
    if (copy && typeid(*copy) != typeid(*source)) {
      delete copy;  // only what copies itself whole goes into the copy
      copy = nullptr;
    }
    if (!copy) continue;
    if (auto* tag = ar_cast<ARMusicalTag>(copy))
      tag->setIsAuto(ar_cast<ARMusicalTag const>(source)->getIsAuto());
    if (source->getDuration() != Frac_0) {
      copy->setDuration(duration);
      copy->setRelativeTimePosition(startTime);
      beforeOpening = false;
    } else {
      copy->setRelativeTimePosition(beforeOpening ? startTime : startTime + duration);
    }
    insertAfter = AddElementAfter(insertAfter, copy);
    copies[i] = insertAfter;
  }

  // The chord's ranges, paired again as their sources were.
  std::vector<PlacedTag> copiedTags;
  std::unordered_map<ARPositionTag*, ARPositionTag*> copyOf;
  for (void* entry : region) {
    ARPositionTag* source = list.GetAt(entry);
    int at = indexOf[source->getPosition()];
    ARPositionTag* partner = source->getCorrespondence();
    if (!partner) continue;
    ARPositionTag* copy = nullptr;
    if (source->isEndTagClass()) {
      auto found = copyOf.find(partner);
      if (found == copyOf.end()) continue;
      // A range that ends at an element left out of the copy (a mark that does not copy itself)
      // ends at the last element copied before it, never earlier than where its copy begins: an
      // end dropped here would leave the copy's range open over all the chords after it.
      int const begin = indexOf[partner->getPosition()];
      while (at > begin && !copies[at]) --at;
      if (!copies[at]) continue;
      auto const* named = ar_cast<ARDummyRangeEnd const>(source);
      auto* end = new ARDummyRangeEnd(named ? named->getEndText() : ")");
      end->setIsAuto(named && named->getIsAuto());
      end->setCorrespondence(found->second);
      found->second->setCorrespondence(end);
      copy = end;
    } else {
      if (!copies[at] || !inChord(partner->getPosition())) continue;
      ARMusicalObject* made = ObjectOf(source)->Copy();
      copy = ar_cast<ARPositionTag>(made);
      if (!copy) {
        delete made;  // a tag that cannot copy itself as a range is left out
        continue;
      }
      if (auto* tag = ar_cast<ARMusicalTag>(copy)) {
        tag->setIsAuto(ar_cast<ARMusicalTag>(source)->getIsAuto());
        tag->setAssociation(1);
      }
      if (auto* shown = ar_cast<ARDisplayDuration>(copy)) shown->setDisplayDuration(duration);
      copyOf[source] = copy;
    }
    copy->setPosition(copies[at]);
    ObjectOf(copy)->setRelativeTimePosition(GetAt(copies[at])->getRelativeTimePosition());
    copiedTags.push_back({at * 2 + (source->isEndTagClass() ? 1 : 0), copy});
  }

  // Every note is tied to its copy: the tie begins at the note, among the chord's ranges.
  for (size_t i = 0; i < nodes.size(); ++i) {
    ARMusicalObject* note = GetAt(nodes[i]);
    if (!copies[i] || note->getDuration() != Frac_0 || !VoicePass::IsNamedNote(note)) continue;
    auto [tie, tieEnd] = MakeAutoTie();
    tie->setPosition(nodes[i]);
    tie->setRelativeTimePosition(note->getRelativeTimePosition());
    tieEnd->setPosition(copies[i]);
    tieEnd->setRelativeTimePosition(GetAt(copies[i])->getRelativeTimePosition());
    tie->setCorrespondence(tieEnd);
    tieEnd->setCorrespondence(tie);
    void* before = afterRegion;
    for (void* entry : region) {
      ARPositionTag* tag = list.GetAt(entry);
      const int at = indexOf[tag->getPosition()];
      if (at > static_cast<int>(i) || (at == static_cast<int>(i) && tag->isEndTagClass())) {
        before = entry;
        break;
      }
    }
    VoicePass::InsertBefore(list, before, tie);
    copiedTags.push_back({static_cast<int>(i) * 2 + 1, tieEnd});
  }

  std::stable_sort(copiedTags.begin(), copiedTags.end(),
                   [](PlacedTag const& a, PlacedTag const& b) { return a.key < b.key; });
  for (PlacedTag const& placed : copiedTags) VoicePass::InsertBefore(list, afterRegion, placed.tag);

  readmode = oldMode;
  void* first = staffNode;
  for (void* copy : copies)
    if (copy && !first) first = copy;
  return first;
}
