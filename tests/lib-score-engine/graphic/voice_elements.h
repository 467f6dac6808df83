#pragma once

#include <memory>
#include <vector>

#include "ARMusic.h"
#include "GREvent.h"

class GRStaff;
class VGDevice;
class VScoreSymbolMap;

namespace EngineTesting {

// The first voice of an RMN text as elements on one staff, made the way the layout's voice
// manager makes them, reduced to one staff and given places: each event is created, told its
// shared stem before its glyphs are built for the length it shows, given its note format, head
// state and articulations, and associated with the shared stems and locations around it; each
// of those ranges is ended after its last event; then every event is placed. Events of one
// shared location stand at one place; the places are xs in order, one every 100 units after the
// last one given.
class VoiceElements {
 public:
  VoiceElements(GRStaff* staff, char const* text, std::vector<float> xs = {});
  // The tags go first, then the events, then the music.
  ~VoiceElements();

  // Events in voice order, then the tags.
  void Draw(VGDevice& device, VScoreSymbolMap& map) const;
  bool parsed() const { return mMusic != nullptr; }

  std::vector<GREvent*> events;
  std::vector<GRNotationElement*> tags;

 private:
  void Build(ARMusicalVoice& voice);

  GRStaff* mStaff;
  std::vector<float> mXs;
  std::unique_ptr<ARMusic> mMusic;
};

}  // namespace EngineTesting
