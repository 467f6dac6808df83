#include "music_text.h"

#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

#include "ARCast.h"
#include "ARChordComma.h"
#include "ARChordTag.h"
#include "ARDisplayDuration.h"
#include "ARLyrics.h"
#include "ARMusic.h"
#include "ARMusicalEvent.h"
#include "ARMusicalTag.h"
#include "ARMusicalVoice.h"
#include "ARPositionTag.h"
#include "ARText.h"
#include "ARTie.h"
#include "ARTuplet.h"
#include "MoreMusicalTags.h"

namespace {

// What a range is to the text.
enum class Role {
  Written,      // written as it prints
  Made,         // made by the parse or a pass, which makes it again: left out
  Tie,          // a tie a pass drew: written as a tie range
  Chord,        // the range the parse builds a chord into: written as the chord
  ShownLength,  // the length a grace note shows: written as the note's length
};

ARMusicalTag const* TagOf(ARPositionTag const* tag) {
  return ar_cast<ARMusicalTag const>(tag);
}

bool IsMade(ARMusicalObject const* object) {
  auto const* tag = ar_cast<ARMusicalTag const>(object);
  return tag && tag->getIsAuto();
}

Role RoleOfBegin(ARPositionTag const* begin) {
  ARMusicalTag const* tag = TagOf(begin);
  if (tag && tag->getIsAuto()) {
    if (ar_cast<ARTie const>(begin)) return Role::Tie;
    if (ar_cast<ARChordTag const>(begin)) return Role::Chord;
    return Role::Made;
  }
  // The display check groups tuplets under a base, and names the tuplets it adds itself.
  if (ar_cast<ARBase const>(begin)) return Role::Made;
  if (auto const* tuplet = ar_cast<ARTuplet const>(begin); tuplet && tuplet->getName() == "-auto-")
    return Role::Made;
  // The lyrics pass cuts the syllables from the lyrics range, which is written.
  if (auto const* text = ar_cast<ARText const>(begin); text && text->isCutFromLyrics())
    return Role::Made;
  // Only the parse gives a grace note's length this form; a written one is a range.
  if (auto const* shown = ar_cast<ARDisplayDuration const>(begin); shown && !shown->getRange())
    return Role::ShownLength;
  return Role::Written;
}

Role RoleOf(ARPositionTag const* tag) {
  if (!tag->isEndTagClass()) return RoleOfBegin(tag);
  if (ARPositionTag const* begin = tag->getCorrespondence()) return RoleOfBegin(begin);
  ARMusicalTag const* end = TagOf(tag);
  return end && end->getIsAuto() ? Role::Made : Role::Written;
}

// Writes one voice between its brackets, walking its objects and, beside them, the ranges that
// open before and close after each object, as the voice's own output does.
class VoiceText {
 public:
  VoiceText(ARMusicalVoice const& voice, std::ostream& os) : mVoice(voice), mOs(os) {}

  void Write(std::string const& appended) {
    ARMusicalVoice::PositionTagList const* ranges = mVoice.getPositionTagList();
    mRange = ranges ? ranges->GetHeadPosition() : nullptr;
    mOs << "[ ";
    for (void* pos = mVoice.ARMusicalVoice::ObjectList::GetHeadPosition(); pos;) {
      void* at = pos;
      ARMusicalObject const* object = mVoice.ARMusicalVoice::ObjectList::GetNext(pos);
      WriteBegins(RangesAt(at, false), at);
      if (object) WriteObject(*object, at);
      WriteEnds(RangesAt(at, true));
    }
    mOs << appended << " ]";
  }

 private:
  // The ranges of the list that begin (or end) at the node, in list order.
  std::vector<ARPositionTag const*> RangesAt(void const* at, bool ends) {
    std::vector<ARPositionTag const*> found;
    ARMusicalVoice::PositionTagList const* ranges = mVoice.getPositionTagList();
    while (mRange) {
      ARPositionTag const* tag = ranges->GetAt(mRange);
      if (tag->isEndTagClass() != ends || tag->getPosition() != at) break;
      found.push_back(tag);
      ranges->GetNext(mRange);
    }
    return found;
  }

  void WriteTag(ARPositionTag const* tag) {
    auto const* object = ar_cast<ARMusicalObject const>(tag);
    if (!object) return;
    std::ostringstream text;
    object->operator<<(text);
    std::string written = text.str();
    // A lyrics range prints as the texts it is cut into.
    if (ar_cast<ARLyrics const>(tag) && written.rfind("\\text", 0) == 0)
      written.replace(0, 5, "\\lyrics");
    // A fermata prints without the bracket that opens its range.
    ARPositionTag const* end = tag->getCorrespondence();
    auto const* plainEnd = end ? ar_cast<ARDummyRangeEnd const>(end) : nullptr;
    if (!tag->isEndTagClass() && plainEnd && plainEnd->isPlainEnd() &&
        written.find('(') == std::string::npos)
      written += "( ";
    mOs << written;
  }

