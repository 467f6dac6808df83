#pragma once

#include <initializer_list>
#include <sstream>
#include <string>

#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARNote.h"
#include "ARPositionTag.h"
#include "MoreMusicalTags.h"

namespace EngineTesting {

// Fills a voice with the calls the factory makes for a text, one call per written element.
class VoiceBuilder {
 public:
  struct ChordNote {
    char const* name;
    int numerator = 1;
    int denominator = 4;
  };

  VoiceBuilder& Note(char const* name, int numerator = 1, int denominator = 4) {
    voice.AddTail(new ARNote(name, 0, 1, numerator, denominator, 80));
    return *this;
  }
  VoiceBuilder& Tag(ARMusicalObject* tag) {
    voice.AddTail(tag);
    return *this;
  }
  // "\tag(": the range begins at the next event.
  template <class RangeTag>
  RangeTag* Open(RangeTag* tag) {
    tag->setRange(true);
    voice.AddPositionTag(tag);
    return tag;
  }
  // ")" of the range of tag.
  VoiceBuilder& Close(ARMusicalTag* tag) {
    voice.setPositionTagEndPos(tag->getID(), new ARDummyRangeEnd(nullptr), tag);
    return *this;
  }
  // "{c, e, g}": a comma before every chord note, as the parser reports them.
  VoiceBuilder& Chord(std::initializer_list<ChordNote> notes) {
    voice.BeginChord();
    for (ChordNote const& note : notes) {
      voice.initChordNote();
      Note(note.name, note.numerator, note.denominator);
    }
    voice.FinishChord();
    return *this;
  }

  ARMusicalVoice voice;
};

// Every element of the event list as "rmn@time" (with "+duration" when it has one), range tags
// where the iteration meets them.
inline std::string Elements(ARMusicalVoice const& voice) {
  std::string out;
  auto const* tags = const_cast<ARMusicalVoice&>(voice).getPositionTagList();
  void* entry = tags ? tags->GetHeadPosition() : nullptr;
  auto time = [](Fraction const& value) {
    return std::to_string(value.getNumerator()) + "/" + std::to_string(value.getDenominator());
  };
  auto write = [&](ARMusicalObject const& object) {
    std::ostringstream rmn;
    rmn << object;
    std::string text = rmn.str();
    text.pop_back();
    out += text + "@" + time(object.getRelativeTimePosition());
    if (object.getDuration() > Frac_0) out += "+" + time(object.getDuration());
    out += " ";
  };
  for (void* pos = voice.GetHeadPosition(); pos;) {
    void* at = pos;
    ARMusicalObject const* object = voice.GetNext(pos);
    for (bool ends : {false, true}) {
      if (ends) write(*object);
      while (entry && tags->GetAt(entry)->getPosition() == at &&
             tags->GetAt(entry)->isEndTagClass() == ends)
        write(*dynamic_cast<ARMusicalObject*>(tags->GetNext(entry)));
    }
  }
  if (entry) out += "| out of order";
  return out;
}

}  // namespace EngineTesting
