// The texts of the ear trainer's settings panel, translated in the panel's context. The form's
// titles are rich-text templates with "%1" and "%2" where the words go.

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

#include "src/ui/controls/ear_settings_binding.h"
#include "src/ui/controls/settings_ear_control.h"
#include "ui_settings_ear_control.h"

namespace UI {

namespace {
void FillTemplate(QWidget* widget, const QString& first, const QString& second = QString()) {
  QString text = widget->property("text").toString().arg(first);
  if (!second.isNull()) text = text.arg(second);
  widget->setProperty("text", text);
}
}  // namespace

void SettingsEarControl::SetTexts() {
  Ui_settings_ear_trainer_control& ui = *m_ui;
  ui.earExTabNotes->setText(tr("Single Notes"));
  ui.earExTabIntervals->setText(tr("Intervals"));
  ui.earExTabChords->setText(tr("Chords"));
  ui.earExTabScales->setText(tr("Scales"));
  ui.earExTabTempo->setText(tr("Tempo"));

  // Every duration title is filled from the chords page's template.
  const QString duration = ui.Row1_Title_9->text().arg(tr("Questions Count"), tr("Timeout"));
  for (QLabel* title :
       {ui.Row1_Title_24, ui.Row1_Title_16, ui.Row1_Title_9, ui.Row1_Title_29, ui.Row1_Title_35})
    title->setText(duration);

  for (const EarKeyRange& range : EarKeyRanges(ui)) {
    range.white->setText(tr("White Keys"));
    range.black->setText(tr("Black Keys"));
    range.both->setText(tr("White && Black Keys"));
  }

  FillTemplate(ui.Row1_Title_21, tr("Note Range"));
  FillTemplate(ui.Row1_Title_12, tr("Interval Size"), tr("Range"));
  FillTemplate(ui.Row1_Title_13, tr("Interval Root"), tr("Range"));
  FillTemplate(ui.Row1_Title_6, tr("Chord Root"), tr("Range"));
  FillTemplate(ui.Row1_Title_26, tr("Scale Root"), tr("Range"));
  FillTemplate(ui.Row1_Title_39, tr("Play Direction"));
  FillTemplate(ui.intervalsSoundLabel, tr("Interval Sound"));
  FillTemplate(ui.chordsSoundLabel, tr("Chord Sound"));
  FillTemplate(ui.earExScalesAscendingDescending, tr("Play Ascending"), tr("Descending"));
  ui.Row1_Title_3->setText(tr("Chord Types"));
  ui.Row1_Title_5->setText(tr("Chord Inversions"));
  ui.Row1_Title_10->setText(tr("Scale Types"));
  ui.Row1_Title_30->setText(tr("Tempo Types"));

  const std::pair<QAbstractButton*, const char*> buttons[] = {
      {ui.earExChordsMajorTriad, QT_TR_NOOP("Major Triad")},
      {ui.earExChordsMinorTriad, QT_TR_NOOP("Minor Triad")},
      {ui.earExChordsMajorSixth, QT_TR_NOOP("Major Sixth")},
      {ui.earExChordsMinorSixth, QT_TR_NOOP("Minor Sixth")},
      {ui.earExChordsMajorSeventh, QT_TR_NOOP("Major Seventh")},
      {ui.earExChordsMinorSeventh, QT_TR_NOOP("Minor Seventh")},
      {ui.earExChordsDominantSeventh, QT_TR_NOOP("Dominant Seventh")},
      {ui.earExChordsSuspended2, QT_TR_NOOP("Suspended 2")},
      {ui.earExChordsSuspended4, QT_TR_NOOP("Suspended 4")},
      {ui.earExChordsSuspendedSixth2, QT_TR_NOOP("Sixth Suspended 2")},
      {ui.earExChordsSuspendedSixth4, QT_TR_NOOP("Sixth Suspended 4")},
      {ui.earExChordsSuspendedSeventh2, QT_TR_NOOP("Seventh Suspended 2")},
      {ui.earExChordsSuspendedSeventh4, QT_TR_NOOP("Seventh Suspended 4")},
      {ui.earExChordsAugmented, QT_TR_NOOP("Augmented")},
      {ui.earExChordsAugmentedSixth, QT_TR_NOOP("Augmented Sixth")},
      {ui.earExChordsAugmentedSeventh, QT_TR_NOOP("Augmented Seventh")},
      {ui.earExChordsDiminished, QT_TR_NOOP("Diminished")},
      {ui.earExChordsDiminishedSeventh, QT_TR_NOOP("Diminished Seventh")},
      {ui.earExChordsFirstInversion, QT_TR_NOOP("First")},
      {ui.earExChordsSecondInversion, QT_TR_NOOP("Second")},
      {ui.arpeggiatedIntervalSound, QT_TR_NOOP("Play notes seperately")},
      {ui.simultaneousIntervalSound, QT_TR_NOOP("Play notes simultaneously")},
      {ui.arpeggiatedChordSound, QT_TR_NOOP("Play notes seperately")},
      {ui.simultaneousChordSound, QT_TR_NOOP("Play notes simultaneously")},
      {ui.earExScalesMajor, QT_TR_NOOP("Major")},
      {ui.earExScalesNaturalMinor, QT_TR_NOOP("Natural Minor")},
      {ui.earExScalesPentatonicMajor, QT_TR_NOOP("Pentatonic Major")},
      {ui.earExScalesPentatonicMinor, QT_TR_NOOP("Pentatonic Minor")},
      {ui.earExScalesHormanicMinor, QT_TR_NOOP("Harmonic Minor")},
      {ui.earExScalesMelodicMinor, QT_TR_NOOP("Melodic Minor")},
      {ui.earExScalesDiminished, QT_TR_NOOP("Diminished")},
      {ui.earExScalesBlues, QT_TR_NOOP("Blues")},
      {ui.earExScalesAugmented, QT_TR_NOOP("Augmented")},
      {ui.earExScalesWholetone, QT_TR_NOOP("Whole Tone")},
      {ui.earExScalesAscending, QT_TR_NOOP("Play Ascending (low to high)")},
      {ui.earExScalesDescending, QT_TR_NOOP("Play Descending (high to low)")},
      {ui.earExTempoLargo, QT_TR_NOOP("Largo")},
      {ui.earExTempoAdagio, QT_TR_NOOP("Adagio")},
      {ui.earExTempoAndante, QT_TR_NOOP("Andante")},
      {ui.earExTempoAllegro, QT_TR_NOOP("Allegro")},
      {ui.earExTempoModerato, QT_TR_NOOP("Moderato")},
      {ui.earExTempoPresto, QT_TR_NOOP("Presto")},
      {ui.earExTempoVivace, QT_TR_NOOP("Vivace")},
  };
  for (const auto& [button, text] : buttons) button->setText(tr(text));
}

}  // namespace UI
