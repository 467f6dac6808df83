#pragma once
// The music-symbols trainer's question pictures: each is a line of RMN from a table, engraved by
// the notation engine on a page shrunk to the music and 400 pixels wide, with a mark the engine
// does not draw painted next to its notes where the line names one.
#include "tools/pictures/reference_marks.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace QuestionPictures {

struct Question {
  QString file;  // file name in the question picture folder
  QString rmn;
  Pictures::ReferenceMark mark = Pictures::ReferenceMark::None;
};

// The table's lines: the file name, a tab, the RMN and optionally a tab and the mark's name
// (Pictures::ReferenceMarkNamed). Lines starting with "#" and blank lines are skipped. Empty, with
// `error` naming the line, when a line is not of that form or the table cannot be read.
std::vector<Question> ReadTable(const QString& path, QString* error);

struct Engraving {
  QImage picture;                 // null when the engine refuses the RMN
  Pictures::EngravedNotes notes;  // where the engine placed the notes, in picture pixels
};

// The picture of one question. The engine must have been started.
Engraving Engrave(const Question& question);

// Engraves every question into `folder`; returns the names written. Stops at the first picture
// that cannot be engraved or written and returns the names written so far with `error` set.
QStringList WriteAll(const std::vector<Question>& questions, const QDir& folder, QString* error);

}  // namespace QuestionPictures
