#include "note_scene.h"

#include <sstream>

#include "ARNote.h"
#include "ARRest.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRSystemSlice.h"

namespace EngineTesting {
namespace {

class GlyphWidthFont : public FixedWidthFont {
 public:
  GlyphWidthFont(char const* face, int size, int properties, int* measured,
                 std::map<unsigned char, float> const& widths)
      : FixedWidthFont(face, size, properties, measured), mWidths(widths) {}
  void GetExtent(unsigned char symbol, float* width, float* height,
                 VGDevice* device) const override {
    FixedWidthFont::GetExtent(symbol, width, height, device);
    if (auto it = mWidths.find(symbol); it != mWidths.end()) *width = it->second * GetSize() / 200;
  }

 private:
  std::map<unsigned char, float> const& mWidths;
};

}  // namespace

VGFont const* GlyphWidthSystem::CreateVGFont(char const* face, int size, int properties) const {
  delete FakeSystem::CreateVGFont(face, size, properties);  // keeps the request record
  auto* self = const_cast<GlyphWidthSystem*>(this);
  return new GlyphWidthFont(face, size, properties, &self->measured, widths);
}

template <class Engine>
void NoteScene<Engine>::SetUp() {
  Engine::SetUp();
  grSystem = std::make_unique<GRSystem>();
  auto* slice = new GRSystemSlice(nullptr, Frac_0);
  grSystem->AddSystemSlice(slice);
  staff = new GRStaff(slice);
  slice->addStaff(staff, 0);
  this->StartEngine();
}

template <class Engine>
void NoteScene<Engine>::TearDown() {
  voices.clear();
  tags.clear();
  elements.clear();
  grSystem.reset();
  abstract.clear();
  Engine::TearDown();
}

template <class Engine>
GRSingleNote* NoteScene<Engine>::Note(NotePitch pitch, Fraction display, float x,
                                      ARNoteFormat const* format) {
  auto* ar = Own(new ARNote(pitch.name, pitch.accidentals, pitch.octave, display.getNumerator(),
                            display.getDenominator(), 0));
  auto* note = new GRSingleNote(staff, ar, Frac_0, ar->getDuration());
  elements.emplace_back(note);
  note->setNoteFormat(format);
  note->doCreateNote(display);
  note->setPosition(NVPoint{x, note->getPosition().y});
  return note;
}

template <class Engine>
GRSingleRest* NoteScene<Engine>::Rest(Fraction display, float x) {
  auto* ar = Own(new ARRest(display));
  auto* rest = new GRSingleRest(staff, ar, Frac_0, display, display);
  elements.emplace_back(rest);
  rest->setHPosition(x);
  return rest;
}

template <class Engine>
VoiceElements& NoteScene<Engine>::Voice(char const* text, std::vector<float> xs) {
  voices.push_back(std::make_unique<VoiceElements>(staff, text, std::move(xs)));
  EXPECT_TRUE(voices.back()->parsed()) << text;
  return *voices.back();
}

template <class Engine>
std::vector<GRSingleNote*> NoteScene<Engine>::NotesOf(VoiceElements const& voice) {
  std::vector<GRSingleNote*> notes;
  for (GREvent* event : voice.events)
    if (auto* note = dynamic_cast<GRSingleNote*>(event)) notes.push_back(note);
  return notes;
}

template <class Engine>
void NoteScene<Engine>::Draw() {
  for (auto const& element : elements) element->OnDraw(this->device, this->map);
  for (auto const& tag : tags) tag->OnDraw(this->device, this->map);
  for (auto const& voice : voices) voice->Draw(this->device, this->map);
}

template <class Engine>
std::vector<std::string> NoteScene<Engine>::Symbols(bool withState) const {
  std::vector<std::string> symbols;
  for (std::string const& call : this->device.calls) {
    if (call.rfind("DrawMusicSymbol(", 0) != 0) continue;
    std::istringstream in(call.substr(16));
    float x, y;
    unsigned int code;
    char comma;
    in >> x >> comma >> y >> comma >> code;
    std::ostringstream out;
    out << code << "@" << x << "," << y;
    if (withState) out << call.substr(call.find(')') + 1);
    symbols.push_back(out.str());
  }
  return symbols;
}

template <class Engine>
std::vector<ScoreElementDesc> NoteScene<Engine>::Records(int kind, int subtype) const {
  std::vector<ScoreElementDesc> records;
  for (ScoreElementDesc const& desc : this->map.elements)
    if (desc.kind == kind && desc.subtype == subtype) records.push_back(desc);
  return records;
}

template class NoteScene<GraphicFixture>;
template class NoteScene<RazidFontFixture>;

}  // namespace EngineTesting
