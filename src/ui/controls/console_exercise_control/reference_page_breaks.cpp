#include "src/ui/controls/console_exercise_control/reference_page_breaks.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cmath>
#include <limits>
#include <memory>

namespace UI::ReferencePrint {

namespace {

// One piece of the document that a page break must not cut: a paragraph or a table row.
struct Piece {
  qreal top = std::numeric_limits<qreal>::max();
  qreal bottom = std::numeric_limits<qreal>::lowest();
  bool text = false;
  bool picture = false;

  bool Empty() const { return top > bottom; }
  void Join(const Piece& other) {
    top = std::min(top, other.top);
    bottom = std::max(bottom, other.bottom);
    text = text || other.text;
    picture = picture || other.picture;
  }
};

// The blocks from `first` to `last`, both included, with what they hold.
Piece Measure(const QTextDocument& document, QTextBlock first, const QTextBlock& last) {
  Piece piece;
  for (QTextBlock block = first; block.isValid(); block = block.next()) {
    const QRectF box = document.documentLayout()->blockBoundingRect(block);
    piece.top = std::min(piece.top, box.top());
    piece.bottom = std::max(piece.bottom, box.bottom());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.charFormat().isImageFormat())
        piece.picture = true;
      else if (!fragment.text().trimmed().isEmpty())
        piece.text = true;
    }
    if (block == last) break;
  }
  return piece;
}

// A row of words over a row with pictures is their row of captions.
bool Captions(const Piece& above, const Piece& row) {
  return above.text && !above.picture && row.picture;
}

void AddTableRows(const QTextDocument& document, const QTextTable& table, QList<Piece>& pieces) {
  for (int r = 0; r < table.rows(); ++r) {
    Piece row;
    bool spanned = false;  // a cell of an earlier row reaches into this one
    for (int c = 0; c < table.columns(); ++c) {
      const QTextTableCell cell = table.cellAt(r, c);
      if (cell.row() < r) spanned = true;
      if (cell.row() == r && cell.column() == c)
        row.Join(Measure(document, cell.firstCursorPosition().block(),
                         cell.lastCursorPosition().block()));
    }
    if (r > 0 && !pieces.isEmpty() && (spanned || Captions(pieces.last(), row)))
      pieces.last().Join(row);
    else if (!row.Empty())
      pieces.append(row);
  }
}

}  // namespace

QList<int> PieceBounds(const QTextDocument& document) {
  QList<Piece> pieces;
  QTextFrame* root = document.rootFrame();
  for (auto it = root->begin(); !it.atEnd(); ++it) {
    if (const auto* table = qobject_cast<const QTextTable*>(it.currentFrame())) {
      AddTableRows(document, *table, pieces);
    } else if (const QTextFrame* frame = it.currentFrame()) {
      // Any other frame stays whole.
      pieces.append(Measure(document, frame->firstCursorPosition().block(),
                            frame->lastCursorPosition().block()));
    } else {
      pieces.append(Measure(document, it.currentBlock(), it.currentBlock()));
    }
    if (!pieces.isEmpty() && pieces.last().Empty()) pieces.removeLast();
  }
  if (pieces.isEmpty()) return {};
  // Pieces meet halfway between one's last row of ink and the next one's first, so that a
  // break leaves each its margins.
  QList<int> bounds{int(std::floor(pieces.first().top))};
  for (qsizetype i = 1; i < pieces.size(); ++i)
    bounds.append(
        std::max(bounds.last(), int(std::floor((pieces[i - 1].bottom + pieces[i].top) / 2))));
  const qreal foot =
      std::max(pieces.last().bottom, document.documentLayout()->documentSize().height());
  bounds.append(std::max(bounds.last(), int(std::ceil(foot))));
  return bounds;
}

QList<int> PieceBounds(const QLabel& label) {
  // The label keeps its rich text in a document of its own; a copy is laid out at the width the
  // label gives it, which the label itself only does when it next paints.
  const auto* shown = label.findChild<const QTextDocument*>();
  if (!shown) return {};
  const std::unique_ptr<QTextDocument> document(shown->clone());
  QRect area = label.contentsRect().adjusted(label.margin(), label.margin(), -label.margin(),
                                             -label.margin());
  int indent = label.indent();
  if (indent < 0 && label.frameWidth() > 0)
    indent = label.fontMetrics().horizontalAdvance(u'x') / 2 - label.margin();
  if (indent > 0)
    area.setWidth(area.width() - indent * (label.alignment() & Qt::AlignHCenter ? 2 : 1));
  document->setTextWidth(area.width());
  // Text shorter than the label stands where the label's alignment puts it.
  const qreal height = document->documentLayout()->documentSize().height();
  qreal top = area.top();
  if (label.alignment() & Qt::AlignVCenter)
    top += std::max<qreal>(0, (area.height() - height) / 2);
  else if (label.alignment() & Qt::AlignBottom)
    top += std::max<qreal>(0, area.height() - height);
  QList<int> bounds = PieceBounds(*document);
  for (int& bound : bounds) bound += int(std::floor(top));
  return bounds;
}

}  // namespace UI::ReferencePrint
