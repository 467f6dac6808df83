#include "GRGrace.h"

#include <algorithm>
#include <vector>

#include "ARCast.h"
#include "ARGrace.h"
#include "GRArticulation.h"
#include "GREvent.h"
#include "GRGlobalLocation.h"
#include "GRGlobalStem.h"
#include "GRSingleNote.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "NEPointerList.h"
#include "engine_globals.h"
#include "signs_under_beams.h"
#include "src/common/assertion.h"

namespace {

// The chord an element belongs to, by the place its notes share; the element itself when it
// stands alone.
GObject const* ColumnOf(GRNotationElement const* element) {
  if (NEPointerList const* list = element->getAssociations())
    for (void* pos = list->GetHeadPosition(); pos;)
      if (auto const* location = ar_cast<GRGlobalLocation const>(list->GetNext(pos)))
        return location;
  return element;
}

// The events of the column an event stands in: a chord's notes, or the event alone.
std::vector<GREvent const*> EventsOfColumn(GRNotationElement const* element) {
  std::vector<GREvent const*> events;
  GObject const* column = ColumnOf(element);
  auto const* location = column != element ? static_cast<GRGlobalLocation const*>(column) : nullptr;
  if (NEPointerList const* list = location ? location->getAssociations() : nullptr) {
    for (void* pos = list->GetHeadPosition(); pos;)
      if (auto const* event = ar_cast<GREvent const>(list->GetNext(pos))) events.push_back(event);
  } else if (auto const* event = ar_cast<GREvent const>(element)) {
    events.push_back(event);
  }
  return events;
}

// How far left of the column's place the marks of its notes reach (a fermata is wider than a
// head), among those that stand between top and bottom; 0 for none.
float MarksReach(GRNotationElement const* element, float top, float bottom) {
  float reach = 0;
  for (GREvent const* event : EventsOfColumn(element)) {
    for (auto const& mark : event->getArticulations()) {
      // A breath mark stands after its note.
      if (mark->getArticulationFlag() == GRArticulation::kBreathMark) continue;
      NVRect const& box = mark->getBoundingBox();
      float const y = mark->getPosition().y;
      if (y + box.top < bottom && y + box.bottom > top) reach = std::max(reach, -box.left);
    }
  }
  return reach;
}

// The spring a grace note stands on in its line; none for one its group places alone.
GRSpring const* SpringOf(GRNotationElement const* note) {
  GRStaff const* staff = note->getGRStaff();
  GRSystem const* system = staff ? staff->getGRSystem() : nullptr;
  KF_IVector<GRSpring> const* springs = system ? system->getSprings() : nullptr;
  int const id = note->getSpringID();
  return springs && id >= 0 ? springs->Get(id) : nullptr;
}

// How far left of the event's place the notes of other voices standing with it on its staff
// reach, in the spring that holds them all, where their signs stand between top and bottom.
float OtherVoicesLead(GRNotationElement const* event, GRSpring const* spring, float top,
                      float bottom) {
  if (!spring) return 0;
  float lead = 0;
  KF_IPointerList<GRNotationElement> const& elements = spring->getElements();
  for (void* pos = elements.GetHeadPosition(); pos;) {
    auto const* other = ar_cast<GRSingleNote const>(elements.GetNext(pos));
    if (!other || other == event || other->getGRStaff() != event->getGRStaff()) continue;
    for (NVRect const& sign : NoteSignInks(*other))
      if (sign.top < bottom && sign.bottom > top) lead = std::max(lead, other->getLeftSpace());
  }
  return lead;
}

}  // namespace

GRGrace::GRGrace(GRStaff* staff, ARGrace* grace)
    : GRARCompositeNotationElement(grace),
      GRPositionTag(grace ? grace->getEndPosition() : nullptr, grace) {
  MELVARIN_ASSERT(staff);
  mGrStaff = staff;
  addFirstStartEnd(staff);
}

void GRGrace::addAssociation(GRNotationElement* element) {
  GRNotationElement::addAssociation(element);
  // A mark over the note that reaches past its head as high as the grace notes (a fermata's
  // arc over their stems and flags) keeps them off: the note keeps the room on its left.
  if (auto* event = ar_cast<GREvent>(element))
    if (float const reach = marksReach(element); reach > 0) event->reserveSpace(reach, 0);
}

bool GRGrace::heights(float* top, float* bottom) const {
  if (mNotes.empty()) return false;
  for (size_t i = 0; i < mNotes.size(); ++i) {
    GRNotationElement const* note = mNotes[i];
    NVRect box = note->getBoundingBox() + NVPoint{0, note->getPosition().y};
    if (auto const* grace = ar_cast<GREvent const>(note))
      if (GRGlobalStem const* stem = grace->getGlobalStem())
        box.Merge(stem->getBoundingBox() + NVPoint{0, stem->getPosition().y});
    *top = i == 0 ? box.top : std::min(*top, box.top);
    *bottom = i == 0 ? box.bottom : std::max(*bottom, box.bottom);
  }
  float const gap = 0.1f * (mGrStaff ? mGrStaff->getLineSpace() : 50);
  *top -= gap;
  *bottom += gap;
  return true;
}

