#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ARMusicalObject.h"
#include "Fraction.h"
#include "GRNotationElement.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "graphic_fixture.h"
#include "razid_font_system.h"
#include "voice_elements.h"

class ARNoteFormat;
class GRSingleNote;
class GRSingleRest;

namespace EngineTesting {

// Fixed-width fonts whose glyphs are 0.3 of the size wide but for the codes given here, whose
// widths are those at the start-up size 200.
class GlyphWidthSystem : public FakeSystem {
 public:
  std::map<unsigned char, float> widths;
  VGFont const* CreateVGFont(char const* face, int size, int properties) const override;
};

// A written note: name ("c" .. "h"), register and accidentals.
struct NotePitch {
  char const* name;
  int octave;
  int accidentals = 0;
};

// One staff at y 0 in the treble clef, with notes, rests and chords made from hand-made
// abstract objects as the voice manager makes them: created, given their shared stem before
// their glyphs are built for the length shown, associated with their range tags, the ranges
// ended, and then placed. Elements draw in the order made, then the tags.
template <class Engine>
class NoteScene : public Engine {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The format, when given, applies before the glyphs are built.
  GRSingleNote* Note(NotePitch pitch, Fraction display, float x = 200,
                     ARNoteFormat const* format = nullptr);
  GRSingleRest* Rest(Fraction display, float x = 200);
  // The first voice of text as elements (see VoiceElements), drawn after the scene's own.
  VoiceElements& Voice(char const* text, std::vector<float> xs = {200});
  // The notes among its events, in voice order.
  static std::vector<GRSingleNote*> NotesOf(VoiceElements const& voice);
  void Draw();

  // The calls of drawing music symbols, as "code@x,y" with the state they were drawn in when
  // withState.
  std::vector<std::string> Symbols(bool withState = false) const;
  std::vector<ScoreElementDesc> Records(int kind, int subtype) const;

  template <class T>
  T* Own(T* ar) {
    abstract.emplace_back(ar);
    return ar;
  }

  std::vector<std::unique_ptr<ARMusicalObject>> abstract;
  std::unique_ptr<GRSystem> grSystem;
  GRStaff* staff = nullptr;
  std::vector<std::unique_ptr<GRNotationElement>> elements;
  std::vector<std::unique_ptr<VoiceElements>> voices;
  std::vector<std::unique_ptr<GRNotationElement>> tags;
};

using FakeFontNotes = NoteScene<GraphicFixture>;
using RazidNotes = NoteScene<RazidFontFixture>;

}  // namespace EngineTesting
