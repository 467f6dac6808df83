#include "src/ui/controls/settings_note_control.h"

#include "src/core/settings/settings_manager.h"
#include "src/ui/application.h"
#include "src/ui/controls/clef_binders.h"
#include "src/ui/controls/flag_boxes.h"
#include "src/ui/controls/key_colour_binders.h"
#include "src/ui/controls/panel_pieces.h"
#include "src/ui/controls/settings_binders.h"
#include "ui_settings_note_trainer_control.h"

namespace UI {

namespace {

using Form = Ui_settings_note_trainer_control;
using ChordBox = FlagBox<Form, Core::ChordSettings>;

// In the record's flag order, which is the order the check group takes them in.
const ChordBox ChordTypes[] = {
    {&Form::noteExChordsMajorTriad, &Core::ChordSettings::MajorTriad, QT_TR_NOOP("Major Triad")},
    {&Form::noteExChordsMinorTriad, &Core::ChordSettings::MinorTriad, QT_TR_NOOP("Minor Triad")},
    {&Form::noteExChordsMajorSixth, &Core::ChordSettings::MajorSixth, QT_TR_NOOP("Major Sixth")},
    {&Form::noteExChordsMinorSixth, &Core::ChordSettings::MinorSixth, QT_TR_NOOP("Minor Sixth")},
    {&Form::noteExChordsMajorSeventh, &Core::ChordSettings::MajorSeventh,
     QT_TR_NOOP("Major Seventh")},
    {&Form::noteExChordsMinorSeventh, &Core::ChordSettings::MinorSeventh,
     QT_TR_NOOP("Minor Seventh")},
    {&Form::noteExChordsDominantSeventh, &Core::ChordSettings::DominantSeventh,
     QT_TR_NOOP("Dominant Seventh")},
    {&Form::noteExChordsSuspended2, &Core::ChordSettings::Suspended2, QT_TR_NOOP("Suspended 2")},
    {&Form::noteExChordsSuspended4, &Core::ChordSettings::Suspended4, QT_TR_NOOP("Suspended 4")},
    {&Form::noteExChordsSuspendedSixth2, &Core::ChordSettings::SuspendedSixth2,
     QT_TR_NOOP("Sixth Suspended 2")},
    {&Form::noteExChordsSuspendedSixth4, &Core::ChordSettings::SuspendedSixth4,
     QT_TR_NOOP("Sixth Suspended 4")},
    {&Form::noteExChordsSuspendedSeventh2, &Core::ChordSettings::SuspendedSeventh2,
     QT_TR_NOOP("Seventh Suspended 2")},
    {&Form::noteExChordsSuspendedSeventh4, &Core::ChordSettings::SuspendedSeventh4,
     QT_TR_NOOP("Seventh Suspended 4")},
    {&Form::noteExChordsAugmented, &Core::ChordSettings::Augmented, QT_TR_NOOP("Augmented")},
    {&Form::noteExChordsAugmentedSixth, &Core::ChordSettings::AugmentedSixth,
     QT_TR_NOOP("Augmented Sixth")},
    {&Form::noteExChordsAugmentedSeventh, &Core::ChordSettings::AugmentedSeventh,
     QT_TR_NOOP("Augmented Seventh")},
    {&Form::noteExChordsDiminished, &Core::ChordSettings::Diminished, QT_TR_NOOP("Diminished")},
    {&Form::noteExChordsDiminishedSeventh, &Core::ChordSettings::DiminishedSeventh,
     QT_TR_NOOP("Diminished Seventh")},
};

// The inversions belong to no group: both may be clear.
const ChordBox Inversions[] = {
    {&Form::chordsFirstInversion, &Core::ChordSettings::FirstInversion, QT_TR_NOOP("First")},
    {&Form::chordsSecondInversion, &Core::ChordSettings::SecondInversion, QT_TR_NOOP("Second")},
};

const char* const Context = "UI::SettingsNoteControl";

}  // namespace

SettingsNoteControl::SettingsNoteControl(QWidget* parent)
    : SettingsControl(parent), m_ui(std::make_unique<Form>()) {
  m_ui->setupUi(this);
  SetTexts();
  for (int page = SingleNotesPage; page < GeneralPage; ++page) {
    const KeyPage keys = KeyPageOf(page);
    connect(keys.white, &QRadioButton::clicked, this, &SettingsNoteControl::onWhiteClick);
    connect(keys.black, &QRadioButton::clicked, this, &SettingsNoteControl::onBlackClick);
    connect(keys.bothColours, &QRadioButton::clicked, this,
            &SettingsNoteControl::onBlackAndWhiteClick);
  }
  // Interval and chord roots keep off the ends of the keyboard; single notes may reach them.
  m_ui->Gkc->SetLimited(false);
  m_ui->GkcChord->SetLimited(true);
  m_ui->GkcInterval->SetLimited(true);
  SetPage(SingleNotesPage);
  for (int page = SingleNotesPage; page < GeneralPage; ++page) {
    const KeyPage keys = KeyPageOf(page);
    connect(keys.treble, &QRadioButton::clicked, this, &SettingsNoteControl::onTrebleClick);
    connect(keys.bass, &QRadioButton::clicked, this, &SettingsNoteControl::onBassClick);
    connect(keys.bothClefs, &QRadioButton::clicked, this, &SettingsNoteControl::onBothClick);
  }
  connect(m_ui->exNoteGeneralArea, &GeneralSettingsTab::refreshGui, this,
          &SettingsNoteControl::Data2Gui);
  AddFlagBoxes(m_chordTypes, *m_ui, ChordTypes);
  m_ui->Apply->hide();
  m_ui->exNoteGeneralArea->setExerciseType(Core::NoteTrainerExercise);
}

SettingsNoteControl::~SettingsNoteControl() = default;

void SettingsNoteControl::SetTexts() {
  Form& ui = *m_ui;
  ui.noteExTabNotes->setText(tr("Single Notes"));
  ui.noteExTabIntervals->setText(tr("Intervals"));
  ui.noteExTabChords->setText(tr("Chords"));
  FillTitle(ui.Row1_Title_25, tr("Note Range"));
  FillTitle(ui.Row1_Title_12, tr("Interval Size"), tr("Range"));
  FillTitle(ui.Row1_Title_26, tr("Interval Root"), tr("Range"));
  FillTitle(ui.intervalsSoundLabel, tr("Interval Sound"));
  FillTitle(ui.chordSoundLabel, tr("Chord Sound"));
  const QString duration = ui.Row1_Title_9->text();
  for (QLabel* title : {ui.Row1_Title_24, ui.Row1_Title_16, ui.Row1_Title_9})
    title->setText(duration.arg(tr("Questions Count"), tr("Timeout")));
  ui.Row1_Title_2->setText(tr("Chord Types"));
  ui.Row1_Title_5->setText(tr("Chord Inversions"));
  ui.Row1_Title_555->setText(tr("Chord Notation"));
  const QString bothClefs = ui.showInTrebleBassNotes->text();
  for (int page = SingleNotesPage; page < GeneralPage; ++page) {
    const KeyPage keys = KeyPageOf(page);
    keys.treble->setText(tr("Show in Treble Clef"));
    keys.bass->setText(tr("Show in Bass Clef"));
    keys.bothClefs->setText(bothClefs.arg(tr("Show in Treble"), tr("Bass Clef")));
    keys.white->setText(tr("White Keys"));
    keys.black->setText(tr("Black Keys"));
    keys.bothColours->setText(tr("White && Black Keys"));
  }
  SetFlagBoxTexts(ui, ChordTypes, Context);
  SetFlagBoxTexts(ui, Inversions, Context);
  ui.noteExChordsNotaitionClassic->setText(tr("Show in Classical Notation (using notes)"));
  ui.noteExChordsNotaitionChord->setText(tr("Show in Chord Notation"));
  for (QRadioButton* apart : {ui.arpeggiatedIntervalSound, ui.arpeggiatedChordSound})
    apart->setText(tr("Play notes seperately"));
  for (QRadioButton* together : {ui.simultaneousIntervalSound, ui.simultaneousChordSound})
    together->setText(tr("Play notes simultaneously"));
}

SettingsNoteControl::KeyPage SettingsNoteControl::KeyPageOf(int page) const {
  const Form& ui = *m_ui;
  switch (page) {
    case SingleNotesPage:
      return {ui.showInTrebleNotes,
              ui.showInBassNotes,
              ui.showInTrebleBassNotes,
              ui.Gkc,
              ui.notesWhiteKeysRadioButton,
              ui.notesBlackKeysRadioButton,
              ui.notesBlackAndWhiteKeysRadioButton,
              ui.noteDuration};
    case IntervalsPage:
      return {ui.showInTrebleIntervals,
              ui.showInBassIntervals,
              ui.showInTrebleBassIntervals,
              ui.GkcInterval,
              ui.intervalsWhiteKeysRadioButton,
              ui.intervalsBlackKeysRadioButton,
              ui.intervalsBlackAndWhiteKeysRadioButton,
              ui.intervalDuration};
    default:
      return {ui.showInTrebleChords,
              ui.showInBassChords,
              ui.showInTrebleBassChords,
              ui.GkcChord,
              ui.chordsWhiteKeysRadioButton,
              ui.chordsBlackKeysRadioButton,
              ui.chordsBlackAndWhiteKeysRadioButton,
              ui.chordDuration};
  }
}

GkcRangeSelectorControl* SettingsNoteControl::CurrentGKC() const {
  const int page = m_ui->notesTabStack->currentIndex();
  return page >= SingleNotesPage && page < GeneralPage ? KeyPageOf(page).range : nullptr;
}

void SettingsNoteControl::SetPage(int page) {
  Form& ui = *m_ui;
  ui.notesTabStack->setCurrentIndex(page);
  CheckTab({ui.noteExTabNotes, ui.noteExTabIntervals, ui.noteExTabChords, ui.noteExTabGeneral},
           page);
  SettingsControl::SetPage(page == GeneralPage ? 0 : page + 1);
}

void SettingsNoteControl::setVisible(bool visible) {
  if (visible && !lockerInstalled()) {
    InstallSettingsLocker(m_ui->notesTabStack, m_ui->TabsContainer, m_ui->Apply);
    ApplyPanelStyle(this);
  }
  SettingsControl::setVisible(visible);
}

void SettingsNoteControl::paintEvent(QPaintEvent*) {
  doPaint(m_ui->ContentWidget);
}

namespace {

// The fields every note trainer part has, stored from and loaded into its page.
template <class Part, class Keys>
void KeyPage2Data(Part& part, const Keys& keys) {
  diapUi2Data(part.diapason, keys.range);
  Chromatic2Data(part.diapason.chromatic, keys.white, keys.black, keys.bothColours);
  durationUI2Data(part.duration, keys.duration);
  Cleff2Data(keys.treble, keys.bass, keys.bothClefs, part.cleff);
}

// The clef comes first: it sets the keys the selector offers, and a range set under the bounds of
// the clef shown before would be cut to them (a treble-only page cut level 5's 5..75 to 26..75).
template <class Part, class Keys>
void Data2KeyPage(Part& part, const Keys& keys) {
  Data2Cleff(keys.treble, keys.bass, keys.bothClefs, part.cleff, keys.range);
  Data2diapUi(part.diapason, keys.range);
  Data2Chromatic(part.diapason.chromatic, keys.white, keys.black, keys.bothColours, keys.range);
  Data2durationUI(part.duration, keys.duration);
}

}  // namespace

void SettingsNoteControl::Gui2Data() {
  Application* app = Application::instance();
  Core::ExcersisesSettings settings = app->GetSettings()->GetExcersiseSettings();
  Core::NoteTrainerSettings& note = settings.noteTrainer;
  Form& ui = *m_ui;
  ui.exNoteGeneralArea->Gui2Data(note.onWrongAnswer);

  KeyPage2Data(note.singleNotes, KeyPageOf(SingleNotesPage));

  int start = 0;
  int end = 0;
  ui.IntervalRange->GetIntervalRange(start, end);
  note.interval.intervalStart = start;
  note.interval.intervalEnd = end - 1;
  KeyPage2Data(note.interval, KeyPageOf(IntervalsPage));
  note.interval.arpeggiated = ui.arpeggiatedIntervalSound->isChecked();

  KeyPage2Data(note.chord, KeyPageOf(ChordsPage));
  FlagBoxes2Data(note.chord, ui, ChordTypes);
  FlagBoxes2Data(note.chord, ui, Inversions);
  note.chord.Arpeggiated = ui.arpeggiatedChordSound->isChecked();
  chordNotation2Data(note.chord, ui.noteExChordsNotaitionClassic, ui.noteExChordsNotaitionChord);

  m_chordTypes.onChange();
  app->SetExcerciseSettings(settings);
}

void SettingsNoteControl::Data2Gui() {
  Application* app = Application::instance();
  Core::ExcersisesSettings settings = app->GetSettings()->GetExcersiseSettings();
  Core::NoteTrainerSettings& note = settings.noteTrainer;
  Form& ui = *m_ui;
  ui.exNoteGeneralArea->Data2Gui(note.onWrongAnswer);

  Data2KeyPage(note.singleNotes, KeyPageOf(SingleNotesPage));

  ui.IntervalRange->SetIntervalRange(note.interval.intervalStart, note.interval.intervalEnd + 1);
  Data2KeyPage(note.interval, KeyPageOf(IntervalsPage));
  ui.arpeggiatedIntervalSound->setChecked(note.interval.arpeggiated);
  ui.simultaneousIntervalSound->setChecked(!note.interval.arpeggiated);

  Data2KeyPage(note.chord, KeyPageOf(ChordsPage));
  Data2FlagBoxes(note.chord, ui, ChordTypes);
  Data2FlagBoxes(note.chord, ui, Inversions);
  Data2chordNotation(note.chord, ui.noteExChordsNotaitionClassic, ui.noteExChordsNotaitionChord);
  ui.arpeggiatedChordSound->setChecked(note.chord.Arpeggiated);
  ui.simultaneousChordSound->setChecked(!note.chord.Arpeggiated);

  m_chordTypes.onChange();
}

void SettingsNoteControl::onTrebleClick() {
  if (GkcRangeSelectorControl* range = CurrentGKC()) ApplyKey(range, true, false);
}

void SettingsNoteControl::onBassClick() {
  if (GkcRangeSelectorControl* range = CurrentGKC()) ApplyKey(range, false, true);
}

void SettingsNoteControl::onBothClick() {
  if (GkcRangeSelectorControl* range = CurrentGKC()) ApplyKey(range, true, true);
}

void SettingsNoteControl::onWhiteClick() {
  if (GkcRangeSelectorControl* range = CurrentGKC()) range->SetChromaticMode(false, true);
}

void SettingsNoteControl::onBlackClick() {
  if (GkcRangeSelectorControl* range = CurrentGKC()) range->SetChromaticMode(true, false);
}

void SettingsNoteControl::onBlackAndWhiteClick() {
  if (GkcRangeSelectorControl* range = CurrentGKC()) range->SetChromaticMode(true, true);
}

}  // namespace UI