float GRGrace::marksReach(GRNotationElement const* event) const {
  float top = 0, bottom = 0;
  return heights(&top, &bottom) ? MarksReach(event, top, bottom) : 0;
}

void GRGrace::removeAssociation(GRNotationElement* element) {
  mNotes.erase(std::remove(mNotes.begin(), mNotes.end(), element), mNotes.end());
  GRNotationElement::removeAssociation(element);
}

void GRGrace::AddTail(GRNotationElement* element) {
  GRARCompositeNotationElement::AddTail(element);
  if (mAssociated && mAssociated->GetElementPos(element)) mAssociated->RemoveElement(element);
}

void GRGrace::leanOnChord(GREvent* chord) {
  addAssociation(chord);
  chord->addAssociation(this);
  // Its notes take no spring of their own: the chord keeps room for them on its left, beyond
  // the room its own notes and marks take.
  float lead = marksReach(chord);
  for (GREvent const* event : EventsOfColumn(chord)) lead = std::max(lead, event->getLeftSpace());
  float width = 0;
  GObject const* column = nullptr;
  float left = 0, right = 0;
  for (GRNotationElement const* note : mNotes) {
    if (ColumnOf(note) != column) {
      width += left + right;
      column = ColumnOf(note);
      left = right = 0;
    }
    left = std::max(left, note->getLeftSpace());
    right = std::max(right, note->getRightSpace());
  }
  width += left + right;
  mChordLead = lead;
  chord->reserveSpace(lead + width, 0);
}

bool GRGrace::holds(GRNotationElement const* element) const {
  return std::find(mNotes.begin(), mNotes.end(), element) != mNotes.end();
}

GRNotationElement* GRGrace::leansOn() const {
  return hasOneAssociation() ? mAssociated->GetHead() : nullptr;
}

bool GRGrace::hasOneAssociation() const {
  return mAssociated && mAssociated->GetCount() == 1;
}

std::vector<GRGrace::Place> GRGrace::placesBefore(GRNotationElement const* event,
                                                  GRSpring const* spring) const {
  // The notes in columns: a grace chord is one column, its notes one above the other on one
  // stem.
  struct Column {
    size_t first, last;  // the notes of the column, last one excluded
    float left, right;   // the widest room of its notes on either side
  };
  std::vector<Column> columns;
  for (size_t i = 0; i < mNotes.size(); ++i) {
    GRNotationElement const* note = mNotes[i];
    if (columns.empty() || ColumnOf(note) != ColumnOf(mNotes[columns.back().first]))
      columns.push_back(Column{i, i, 0, 0});
    Column& column = columns.back();
    column.last = i + 1;
    column.left = std::max(column.left, note->getLeftSpace());
    column.right = std::max(column.right, note->getRightSpace());
  }
  // Right to left from the event's room on the left, each column's room on the right holding
  // the gap to what follows it; a grace's stem or flag keeps clear of a mark over the note too.
  // A chord's place holder takes no room of its own: its notes and their signs do.
  float lead = mChordLead;
  if (lead < 0) {
    lead = std::max(event->getLeftSpace(), marksReach(event));
    for (GREvent const* note : EventsOfColumn(event)) lead = std::max(lead, note->getLeftSpace());
    if (float top = 0, bottom = 0; heights(&top, &bottom))
      lead = std::max(lead, OtherVoicesLead(event, spring ? spring : SpringOf(event), top, bottom));
  }
  std::vector<Place> places(mNotes.size());
  float before = lead;
  for (size_t c = columns.size(); c-- > 0;) {
    before += columns[c].right;
    for (size_t i = columns[c].first; i < columns[c].last; ++i) places[i] = {mNotes[i], before};
    before += columns[c].left;
  }
  return places;
}

void GRGrace::tellPosition(GObject* caller, NVPoint const& point) {
  if (!hasOneAssociation()) {
    ZudidOvod("More than one association for GRGrace");
    return;
  }
  setHPosition(point.x - 60);
  auto const* event = dynamic_cast<GRNotationElement const*>(caller);
  if (!event || event != mAssociated->GetHead()) return;
  // Moved in their order, so that a beam over them is placed once all of them stand. The springs
  // keep room for them before the event; a line squeezed to the page's width shrinks that room
  // with the rest of its music, and a grace note then keeps its spring's place rather than
  // standing over the event before it.
  for (Place const& place : placesBefore(event)) {
    float x = point.x - place.before;
    if (GRSpring const* spring = SpringOf(place.note)) x = std::max(x, spring->getX());
    place.note->setHPosition(x);
  }
}

void GRGrace::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (hasOneAssociation()) DrawSubElements(device, map);
}
