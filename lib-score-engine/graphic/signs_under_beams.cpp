#include "signs_under_beams.h"

#include <optional>

#include "ARCast.h"
#include "GRAccidental.h"
#include "GRGlobalStem.h"
#include "GRSingleNote.h"

// A flat's stem reaches higher than its bowl reaches down, a double sharp is a head high.
void SignReach(unsigned int symbol, float* above, float* below) {
  switch (symbol) {
    case 98:   // flat
    case 134:  // double flat
      *above = 95;
      *below = 32;
      return;
    case 180:  // double sharp
      *above = *below = 28;
      return;
    default:  // sharp, natural
      *above = *below = 77;
  }
}

namespace {

// Half a ledger line's thickness at size 1.
constexpr float kLedgerLineHalfThickness = 2;

// The signs of the note, as they stand when the note stands at x: a beam is placed when the
// chord's leading event is, before the spring of that event puts the chord's notes there.
void AddSigns(GRSingleNote const* note, std::optional<float> x, std::vector<NVRect>& inks) {
  if (!note) return;
  float const shift = x ? *x - note->getPosition().x : 0;
  KF_IPointerList<GRAccidental> signs(0);
  note->extractAccidentals(&signs);
  for (void* pos = signs.GetHeadPosition(); pos;) {
    GRAccidental const* sign = signs.GetNext(pos);
    NVPoint const at = sign->getPosition() + sign->getOffset() + NVPoint{shift, 0};
    float above = 0, below = 0;
    SignReach(sign->getSymbol(), &above, &below);
    float const half = sign->getRightSpace();
    inks.push_back(NVRect{at.x - half, at.y - above * note->getSize(), at.x + half,
                          at.y + below * note->getSize()});
  }
}

// The ledger lines of the note, as they stand when the note stands at x.
void AddLedgerLines(GRSingleNote const* note, std::optional<float> x, std::vector<NVRect>& inks) {
  if (!note) return;
  GRSingleNote::LedgerLines const lines = note->ledgerLines();
  float const shift = x ? *x - note->getPosition().x : 0;
  float const half = kLedgerLineHalfThickness * note->getSize();
  for (int i = 0; i < lines.count; ++i) {
    float const y = lines.first + static_cast<float>(i) * lines.step;
    inks.push_back(NVRect{lines.left + shift, y - half, lines.right + shift, y + half});
  }
}

// The notes of an event: its chord's, led by the chord's first, or the event alone.
template <class F>
void ForEachNote(GREvent const& event, F add) {
  GRGlobalStem const* chord = event.getGlobalStem();
  if (!chord) {
    add(ar_cast<GRSingleNote const>(&event), std::nullopt);
    return;
  }
  GRNotationElement const* first = chord->getFirstEl();
  std::optional<float> const x =
      first ? std::optional<float>(first->getPosition().x) : std::nullopt;
  add(ar_cast<GRSingleNote const>(first), x);
  if (NEPointerList const* notes = chord->getAssociations())
    for (void* pos = notes->GetHeadPosition(); pos;)
      add(ar_cast<GRSingleNote const>(notes->GetNext(pos)), x);
}

}  // namespace

std::vector<NVRect> NoteSignInks(GRSingleNote const& note) {
  std::vector<NVRect> inks;
  AddSigns(&note, std::nullopt, inks);
  return inks;
}

std::vector<NVRect> SignInks(GREvent const& event) {
  std::vector<NVRect> inks;
  ForEachNote(event,
              [&](GRSingleNote const* note, std::optional<float> x) { AddSigns(note, x, inks); });
  return inks;
}

std::vector<NVRect> LedgerLineInks(GREvent const& event) {
  std::vector<NVRect> inks;
  ForEachNote(event, [&](GRSingleNote const* note, std::optional<float> x) {
    AddLedgerLines(note, x, inks);
  });
  return inks;
}
