#pragma once

// What a label shows the learner, letter for letter: its text read as the label reads it (rich
// text or plain), with the letters that stand in bold and in italics picked out.

#include <QFont>
#include <QLabel>
#include <QTextBlock>
#include <QTextDocument>

namespace Testing {

struct ShownText {
  QString all;
  QString bold;    // every bold letter, in order
  QString italic;  // every italic letter, in order
  QString marked;  // `all` with each bold run between "<b>" and "</b>"
};

inline ShownText ShownIn(const QLabel* label) {
  QTextDocument document;
  const bool rich = label->textFormat() == Qt::RichText ||
                    (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
  if (rich)
    document.setHtml(label->text());
  else
    document.setPlainText(label->text());
  ShownText shown;
  bool inBold = false;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    // A break that the bold letters go on across counts among them.
    bool breakBefore = block != document.begin();
    if (breakBefore) {
      shown.all += '\n';
      shown.marked += '\n';
    }
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
      // Inside a paragraph a line break is a separator of the document's own, and a
      // non-breaking space is a space to the eye.
      QString letters = it.fragment().text();
      letters.replace(QChar::LineSeparator, '\n').replace(QChar::Nbsp, ' ');
      const QTextCharFormat format = it.fragment().charFormat();
      const bool bold = format.fontWeight() >= QFont::Bold;
      if (bold) shown.bold += (breakBefore && inBold ? "\n" : "") + letters;
      breakBefore = false;
      if (bold != inBold) shown.marked += bold ? "<b>" : "</b>";
      inBold = bold;
      shown.all += letters;
      shown.marked += letters;
      if (format.fontItalic()) shown.italic += letters;
    }
  }
  if (inBold) shown.marked += "</b>";
  return shown;
}

}  // namespace Testing
