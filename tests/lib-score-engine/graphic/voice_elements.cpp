#include "voice_elements.h"

#include <map>

#include "ARAcc.h"
#include "ARAccent.h"
#include "ARDisplayDuration.h"
#include "ARFermata.h"
#include "ARMarcato.h"
#include "ARMusicalVoice.h"
#include "ARNote.h"
#include "ARNoteFormat.h"
#include "ARRest.h"
#include "ARShareLocation.h"
#include "ARShareStem.h"
#include "ARStaccato.h"
#include "ARTHead.h"
#include "ARTStem.h"
#include "ARTenuto.h"
#include "GREmpty.h"
#include "GRGlobalLocation.h"
#include "GRGlobalStem.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "parse_music.h"

namespace EngineTesting {
namespace {

// A range of the voice by the indexes of its first and last object.
struct Range {
  ARPositionTag* tag;
  int first, last;
  bool Covers(int index) const { return first <= index && index <= last; }
};

template <class T>
T* As(ARPositionTag* tag) {
  return dynamic_cast<T*>(tag);
}

bool IsArticulation(ARPositionTag* tag) {
  return As<ARStaccato>(tag) || As<ARAccent>(tag) || As<ARMarcato>(tag) || As<ARTenuto>(tag) ||
         As<ARFermata>(tag) || As<ARAcc>(tag);
}

}  // namespace

VoiceElements::VoiceElements(GRStaff* staff, char const* text, std::vector<float> xs)
    : mStaff(staff), mXs(std::move(xs)) {
  ParsedMusic parsed = ParseMusicText(text);
  mMusic = std::move(parsed.music);
  if (mMusic && mMusic->GetHead()) Build(*mMusic->GetHead());
}

VoiceElements::~VoiceElements() {
  for (GRNotationElement* tag : tags) delete tag;
  for (GREvent* event : events) delete event;
}

void VoiceElements::Build(ARMusicalVoice& voice) {
  std::vector<ARMusicalObject*> objects;
  std::map<void*, int> indexOf;
  for (void* pos = voice.GetHeadPosition(); pos;) {
    indexOf[pos] = static_cast<int>(objects.size());
    objects.push_back(voice.GetNext(pos));
  }
  std::vector<Range> ranges;
  if (ARMusicalVoice::PositionTagList* list = voice.getPositionTagList()) {
    for (void* pos = list->GetHeadPosition(); pos;) {
      ARPositionTag* tag = list->GetNext(pos);
      if (tag->isEndTagClass()) continue;
      ranges.push_back({tag, indexOf[tag->getPosition()], indexOf[tag->getEndPosition()]});
    }
  }

  // The graphical range tags, each with its range and its place while being built.
  struct Open {
    Range range;
    GRPTagARNotationElement* element;
    int place = -1;
  };
  std::vector<Open> open;
  ARNoteFormat* stateFormat = nullptr;
  ARTStem* stateStem = nullptr;
  std::vector<int> places;
  int nextPlace = 0;

  for (int i = 0; i < static_cast<int>(objects.size()); ++i) {
    ARMusicalObject* object = objects[i];
    if (auto* format = dynamic_cast<ARNoteFormat*>(object)) stateFormat = format;
    if (auto* stem = dynamic_cast<ARTStem*>(object)) stateStem = stem;
    ARNoteFormat* format = stateFormat;
    ARTStem* stemTag = stateStem;
    ARTHead* head = nullptr;
    ARDisplayDuration* shown = nullptr;
    for (Range const& range : ranges) {
      if (!range.Covers(i)) continue;
      if (auto* f = As<ARNoteFormat>(range.tag)) format = f;
      if (auto* s = As<ARTStem>(range.tag)) stemTag = s;
      if (auto* h = As<ARTHead>(range.tag)) head = h;
      if (auto* d = As<ARDisplayDuration>(range.tag)) shown = d;
    }
    // Shared stems and locations open before their first event.
    for (Range const& range : ranges) {
      if (range.first != i) continue;
      if (auto* share = As<ARShareStem>(range.tag)) {
        open.push_back({range, new GRGlobalStem(mStaff, share, stemTag, shown, format)});
      } else if (auto* location = As<ARShareLocation>(range.tag)) {
        open.push_back({range, new GRGlobalLocation(mStaff, location)});
      }
      if (!open.empty() && open.back().range.tag == range.tag) tags.push_back(open.back().element);
    }
    auto endRanges = [&] {
      for (Open const& o : open)
        if (o.range.last == i) o.element->RangeEnd(mStaff);
    };
    if (!object->isEventClass()) {
      endRanges();
      continue;
    }

    auto* event = static_cast<ARMusicalEvent*>(object);
    GRGlobalStem* stem = nullptr;
    for (Open const& o : open)
      if (o.range.Covers(i) && !stem) stem = dynamic_cast<GRGlobalStem*>(o.element);
    GREvent* element = nullptr;
    auto* note = dynamic_cast<ARNote*>(event);
    if (note && note->getPitch() != 0) {
      auto* single =
          new GRSingleNote(mStaff, note, event->getRelativeTimePosition(), event->getDuration());
      if (stem) single->setGlobalStem(stem);
      single->setNoteFormat(format);
      single->setHeadState(head);
      single->doCreateNote(shown ? shown->getDisplayDuration() : event->getDuration());
      element = single;
    } else if (auto* rest = dynamic_cast<ARRest*>(event)) {
      element =
          new GRSingleRest(mStaff, rest, event->getRelativeTimePosition(), event->getDuration(),
                           shown ? shown->getDisplayDuration() : event->getDuration());
    } else {
      element = new GREmpty(mStaff, event, event->getRelativeTimePosition(), event->getDuration());
    }
    events.push_back(element);
    for (Range const& range : ranges)
      if (range.Covers(i) && IsArticulation(range.tag))
        element->addArticulation(dynamic_cast<ARMusicalTag*>(range.tag));

    // One place for the events of a shared location, a new one for any other event.
    int place = -1;
    for (Open& o : open) {
      if (!o.range.Covers(i) || !dynamic_cast<GRGlobalLocation*>(o.element)) continue;
      if (o.place < 0) o.place = nextPlace++;
      place = o.place;
    }
    places.push_back(place >= 0 ? place : nextPlace++);

    for (Open const& o : open)
      if (o.range.Covers(i)) o.element->addAssociation(element);
    endRanges();
  }

  for (size_t e = 0; e < events.size(); ++e) {
    int const place = places[e];
    int const given = static_cast<int>(mXs.size());
    float const x =
        place < given ? mXs[place] : (given ? mXs.back() : 0) + 100.0f * (place + 1 - given);
    if (dynamic_cast<GRSingleNote*>(events[e])) {
      events[e]->setPosition(NVPoint{x, events[e]->getPosition().y});
    } else {
      events[e]->setHPosition(x);
    }
  }
}

void VoiceElements::Draw(VGDevice& device, VScoreSymbolMap& map) const {
  for (GREvent* event : events) event->OnDraw(device, map);
  for (GRNotationElement* tag : tags) tag->OnDraw(device, map);
}

}  // namespace EngineTesting
