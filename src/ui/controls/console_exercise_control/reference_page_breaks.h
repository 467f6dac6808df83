#pragma once

// Where a printed page may end in a rich-text label without parting what belongs together: a
// page ends between lines of its text or rows of its tables, never through one, and a row of
// captions stays on the page of the row of pictures under it.

#include <QList>

class QLabel;
class QTextDocument;

namespace UI::ReferencePrint {

// The rows, from the top of the document, where its pieces that must stay whole meet: the first
// is the top of the first piece, the last the document's foot, so that each neighbouring pair
// bounds one piece. Empty for an empty document.
QList<int> PieceBounds(const QTextDocument& document);

// The same bounds in the rows of `label`, as it shows its rich text; empty for a label of plain
// text.
QList<int> PieceBounds(const QLabel& label);

}  // namespace UI::ReferencePrint
