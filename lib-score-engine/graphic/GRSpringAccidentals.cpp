// Keeps the accidentals of notes that stand at one time from overlapping: on each staff the
// signs stand in columns left of the leftmost head, the highest sign nearest the heads, a sign
// going to the first column where it clears the signs already there.

#include <algorithm>
#include <span>
#include <vector>

#include "ARCast.h"
#include "GRAccidental.h"
#include "GRGlobalStem.h"
#include "GRSingleNote.h"
#include "GRSpring.h"
#include "GRSpringCollider.h"
#include "GRStdNoteHead.h"
#include "GRStem.h"
#include "signs_under_beams.h"

namespace {

// Signs closer in height than this share no column, nor any whose inks would meet.
constexpr float kAccidentalReach = 150;

// On a staff of line space 50: how far the signs stand off a held head they stand in front of
// (one tied over from the note before, which has no sign of its own), and how near above or below
// that head's middle a sign's ink stands in the way of the tie coming into it. The tie's end
// dips under (over) the sign and rises into its head in that room: ending before the sign, it
// would not be read as joining the head (a piece going on from the line before above all, which
// cannot rise over the sign, bound to the side it began on).
constexpr float kRoomForTie = 35;
constexpr float kTieInTheWay = 40;

struct Column {
  std::vector<GRAccidental*> signs;
  float width = 0;
};

bool Clears(Column const& column, GRAccidental const* sign) {
  return std::none_of(column.signs.begin(), column.signs.end(), [sign](GRAccidental const* other) {
    GRAccidental const* upper = other->getPosition().y < sign->getPosition().y ? other : sign;
    GRAccidental const* lower = upper == other ? sign : other;
    float upperAbove = 0, upperBelow = 0, lowerAbove = 0, lowerBelow = 0;
    SignReach(upper->getSymbol(), &upperAbove, &upperBelow);
    SignReach(lower->getSymbol(), &lowerAbove, &lowerBelow);
    float const inks = upperBelow * upper->getSize() + lowerAbove * lower->getSize();
    return lower->getPosition().y - upper->getPosition().y < std::max(kAccidentalReach, inks);
  });
}

// The signs of a note standing beside another voice's head on its step, right to left before
// its own head.
void PlaceSignsAtHead(GRSingleNote& note) {
  KF_IPointerList<GRAccidental> signs(0);
  note.extractAccidentals(&signs);
  float const size = note.getSize();
  float right = note.getNoteHead()->getOffset().x - 0.5f * note.getHeadWidth() * size;
  for (void* pos = signs.GetHeadPosition(); pos;) {
    GRAccidental* sign = signs.GetNext(pos);
    if (sign->getOffsetSet()) continue;  // placed by the score
    right -= 10 * size;
    sign->placeRightEdgeAt(right);
    right -= 2 * sign->getRightSpace();
  }
}

// Whether a sign of the notes stands at the height of a held note's head among them.
bool SignBeforeHeldHead(std::span<GRSingleNote* const> notes) {
  for (GRSingleNote const* held : notes) {
    if (!held->isTiedOver() || !held->getNoteHead()) continue;
    float const middle = held->getPosition().y;
    float const reach = kTieInTheWay * held->getSize();
    for (GRSingleNote const* note : notes) {
      if (note == held || note->signsAtHead()) continue;
      for (NVRect const& sign : NoteSignInks(*note))
        if (sign.top < middle + reach && sign.bottom > middle - reach) return true;
    }
  }
  return false;
}

// The signs of the notes of one staff, placed relative to the notes' common x.
void PlaceSigns(std::span<GRSingleNote* const> notes) {
  KF_IPointerList<GRAccidental> accidentals(0);
  float headsLeft = 0;
  float size = 0;
  bool anyHead = false;
  for (GRSingleNote* note : notes) {
    GRStdNoteHead const* head = note->getNoteHead();
    if (head && note->signsAtHead()) {
      PlaceSignsAtHead(*note);
      continue;
    }
    note->extractAccidentals(&accidentals);
    if (head) {
      float const left = head->getOffset().x - 0.5f * note->getHeadWidth() * note->getSize();
      headsLeft = anyHead ? std::min(headsLeft, left) : left;
      size = std::max(size, note->getSize());
      anyHead = true;
    }
  }
  if (accidentals.GetCount() == 0 || !anyHead) return;
  accidentals.sort(compaccposy);

  std::vector<Column> columns;
  for (void* pos = accidentals.GetHeadPosition(); pos;) {
    GRAccidental* sign = accidentals.GetNext(pos);
    if (sign->getOffsetSet()) continue;  // placed by the score
    auto column = std::find_if(columns.begin(), columns.end(),
                               [sign](Column const& c) { return Clears(c, sign); });
    if (column == columns.end()) column = columns.insert(columns.end(), Column{});
    column->signs.push_back(sign);
    column->width = std::max(column->width, 2 * sign->getRightSpace());
  }
  // A single sign keeps a fifth of a space from its head; the glyphs' own margins part the
  // columns.
  float right = headsLeft - 10 * size;
  if (SignBeforeHeldHead(notes)) right -= kRoomForTie * size;
  for (Column const& column : columns) {
    for (GRAccidental* sign : column.signs) sign->placeRightEdgeAt(right);
    right -= column.width;
  }
}

}  // namespace