  void WriteBegins(std::vector<ARPositionTag const*> const& begins, void* at) {
    // Ranges around a chord open before it.
    ARPositionTag const* chord = nullptr;
    for (ARPositionTag const* tag : begins) {
      switch (RoleOf(tag)) {
        case Role::Written:
          WriteTag(tag);
          break;
        case Role::Tie:
          mOs << "\\tieBegin ";
          break;
        case Role::Chord:
          chord = tag;
          break;
        default:
          break;
      }
    }
    if (chord) StartChord(*chord, at);
    for (ARPositionTag const* tag : begins) {
      Role const role = RoleOf(tag);
      auto const* shown = ar_cast<ARDisplayDuration const>(tag);
      if (role == Role::ShownLength) mShownLengths[tag->getPosition()] = shown;
      // Each group of a chord shows the length its notes were written with; a group after the
      // first starts with a placeholder of its own.
      if (role == Role::Made && shown && mChord) {
        mGroupLength = shown;
        if (tag->getPosition() != mChordOpening) mPlaceholders.insert(tag->getPosition());
      }
    }
  }

  void WriteEnds(std::vector<ARPositionTag const*> const& ends) {
    // Ranges around a chord close after it.
    for (ARPositionTag const* tag : ends)
      if (RoleOf(tag) == Role::Chord && tag->getCorrespondence() == mChord) EndChord();
    for (ARPositionTag const* tag : ends) {
      Role const role = RoleOf(tag);
      if (role == Role::Written) WriteTag(tag);
      if (role == Role::Tie) mOs << "\\tieEnd ";
    }
  }

  void StartChord(ARPositionTag const& chord, void* at) {
    mOs << "{ ";
    mChord = &chord;
    mChordOpening = at;
    ARPositionTag const* end = chord.getCorrespondence();
    mChordClosing = end ? end->getPosition() : nullptr;
    mFirstChordNote = true;
    mGroupLength = nullptr;
    mPlaceholders.clear();
  }

  void EndChord() {
    mOs << "} ";
    mChord = nullptr;
  }

  void WriteObject(ARMusicalObject const& object, void const* at) {
    if (mChord) {
      if (at == mChordOpening || at == mChordClosing || mPlaceholders.count(at)) return;
      if (IsExactly<ARChordComma>(&object)) {
        if (!mFirstChordNote) mOs << ", ";
        mFirstChordNote = false;
        return;
      }
    }
    if (IsMade(&object)) return;
    if (!object.isEventClass()) {
      object.operator<<(mOs);
      return;
    }
    ARDisplayDuration const* shown = mChord ? mGroupLength : nullptr;
    if (auto found = mShownLengths.find(at); !mChord && found != mShownLengths.end())
      shown = found->second;
    WriteEvent(object, shown);
  }

  // An event as written, or with the length it shows where it keeps none of its own.
  void WriteEvent(ARMusicalObject const& event, ARDisplayDuration const* shown) {
    if (!shown) {
      event.operator<<(mOs);
      return;
    }
    std::unique_ptr<ARMusicalObject> copy(event.Copy());
    auto* written = ar_cast<ARMusicalEvent>(copy.get());
    if (!written) {
      event.operator<<(mOs);
      return;
    }
    written->setDuration(shown->getDisplayDuration());
    if (shown->getDots() > 0 && shown->getDots() < 4) written->setPoints(shown->getDots());
    written->operator<<(mOs);
  }

  ARMusicalVoice const& mVoice;
  std::ostream& mOs;
  void* mRange = nullptr;

  ARPositionTag const* mChord = nullptr;
  void const* mChordOpening = nullptr;
  void const* mChordClosing = nullptr;
  bool mFirstChordNote = true;
  ARDisplayDuration const* mGroupLength = nullptr;
  std::set<void const*> mPlaceholders;
  std::map<void const*, ARDisplayDuration const*> mShownLengths;
};

}  // namespace

std::string MusicText(ARMusic const& music, int voiceIndex, std::string const& appended) {
  std::ostringstream os;
  os << "{ ";
  int index = 0;
  for (void* pos = music.GetHeadPosition(); pos; ++index) {
    if (index > 0) os << ", ";
    VoiceText(*music.GetNext(pos), os).Write(index == voiceIndex ? appended : std::string());
  }
  os << " }";
  return os.str();
}

std::string MusicText(ARMusic const& music) {
  return MusicText(music, -1, std::string());
}
