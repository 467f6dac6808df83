#pragma once

// Names that come from outside the program (MIDI devices, files, folders) inside the rich text of
// labels and notices: shown letter for letter, never read as markup.

#include <QString>

namespace UI {

// `text` as rich text that shows exactly `text`: its markup characters escaped, and its runs of
// spaces and its line breaks kept, which rich text would otherwise fold into one space.
QString VerbatimHtml(const QString& text);

}  // namespace UI
