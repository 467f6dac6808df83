// Lyrics: the text of a lyrics range cut into syllables, one text range per event.
#include <list>
#include <map>
#include <string>
#include <utility>

#include "ARCast.h"
#include "ARLyrics.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARText.h"
#include "ARVoiceLyrics.h"
#include "ARVoicePassSupport.h"
#include "MoreMusicalTags.h"

namespace {

// A singer sings a syllable on each note drawn: the events of a merge after its first are drawn
// as part of that one and take none. Marks the open merges' note as having taken its syllables.
bool TakesSyllable(std::map<ARPositionTag const*, bool>& merges) {
  bool taken = false;
  for (auto& [merge, tookSyllable] : merges) taken = std::exchange(tookSyllable, true) || taken;
  return !taken;
}

}  // namespace

ARDispatchLyricsClass::ARDispatchLyricsClass(ARLyrics* dispatched)
    : lyrics(dispatched),
      text(dispatched->getText() ? new NVstring(dispatched->getText()) : nullptr) {}

ARDispatchLyricsClass::~ARDispatchLyricsClass() {
  delete text;
}

NVstring ARDispatchLyricsClass::GetNextSubstring() {
  if (!text) return NVstring("");
  const std::string all = text->c_str();
  if (position < 0 || static_cast<size_t>(position) >= all.size()) return NVstring("");
  size_t found = all.find_first_of(" -_", static_cast<size_t>(position));
  size_t stop = found == std::string::npos ? all.size() : found;
  if (found != std::string::npos && all[found] != ' ') ++stop;
  std::string syllable = all.substr(static_cast<size_t>(position), stop - position);
  for (char& c : syllable)
    if (c == '~') c = ' ';
  position =
      found == std::string::npos ? static_cast<int>(all.size()) + 1 : static_cast<int>(found) + 1;
  return NVstring(syllable.c_str());
}

void ARMusicalVoice::doAutoDispatchLyrics() {
  // Only a lyrics range gives the walk anything to do.
  if (!VoicePass::AnyRangeOf<ARLyrics>(mPosTagList)) return;
  ARMusicalVoiceState state;
  std::list<ARDispatchLyricsClass> open;
  // The merges open now that are drawn as one note, and whether that note took its syllables.
  std::map<ARPositionTag const*, bool> merges;
  void* pos = StartForwardWalk(state);
  while (pos) {
    void* p = pos;
    ARMusicalObject const* object = GetAt(p);
    for (ARPositionTag* added : state.addedpositiontags) {
      if (auto* lyrics = ar_cast<ARLyrics>(added)) open.emplace_back(lyrics);
      if ((ARMusicalVoiceState::RangeKindOf(added) & ARMusicalVoiceState::kRangeMerge) &&
          VoicePass::EventsMergeAsOne(*this, p, added->getEndPosition(), state))
        merges.emplace(added, false);
    }
    for (ARPositionTag* removed : state.removedpositiontags) {
      auto* lyrics = ar_cast<ARLyrics>(removed);
      open.remove_if([&](ARDispatchLyricsClass const& r) { return r.getLyrics() == lyrics; });
      merges.erase(removed);
    }
    if (object->isEventClass() && !state.getCurGrace() && TakesSyllable(merges)) {
      // All the texts of an event come before their ends: a walk opens the ranges that start at
      // an event up to the first end it meets there, and would leave the later verses unopened.
      void* firstEnd = nullptr;
      int verse = 0;
      for (ARDispatchLyricsClass& record : open) {
        int const line = verse++;
        NVstring syllable = record.GetNextSubstring();
        if (syllable.length() == 0) continue;
        auto* text = new ARText(syllable, 0);
        text->setRange(true);
        text->copyLyricsParams(record.getLyrics());
        text->setVerse(line);
        text->setRelativeTimePosition(object->getRelativeTimePosition());
        auto* end = new ARDummyRangeEnd(")");
        end->setRelativeTimePosition(object->getRelativeEndTimePosition());
        void* endNode = LinkRangeAtCursor(text, end, p, p, state, firstEnd);
        if (!firstEnd) firstEnd = endNode;
      }
    }
    GetNext(pos, state);
  }
}
