// What a graphical editor reads of a laid-out score and the commands it may send. Nothing in the
// program is such an editor; the text comes from outside, so every command is checked before it
// touches the score, and one that does not fit changes nothing.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "ARCast.h"
#include "ARMusic.h"
#include "ARMusicalVoice.h"
#include "ARNote.h"
#include "GRARCompositeNotationElement.h"
#include "GRMusic.h"
#include "GRSingleNote.h"
#include "GRStaff.h"
#include "GRSystemSlice.h"
#include "Razid.h"
#include "graphic_stream.h"
#include "music_text.h"
#include "parse_music.h"

namespace {

constexpr int kRefused = -10;
// A note moves by a step of the scale for every half line space.
constexpr long long kHalfLineSpace = 25;
// Steps beyond the octaves a note can have change nothing more.
constexpr long long kMaxSteps = 7 * (MAX_REGISTER - MIN_REGISTER + 1);

// Reads "number,number,...>" from text, exactly count numbers; false when text is anything else.
template <class Number>
bool ReadNumbers(std::string_view text, std::vector<Number>& numbers, size_t count) {
  numbers.clear();
  char const* at = text.data();
  char const* const end = text.data() + text.size();
  while (numbers.size() < count) {
    Number value{};
    auto [next, error] = std::from_chars(at, end, value);
    if (error != std::errc() || next == end) return false;
    numbers.push_back(value);
    char const expected = numbers.size() < count ? ',' : '>';
    if (*next != expected) return false;
    at = next + 1;
  }
  return at == end;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

void AddWithParts(GRNotationElement* element, std::vector<GRNotationElement*>& live) {
  if (!element) return;
  live.push_back(element);
  if (auto const* composite = dynamic_cast<GRARCompositeNotationElement const*>(element))
    for (void* pos = composite->First(); pos;) live.push_back(composite->GetNext(pos));
}

// Everything the page draws that the graphic stream can name: its own elements, its systems'
// elements, and the staves of their slices with what stands on them.
std::vector<GRNotationElement*> LiveElements(GRPage const& page) {
  std::vector<GRNotationElement*> live;
  for (void* pos = page.First(); pos;) AddWithParts(page.GetNext(pos), live);
  KF_IPointerList<GRSystem> const& systems = page.getSystems();
  for (void* pos = systems.GetHeadPosition(); pos;) {
    GRSystem const* system = systems.GetNext(pos);
    for (void* at = system->First(); at;) AddWithParts(system->GetNext(at), live);
    system->forEachStaff([&live](int, GRStaff* staff) {
      live.push_back(staff);
      for (void* on = staff->First(); on;) AddWithParts(staff->GetNext(on), live);
    });
  }
  return live;
}

// The element of the page with that identity; null when none has it. The number is compared
// with the elements' identities and never taken for an address.
GRNotationElement* FindLive(GRPage const& page, std::uintmax_t identity) {
  for (GRNotationElement* element : LiveElements(page))
    if (GGSIdentity(*element) == identity) return element;
  return nullptr;
}

// A note moves sideways and changes its pitch by a step of the scale per half line space up; its
// parts are made again for the new pitch.
void MoveNote(GRSingleNote& note, long long dx, long long dy) {
  note.setHPosition(note.getPosition().x + static_cast<float>(dx));
  // Up is towards smaller y; a part of a half line space moves nothing.
  long long const steps = std::clamp(-(dy / kHalfLineSpace), -kMaxSteps, kMaxSteps);
  std::printf("number of steps : %d\n", static_cast<int>(steps));
  if (auto* written = ar_cast<ARNote>(note.getAbstractRepresentation())) {
    written->offsetpitch(static_cast<int>(steps));
    written->setRegister(written->getOctave());
  }
  Fraction const shown = note.getDurTemplate();
  note.removeElements();
  note.doCreateNote(shown);
  note.recalcVerticalPosition();
}

}  // namespace

void GRMusic::getRazid() const {
  AddRazidOutput(MusicText(*getARMusic()).c_str());
}

void GRMusic::GGSOutputPage(int n) const {
  GRPage const* page = getPage(n);
  if (!page) return;
  ResetGGSOffsets();
  char line[32];
  std::snprintf(line, sizeof line, "\\unit<%d>\n", 25);
  WriteGGS(line);
  page->GGSOutput();
}

int GRMusic::GGSInputPage(int n, char const* command) {
  std::printf("Inside GGSInput: %s\n", command ? command : "");
  if (!command || command[0] == '\0') return kRefused;
  std::string_view const text(command + 1);

  if (StartsWith(text, "add<\"")) {
    std::string_view const rest = text.substr(5);
    size_t const quote = rest.find('"');
    std::vector<int> numbers;
    if (quote == std::string_view::npos || quote > 249 || rest.size() < quote + 2 ||
        rest[quote + 1] != ',' || !ReadNumbers(rest.substr(quote + 2), numbers, 3))
      return kRefused;
    return addQuarterC();
  }
  if (StartsWith(text, "move<")) {
    std::vector<long long> numbers;
    if (!ReadNumbers(text.substr(5), numbers, 3) || numbers[0] < 0) return kRefused;
    GRPage const* page = getPage(n);
    GRNotationElement* element =
        page ? FindLive(*page, static_cast<std::uintmax_t>(numbers[0])) : nullptr;
    if (!element) return kRefused;
    if (auto* note = dynamic_cast<GRSingleNote*>(element)) {
      MoveNote(*note, numbers[1], numbers[2]);
    } else {
      NVPoint moved = element->getPosition();
      moved.x += static_cast<float>(numbers[1]);
      moved.y += static_cast<float>(numbers[2]);
      element->setPosition(moved);
    }
    // The marks over the music measure it again where it now stands.
    KF_IPointerList<GRSystem> const& systems = page->getSystems();
    for (void* pos = systems.GetHeadPosition(); pos;) systems.GetNext(pos)->forgetMeasuredMusic();
    return 0;
  }
  if (StartsWith(text, "remove_image<")) {
    std::vector<long long> numbers;
    if (ReadNumbers(text.substr(13), numbers, 1))
      std::printf("remove_image: %lld is kept\n", numbers[0]);
  }
  return kRefused;
}

// The music is written out as text with the note at the end of its first voice and read back,
// so that the note takes part in everything the parse and the passes do, as if it had been
// written there. The voices read back replace the old ones in the same music, which the handles
// of the engine's interface keep naming.
int GRMusic::addQuarterC() {
  ARMusic* music = getARMusic();
  if (!music || music->GetCount() == 0) return kRefused;
  ParsedMusic parsed = ParseMusicText(MusicText(*music, 0, " c1*1/4").c_str());
  if (parsed.result != 0 || !parsed.music) return kRefused;

  // The layout goes first: its elements still point into the old voices.
  RemoveLayout();
  music->RemoveAll();
  ARMusic& fresh = *parsed.music;
  fresh.setOwnership(0);
  for (void* pos = fresh.GetHeadPosition(); pos;) music->AddTail(fresh.GetNext(pos));
  fresh.RemoveAll();
  music->setDuration(fresh.getDuration());
  music->setMaxTagId(fresh.getMaxTagId());
  createGR(nullptr);
  return 0;
}
