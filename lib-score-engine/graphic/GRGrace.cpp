#include "GRGrace.h"

#include <algorithm>

#include "ARCast.h"
#include "ARGrace.h"
#include "GRGlobalLocation.h"
#include "NEPointerList.h"
#include "engine_globals.h"
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
}

void GRGrace::removeAssociation(GRNotationElement* element) {
  mNotes.erase(std::remove(mNotes.begin(), mNotes.end(), element), mNotes.end());
  GRNotationElement::removeAssociation(element);
}

void GRGrace::AddTail(GRNotationElement* element) {
  GRARCompositeNotationElement::AddTail(element);
  if (mAssociated && mAssociated->GetElementPos(element)) mAssociated->RemoveElement(element);
}

bool GRGrace::hasOneAssociation() const {
  return mAssociated && mAssociated->GetCount() == 1;
}

void GRGrace::tellPosition(GObject* caller, NVPoint const& point) {
  if (!hasOneAssociation()) {
    ZudidOvod("More than one association for GRGrace");
    return;
  }
  setHPosition(point.x - 60);
  auto const* event = dynamic_cast<GRNotationElement const*>(caller);
  if (!event || event != mAssociated->GetHead()) return;
  // The notes in columns: a grace chord is one column, its notes one above the other on one
  // stem.
  struct Column {
    size_t first, last;  // the notes of the column, last one excluded
    float left, right;   // the widest room of its notes on either side
    float x;
  };
  std::vector<Column> columns;
  for (size_t i = 0; i < mNotes.size(); ++i) {
    GRNotationElement const* note = mNotes[i];
    if (columns.empty() || ColumnOf(note) != ColumnOf(mNotes[columns.back().first]))
      columns.push_back(Column{i, i, 0, 0, 0});
    Column& column = columns.back();
    column.last = i + 1;
    column.left = std::max(column.left, note->getLeftSpace());
    column.right = std::max(column.right, note->getRightSpace());
  }
  // Right to left from the event's room on the left, each column's room on the right holding
  // the gap to what follows it; then moved in their order, so that a beam over them is placed
  // once all of them stand.
  float x = point.x - event->getLeftSpace();
  for (size_t c = columns.size(); c-- > 0;) {
    columns[c].x = x - columns[c].right;
    x = columns[c].x - columns[c].left;
  }
  for (Column const& column : columns)
    for (size_t i = column.first; i < column.last; ++i) mNotes[i]->setHPosition(column.x);
}

void GRGrace::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (hasOneAssociation()) DrawSubElements(device, map);
}
