// The reference view: the nine rich-text pages of the form with their texts filled in, the page
// and title of each section, and printing.

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/console_exercise_control/reference_printing.h"
#include "src/ui/message_dialogs.h"
#include "src/ui/verbatim_html.h"

namespace UI {

namespace {

// Fills the page's placeholders in order, lowest number first.
QString Filled(QString page, const QStringList& texts) {
  for (const QString& text : texts) page = page.arg(text);
  return page;
}

struct ReferencePage {
  int trainer;  // -1: the note and the ear trainer alike
  int section;
  const char* property;
  const char* title;
};

constexpr ReferencePage ReferencePages[] = {
    {-1, 0, "SingleNotes",
     QT_TRANSLATE_NOOP("UI::ConsoleExerciseControl", "Single Notes Reference")},
    {-1, 1, "Intervals", QT_TRANSLATE_NOOP("UI::ConsoleExerciseControl", "Intervals Reference")},
    {-1, 2, "Chords", QT_TRANSLATE_NOOP("UI::ConsoleExerciseControl", "Chords Reference")},
    {1, 3, "Scales", QT_TRANSLATE_NOOP("UI::ConsoleExerciseControl", "Scales Reference")},
    {1, 4, "Tempo", QT_TRANSLATE_NOOP("UI::ConsoleExerciseControl", "Tempo Reference")},
    {2, 0, "NoteLengths",
     QT_TRANSLATE_NOOP("UI::ConsoleExerciseControl", "Note Lengths Reference")},
    {2, 1, "KeySignatures",
     QT_TRANSLATE_NOOP("UI::ConsoleExerciseControl", "Key Signatures Reference")},
    {2, 2, "Tempo", QT_TRANSLATE_NOOP("UI::ConsoleExerciseControl", "Tempo Reference")},
    {2, 3, "Loudness", QT_TRANSLATE_NOOP("UI::ConsoleExerciseControl", "Loudness Reference")},
    {2, 4, "NoteModifiers",
     QT_TRANSLATE_NOOP("UI::ConsoleExerciseControl", "Note Modifiers Reference")},
};

}  // namespace

void ConsoleExerciseControl::convertReferenceText() {
  QLabel* pages = ui.referenceContentContainer;
  auto fill = [pages](const char* name, const QStringList& texts) {
    pages->setProperty(name, Filled(pages->property(name).toString(), texts));
  };
  fill("NoteLengths", {tr("Duration"), tr("Note"), tr("Rest"), tr("Whole"), tr("Half"),
                       tr("Quarter"), tr("8th"), tr("16th"), tr("32nd"), tr("64th"), tr("128th")});
  fill("Tempo",
       {tr("Symbol"), tr("Definition"), tr("Slow and solemn (20-40 bpm)"),
        tr("Very slow (40-60 bpm)"), tr("Slow and stately, literally \"at ease\" (66-76 bpm)"),
        tr("At a walking pace (76-108 bpm)"), tr("Moderately (101-110 bpm)"),
        tr("Fast and bright - at a \"march tempo\" (120-139 bpm)"),
        tr("Lively and fast, quicker than Allegro (~140 bpm)"), tr("Very fast (168-200 bpm)"),
        tr("Extremely fast (more than 200 bpm)")});
  fill("Loudness",
       {tr("Symbol"),
        tr("Name"),
        tr("Description"),
        tr("Fortississimo"),
        tr("'Fortississimo' is an indication to play as loudly as possible."),
        tr("Fortissimo"),
        tr("'Fortissimo' is an indication to play very loudly, louder than 'Forte'."),
        tr("Forte"),
        tr("'Forte' is an indication to play loudly, louder than 'Mezzo forte', but softer than "
           "'Fortissimo'."),
        tr("Mezzo forte"),
        tr("'Mezzo forte' is an indication to play moderately loudly, louder than 'Mezzo piano'."),
        tr("Mezzo piano"),
        tr("'Mezzo piano' is an indication to play moderately softly, softer than 'Mezzo forte'."),
        tr("Piano"),
        tr("'Piano' is an indication to play softly, softer than 'Mezzo piano'."),
        tr("Pianissimo"),
        tr("'Pianissimo' is an indication to play very softly, softer than 'Piano'."),
        tr("Pianississimo"),
        tr("'Pianississimo' is an indication to play as softly as possible."),
        tr("Sforzando"),
        tr("'Sforzando' is an indication to play the note with a sudden, strong accent."),
        tr("Crescendo"),
        tr("'Crescendo' is an indication to play gradually louder."),
        tr("Diminuendo"),
        tr("'Diminuendo' is an indication to play gradually softer.")});
  fill(
      "NoteModifiers",
      {tr("Symbol"),
       tr("Description"),
       tr("'Arpeggio' is an indication to play the notes of the chord one after the other, from "
          "the lowest up."),
       tr("'Tremolo' is an indication to repeat the note rapidly for its whole length."),
       tr("'Accent' is an indication to emphasize the note."),
       tr("'Staccato' is an indication to play the note short, detached from the next."),
       tr("'Staccatissimo' is an indication to play the note very short."),
       tr("'Tenuto' is an indication to hold the note for its full length."),
       tr("'Marcato' is an indication to play the note louder and more forcefully than an accent."),
       tr("'Legato' is an indication to play the notes under the slur smoothly, without breaks."),
       tr("'Tie' is an indication to hold the note through the tied notes as one."),
       tr("'Pedal down' is an indication to press the sustain pedal."),
       tr("'Pedal up' is an indication to release the sustain pedal."),
       tr("'Fermata' is an indication to hold the note longer than written."),
       tr("'Trill' is an indication to alternate rapidly between the note and the one above it."),
       tr("'Appoggiatura' is an indication to lean on the grace note, taking time from the main "
          "note."),
       tr("'Acciaccatura' is an indication to play the grace note as quickly as possible before "
          "the main note."),
       tr("'Ottava alta' is an indication to play the notes an octave higher than written."),
       tr("'Ottava bassa' is an indication to play the notes an octave lower than written."),
       tr("'Repeat' is an indication to play the passage between the signs again."),
       tr("'Volta brackets' are an indication of the endings to play on each repeat."),
       tr("'Flat' is an indication to lower the note by a semitone."),
       tr("'Double flat' is an indication to lower the note by two semitones."),
       tr("'Sharp' is an indication to raise the note by a semitone."),
       tr("'Double sharp' is an indication to raise the note by two semitones."),
       tr("'Natural' is an indication to cancel a sharp or flat on the note.")});
  fill("Intervals",
       {tr("Unison"), tr("Minor 2nd"), tr("Major 2nd"), tr("Minor 3rd"), tr("Major 3rd"),
        tr("Perfect 4th"), tr("Tritone"), tr("Perfect 5th"), tr("Minor 6th"), tr("Major 6th"),
        tr("Minor 7th"), tr("Major 7th"), tr("Octave")});
  fill("Chords",
       {tr("Major Triad - C"), tr("Minor Triad - Cm"), tr("Major Sixth - C6"),
        tr("Minor Sixth - Cm6"), tr("Major Seventh - CM7"), tr("Minor Seventh - Cm7"),
        tr("Dominant Seventh - C7"), tr("Suspended 2 - Csus2"), tr("Suspended 4 - Csus4"),
        tr("Sixth Suspended 2 - C6sus2"), tr("Sixth Suspended 4 - C6sus4"),
        tr("Seventh Suspended 2 - C7sus2"), tr("Seventh Suspended 4 - C7sus4"),
        tr("Augmented - Caug"), tr("Augmented Sixth - Caug6"), tr("Augmented Seventh - Caug7"),
        tr("Diminished - Cdim"), tr("Diminished Seventh - Cdim7")});
  fill("Scales",
       {tr("Major"), tr("Natural Minor"), tr("Melodic Minor"), tr("Melodic Minor (Descending)"),
        tr("Harmonic Minor"), tr("Pentatonic Major"), tr("Pentatonic Minor"), tr("Diminished"),
        tr("Augmented"), tr("Blues"), tr("Arabian"), tr("Whole Tone")});
}

void ConsoleExerciseControl::loadReference(int section, int exerciseId) {
  ui.referenceContentContainer->setTextFormat(Qt::RichText);
  for (const ReferencePage& page : ReferencePages) {
    const bool trainer =
        page.trainer == -1 ? exerciseId == 0 || exerciseId == 1 : exerciseId == page.trainer;
    if (!trainer || page.section != section) continue;
    loadReferenceHelper(page.property);
    ui.ReferenceHeaderLbl->setText(tr(page.title));
    return;
  }
}

void ConsoleExerciseControl::loadReferenceHelper(const char* name) {
  ui.referenceContentContainer->setText(ui.referenceContentContainer->property(name).toString());
}

void ConsoleExerciseControl::SwitchToReferenceSection(int section) {
  UpdateStatSectionButtons(section);
  loadReference(section, int(exerciseId));
}

void ConsoleExerciseControl::PrintSlot() {
  QPrinter printer(QPrinter::ScreenResolution);
  QPrintDialog dialog(&printer, this);
  // A PDF file is offered beside the printers: on a machine without one it is the only way.
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  dialog.setWindowTitle(tr("Melvarin Studio Reference"));
  printDialog = &dialog;
  const bool accepted = dialog.exec() == QDialog::Accepted;
  printDialog = nullptr;
  if (!accepted) return;
  const QString file = printer.outputFileName();
  QString problem;
  switch (ReferencePrint::Print(printer, *ui.referenceContentContainer, ReferencePrint::Header(),
                                ui.ReferenceHeaderLbl->text())) {
    case ReferencePrint::Result::CannotBegin:
      qWarning("failed to open file, is it writable?");
      problem = file.isEmpty()
                    ? tr("No printer could be opened. Choose a printer, or print to a PDF file.")
                    : tr("The file %1 could not be written.").arg(file);
      break;
    case ReferencePrint::Result::PageFailed:
      qWarning("failed in flushing page to disk, disk full?");
      problem = tr("Printing stopped before the last page: a page could not be added.");
      break;
    case ReferencePrint::Result::NoRoom:
      problem = tr("The paper leaves no room to print on.");
      break;
    case ReferencePrint::Result::Printed:
      // A printer shows its paper; a file has to be found.
      if (!file.isEmpty())
        ShowNotice(window(), QStringLiteral("referencePrinted"), tr("Melvarin Studio Reference"),
                   {tr("The reference was printed to %1.")
                        .arg(QStringLiteral("<b>%1</b>")
                                 .arg(VerbatimHtml(QDir::toNativeSeparators(
                                     QFileInfo(file).absoluteFilePath()))))});
      break;
  }
  if (!problem.isEmpty())
    ShowNotice(window(), QStringLiteral("referencePrintFailure"), tr("Melvarin Studio Reference"),
               {(tr("The reference was not printed.") + ' ' + problem).toHtmlEscaped()});
}

}  // namespace UI