void GRSpring::checkAccidentalCollisions() {
  std::vector<GRSingleNote*> notes;
  notes.reserve(static_cast<std::size_t>(mElements.GetCount()));
  for (void* pos = mElements.GetHeadPosition(); pos;)
    if (auto* note = ar_cast<GRSingleNote>(mElements.GetNext(pos))) notes.push_back(note);
  // Staff by staff, in the order of their first notes, each staff's notes in the spring's order:
  // the notes of the staff are brought up behind its first, the others keeping their order.
  for (auto begin = notes.begin(); begin != notes.end();) {
    GRStaff const* const staff = (*begin)->getGRStaff();
    auto end = std::next(begin);
    for (auto at = end; at != notes.end(); ++at)
      if ((*at)->getGRStaff() == staff) std::rotate(end++, at, std::next(at));
    PlaceSigns({begin, end});
    for (; begin != end; ++begin) (*begin)->updateBoundingBox();
  }
  // A note was sorted into bands when it came into the spring, before its stem was set: a stem
  // up would take no room from the signs of the next note that stand beside it.
  if (!notes.empty()) refreshCollider();
}

// The notes were sorted into bands by their boxes before their signs and a chord's shared stem
// were settled: they are sorted again, the signs at their full height and the stem in the bands of
// the chord's note that needs the least room on the left (the stem takes no more than a head's
// room).
void GRSpring::refreshCollider() {
  if (mCollider)
    mCollider->Clear();
  else
    mCollider = new GRSpringCollider;
  std::vector<std::pair<GRSingleNote*, void*>> stemHolders;
  for (void* pos = mElements.GetHeadPosition(); pos;) {
    void* at = pos;
    GRNotationElement* element = mElements.GetNext(pos);
    mCollider->AddElement(element, at);
    auto* note = ar_cast<GRSingleNote>(element);
    if (!note) continue;
    // A sign reaches further up and down than its box: a sharp or a natural by half a space,
    // a flat's stem further up.
    for (NVRect const& sign : NoteSignInks(*note)) {
      float const reach = 75 * note->getSize();
      mCollider->AddExtent(note, at, std::min(sign.top, note->getPosition().y - reach),
                           std::max(sign.bottom, note->getPosition().y + reach));
    }
    if (!note->getGlobalStem()) continue;
    auto holder = std::find_if(stemHolders.begin(), stemHolders.end(), [note](auto const& h) {
      return h.first->getGlobalStem() == note->getGlobalStem();
    });
    if (holder == stemHolders.end())
      stemHolders.emplace_back(note, at);
    else if (note->getLeftSpace() < holder->first->getLeftSpace())
      *holder = {note, at};
  }
  for (auto const& [note, at] : stemHolders) {
    GRStem const* stem = note->getGlobalStem()->getGRStem();
    if (!stem || stem->getStemDir() == dirOFF) continue;
    float const y = stem->getPosition().y;
    mCollider->AddExtent(note, at, y + stem->getBoundingBox().top,
                         y + stem->getBoundingBox().bottom);
  }
}
