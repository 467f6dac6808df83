// Undoing the automatic passes, and marking a stretch of a voice.
#include <vector>

#include "ARCast.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARNoteFormat.h"
#include "ARVoicePassSupport.h"
#include "MoreMusicalTags.h"

namespace {

bool IsAutoTag(ARPositionTag const* tag) {
  auto const* musicalTag = ar_cast<ARMusicalTag const>(tag);
  return musicalTag && musicalTag->getIsAuto();
}

}  // namespace

void ARMusicalVoice::removeAutoTags() {
  if (mPosTagList) {
    // A range goes as a whole, so that no tag is left pointing at a deleted partner.
    std::vector<void*> automatic;
    for (void* pos = mPosTagList->GetHeadPosition(); pos;) {
      void* at = pos;
      ARPositionTag* tag = mPosTagList->GetNext(pos);
      if (IsAutoTag(tag) || IsAutoTag(tag->getCorrespondence())) automatic.push_back(at);
    }
    for (void* node : automatic) {
      ARPositionTag* tag = mPosTagList->GetAt(node);
      curVoiceState->Forget(tag);
      mPosTagList->RemoveElementAt(node);
    }
  }
  for (void* pos = ObjectList::GetHeadPosition(); pos;) {
    void* at = pos;
    auto* tag = ar_cast<ARMusicalTag>(ObjectList::GetNext(pos));
    if (tag && tag->getIsAuto()) ObjectList::RemoveElementAt(at);
  }
  curVoiceState->vpos = GetTailPosition();
  curVoiceState->ptagpos = mPosTagList ? mPosTagList->GetTailPosition() : nullptr;
}

void ARMusicalVoice::MarkVoice(float from, float length) {
  const Fraction start(static_cast<double>(from));
  const Fraction end(static_cast<double>(from) + static_cast<double>(length));
  void* first = nullptr;
  void* last = nullptr;
  for (void* pos = ObjectList::GetHeadPosition(); pos;) {
    void* at = pos;
    ARMusicalObject const* object = ObjectList::GetNext(pos);
    if (!object->isEventClass() || object->getRelativeTimePosition() < start) continue;
    if (object->getRelativeEndTimePosition() > end) break;
    if (!first) first = at;
    last = at;
  }
  if (!first) return;

  const NodeOrder order = OrderOfNodes(ObjectList::GetHeadPosition());
  auto indexOf = [&](void const* node) { return order.IndexOf(node); };
  PositionTagList& list = PositionTags();
  // In front of the first range tag that an iteration meets after the given element's own.
  auto placeFor = [&](int index, bool isEnd) -> void* {
    for (void* pos = list.GetHeadPosition(); pos;) {
      void* at = pos;
      ARPositionTag* tag = list.GetNext(pos);
      const int tagIndex = indexOf(tag->getPosition());
      if (tagIndex > index || (tagIndex == index && !isEnd && tag->isEndTagClass())) return at;
    }
    return nullptr;
  };
  auto* mark = VoicePass::Auto(new ARNoteFormat);
  mark->setColor("red");
  mark->setRelativeTimePosition(GetAt(first)->getRelativeTimePosition());
  mark->setPosition(first);
  auto* markEnd = VoicePass::Auto(new ARDummyRangeEnd(")"));
  markEnd->setPosition(last);
  markEnd->setRelativeTimePosition(GetAt(last)->getRelativeEndTimePosition());
  mark->setCorrespondence(markEnd);
  markEnd->setCorrespondence(mark);
  VoicePass::InsertBefore(list, placeFor(indexOf(first), false), mark);
  VoicePass::InsertBefore(list, placeFor(indexOf(last), true), markEnd);
}

void ARMusicalVoice::MarkVoice(int num, int den, int lnum, int lden) {
  if (den == 0 || lden == 0) return;
  MarkVoice(static_cast<float>(static_cast<double>(num) / den),
            static_cast<float>(static_cast<double>(lnum) / lden));
}
