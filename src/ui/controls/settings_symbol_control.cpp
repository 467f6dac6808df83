#include "src/ui/controls/settings_symbol_control.h"

#include "src/core/settings/settings_manager.h"
#include "src/ui/application.h"
#include "src/ui/controls/flag_boxes.h"
#include "src/ui/controls/panel_pieces.h"
#include "src/ui/controls/settings_binders.h"
#include "ui_settings_symbol_trainer_control.h"

namespace UI {

namespace {

using Form = Ui_settings_symbol_trainer_control;
using Core::KeySignaturesSettings;
using Core::LengthSettings;
using Core::LoudnessSettings;
using Core::NoteModifiersSettings;
using Core::TempoSettings;

// "Show Rests" is not a length: it stays out of the group, so it may be cleared beside one length.
const FlagBox<Form, LengthSettings> Lengths[] = {
    {&Form::symbolsExNoteLegthsWhole, &LengthSettings::Whole, QT_TR_NOOP("Whole")},
    {&Form::symbolsExNoteLegthsHalf, &LengthSettings::Half, QT_TR_NOOP("Half")},
    {&Form::symbolsExNoteLegthsQuarter, &LengthSettings::Quarter, QT_TR_NOOP("Quarter")},
    {&Form::symbolsExNoteLegthsEigth, &LengthSettings::Eights, QT_TR_NOOP("Eighth")},
    {&Form::symbolsExNoteLegthsSixteenth, &LengthSettings::Sixteenth, QT_TR_NOOP("Sixteenth")},
    {&Form::symbolsExNoteLegthsThirtySecond, &LengthSettings::ThirtySecond,
     QT_TR_NOOP("Thirty-second")},
    {&Form::symbolsExNoteLegthsSixtyFourth, &LengthSettings::SixtyFourth,
     QT_TR_NOOP("Sixty-fourth")},
    {&Form::symbolsExNoteLegthsOneTwentyEigth, &LengthSettings::HundredTwentyEight,
     QT_TR_NOOP("One-twenty-eighth")},
};
const FlagBox<Form, LengthSettings> Rests[] = {
    {&Form::symbolsExLengthRests, &LengthSettings::Rests, QT_TR_NOOP("Show Rests")},
};

// The form names each key by its major and relative minor; the panel keeps those texts.
const FlagBox<Form, KeySignaturesSettings> Signatures[] = {
    {&Form::symbolsExNoteLengthsCmajAm, &KeySignaturesSettings::CMaj, nullptr},
    {&Form::symbolsExNoteLengthsGmajEm, &KeySignaturesSettings::GMaj, nullptr},
    {&Form::symbolsExNoteLengthsDmajBm, &KeySignaturesSettings::DMaj, nullptr},
    {&Form::symbolsExNoteLengthsAmajFsharpm, &KeySignaturesSettings::AMaj, nullptr},
    {&Form::symbolsExNoteLengthsEmajCsharpm, &KeySignaturesSettings::EMaj, nullptr},
    {&Form::symbolsExNoteLengthsBmajGsharpm, &KeySignaturesSettings::BMaj, nullptr},
    {&Form::symbolsExNoteLengthsGbmajEbm, &KeySignaturesSettings::GbMaj, nullptr},
    {&Form::symbolsExNoteLengthsDbmajBbm, &KeySignaturesSettings::DbMaj, nullptr},
    {&Form::symbolsExNoteLengthsAbmajFm, &KeySignaturesSettings::AbMaj, nullptr},
    {&Form::symbolsExNoteLengthsEbmajCm, &KeySignaturesSettings::EbMaj, nullptr},
    {&Form::symbolsExNoteLengthsBbmajGm, &KeySignaturesSettings::BbMaj, nullptr},
    {&Form::symbolsExNoteLengthsFmajDm, &KeySignaturesSettings::FMaj, nullptr},
};

// Prestissimo has no box; the record keeps it as it was.
const FlagBox<Form, TempoSettings> Tempos[] = {
    {&Form::symbolsExTempoLargo, &TempoSettings::Largo, QT_TR_NOOP("Largo")},
    {&Form::symbolsExTempoAdagio, &TempoSettings::Adagio, QT_TR_NOOP("Adagio")},
    {&Form::symbolsExTempoAndante, &TempoSettings::Andante, QT_TR_NOOP("Andante")},
    {&Form::symbolsExTempoVivace, &TempoSettings::Vivace, QT_TR_NOOP("Vivace")},
    {&Form::symbolsExTempoModerato, &TempoSettings::Moderato, QT_TR_NOOP("Moderato")},
    {&Form::symbolsExTempoAllegro, &TempoSettings::Allegro, QT_TR_NOOP("Allegro")},
    {&Form::symbolsExTempoPresto, &TempoSettings::Presto, QT_TR_NOOP("Presto")},
};

const FlagBox<Form, LoudnessSettings> Loudness[] = {
    {&Form::symbolsExLoudnessPianississimo, &LoudnessSettings::Pianississimo,
     QT_TR_NOOP("Pianississimo")},
    {&Form::symbolsExLoudnessPiano, &LoudnessSettings::Piano, QT_TR_NOOP("Piano")},
    {&Form::symbolsExLoudnessSforzando, &LoudnessSettings::Sforzando, QT_TR_NOOP("Sforzando")},
    {&Form::symbolsExLoudnessForte, &LoudnessSettings::Forte, QT_TR_NOOP("Forte")},
    {&Form::symbolsExLoudnessCrescendo, &LoudnessSettings::Crescendo, QT_TR_NOOP("Crescendo")},
    {&Form::symbolsExLoudnessDiminuendo, &LoudnessSettings::Diminuendo, QT_TR_NOOP("Diminuendo")},
    {&Form::symbolsExLoudnessMezoPiano, &LoudnessSettings::MezzoPiano, QT_TR_NOOP("Mezzo-piano")},
    {&Form::symbolsExLoudnessMezoForte, &LoudnessSettings::MezzoForte, QT_TR_NOOP("Mezzo-forte")},
    {&Form::symbolsExLoudnessFortissimo, &LoudnessSettings::Fortissimo, QT_TR_NOOP("Fortissimo")},
    {&Form::symbolsExLoudnessPianissimo, &LoudnessSettings::Pianissimo, QT_TR_NOOP("Pianissimo")},
    {&Form::symbolsExLoudnessFortississimo, &LoudnessSettings::Fortississimo,
     QT_TR_NOOP("Fortississimo")},
};

using Modifiers = NoteModifiersSettings;
const FlagBox<Form, Modifiers> NoteModifiers[] = {
    {&Form::symbolsExNoteModifiersStaccato, &Modifiers::Stacatto, QT_TR_NOOP("Staccato")},
    {&Form::symbolsExNoteModifiersFermata, &Modifiers::Fermata, QT_TR_NOOP("Fermata")},
    {&Form::symbolsExNoteModifiersTremolo, &Modifiers::Tremolo, QT_TR_NOOP("Tremolo")},
    {&Form::symbolsExNoteModifiersStaccatissimo, &Modifiers::Stacattissimo,
     QT_TR_NOOP("Staccatissimo")},
    {&Form::symbolsExNoteModifiersTrill, &Modifiers::Trill, QT_TR_NOOP("Trill")},
    {&Form::symbolsExNoteModifiersVolta, &Modifiers::VoltaBracket, QT_TR_NOOP("Volta")},
    {&Form::symbolsExNoteModifiersEngagePedal, &Modifiers::EngagePedal, QT_TR_NOOP("Engage Pedal")},
    {&Form::symbolsExNoteModifiersReleasePedal, &Modifiers::ReleasePedal,
     QT_TR_NOOP("Release Pedal")},
    {&Form::symbolsExNoteModifiersAccent, &Modifiers::Acent, QT_TR_NOOP("Accent")},
    {&Form::symbolsExNoteModifiersTie, &Modifiers::Tie, QT_TR_NOOP("Tie")},
    {&Form::symbolsExNoteModifiersMarcato, &Modifiers::Marcato, QT_TR_NOOP("Marcato")},
    {&Form::symbolsExNoteModifiersOttavaAlta, &Modifiers::OttavaAlto, QT_TR_NOOP("Ottava Alta")},
    {&Form::symbolsExNoteModifiersOttavaBassa, &Modifiers::OttavaBasso, QT_TR_NOOP("Ottava Bassa")},
    {&Form::symbolsExNoteModifiersNatural, &Modifiers::Natural, QT_TR_NOOP("Natural")},
    {&Form::symbolsExNoteModifiersSharp, &Modifiers::Sharp, QT_TR_NOOP("Sharp")},
    {&Form::symbolsExNoteModifiersFlat, &Modifiers::Flat, QT_TR_NOOP("Flat")},
    {&Form::symbolsExNoteModifiersDoubleSharp, &Modifiers::DoubleSharp, QT_TR_NOOP("Double Sharp")},
    {&Form::symbolsExNoteModifiersDoubleFlat, &Modifiers::DoubleFlat, QT_TR_NOOP("Double Flat")},
    {&Form::symbolsExNoteModifiersArpeggio, &Modifiers::Arpeggio, QT_TR_NOOP("Arpeggio")},
    {&Form::symbolsExNoteModifiersSlur, &Modifiers::Slur, QT_TR_NOOP("Slur")},
    {&Form::symbolsExNoteModifiersAppoggiatura, &Modifiers::Appogiatura,
     QT_TR_NOOP("Appoggiatura")},
    {&Form::symbolsExNoteModifiersAcciaccatura, &Modifiers::Acciaccatura,
     QT_TR_NOOP("Acciaccatura")},
    {&Form::symbolsExNoteModifiersTenuto, &Modifiers::Tenuto, QT_TR_NOOP("Tenuto")},
    {&Form::symbolsExNoteModifiersRepeat, &Modifiers::RepeatSigns, QT_TR_NOOP("Repeat")},
};

const char* const Context = "UI::SettingsSymbolControl";

}  // namespace

SettingsSymbolControl::SettingsSymbolControl(QWidget* parent)
    : SettingsControl(parent), m_ui(std::make_unique<Form>()) {
  m_ui->setupUi(this);
  // The form is left on another page; the panel always starts on the first.
  SetPage(NoteLengthsPage);
  SetTexts();
  AddFlagBoxes(m_tempo, *m_ui, Tempos);
  AddFlagBoxes(m_lengths, *m_ui, Lengths);
  AddFlagBoxes(m_signatures, *m_ui, Signatures);
  AddFlagBoxes(m_loudness, *m_ui, Loudness);
  AddFlagBoxes(m_modifiers, *m_ui, NoteModifiers);
  connect(m_ui->exSymbolsGeneralArea, &GeneralSettingsTab::refreshGui, this,
          &SettingsSymbolControl::Data2Gui);
  m_ui->Apply->hide();
  m_ui->exSymbolsGeneralArea->setExerciseType(Core::SheetMusicSymbolsExercise);
}

SettingsSymbolControl::~SettingsSymbolControl() = default;

void SettingsSymbolControl::SetTexts() {
  Form& ui = *m_ui;
  ui.symbolsExTabKeySignatures->setText(tr("Key Signatures"));
  ui.symbolsExTabLoudness->setText(tr("Loudness"));
  ui.symbolsExTabNoteLengths->setText(tr("Note Lengths"));
  ui.symbolsExTabNoteModifiers->setText(tr("Note Modifiers"));
  ui.symbolsExTabTempo->setText(tr("Tempo"));
  FillTitle(ui.lengthsHeader, tr("Lengths"));
  FillTitle(ui.signaturesHeader, tr("Key"), tr("Signatures"));
  FillTitle(ui.tempoHeader, tr("Tempo"), tr("Types"));
  FillTitle(ui.loudnessHeader, tr("Loudness"), tr("Types"));
  FillTitle(ui.modifiersHeader, tr("Note"), tr("Modifiers"));
  const QString duration = ui.symbolsDurationTitleSignatures->text();
  for (QLabel* title : {ui.symbolsDurationTitleLengths, ui.symbolsDurationTitleSignatures,
                        ui.symbolsDurationTitleTempo, ui.symbolsDurationTitleLoudness,
                        ui.symbolsDurationTitleModifiers})
    title->setText(duration.arg(tr("Questions Count"), tr("Timeout")));
  SetFlagBoxTexts(ui, Lengths, Context);
  SetFlagBoxTexts(ui, Rests, Context);
  SetFlagBoxTexts(ui, Tempos, Context);
  SetFlagBoxTexts(ui, Loudness, Context);
  SetFlagBoxTexts(ui, NoteModifiers, Context);
}

void SettingsSymbolControl::SetPage(int page) {
  Form& ui = *m_ui;
  ui.symbolsStackedTabs->setCurrentIndex(page);
  CheckTab({ui.symbolsExTabNoteLengths, ui.symbolsExTabKeySignatures, ui.symbolsExTabTempo,
            ui.symbolsExTabLoudness, ui.symbolsExTabNoteModifiers, ui.symbolsExTabGeneral},
           page);
  SettingsControl::SetPage(page == GeneralPage ? 0 : page + 1);
}

void SettingsSymbolControl::setVisible(bool visible) {
  if (visible && !lockerInstalled()) {
    InstallSettingsLocker(m_ui->symbolsStackedTabs, m_ui->TabsContainer, m_ui->Apply);
    ApplyPanelStyle(this);
  }
  SettingsControl::setVisible(visible);
}

void SettingsSymbolControl::paintEvent(QPaintEvent*) {
  doPaint(m_ui->ContentWidget);
}

void SettingsSymbolControl::Gui2Data() {
  Application* app = Application::instance();
  // A copy of the whole record: the other trainers, Prestissimo and the tempo record's leading
  // flag pass through as they are.
  Core::ExcersisesSettings settings = app->GetSettings()->GetExcersiseSettings();
  Core::SheetMusicSymbolsSettings& symbols = settings.sheetMusicSymbols;
  Form& ui = *m_ui;
  ui.exSymbolsGeneralArea->Gui2Data(settings.noteTrainer.onWrongAnswer);
  FlagBoxes2Data(symbols.length, ui, Lengths);
  FlagBoxes2Data(symbols.length, ui, Rests);
  FlagBoxes2Data(symbols.signatures, ui, Signatures);
  FlagBoxes2Data(symbols.tempo, ui, Tempos);
  FlagBoxes2Data(symbols.loudness, ui, Loudness);
  FlagBoxes2Data(symbols.noteModifiers, ui, NoteModifiers);
  durationUI2Data(symbols.length.duration, ui.symbolsExNoteLegthsDuration);
  durationUI2Data(symbols.signatures.duration, ui.symbolsExNoteLengthsDuration);
  durationUI2Data(symbols.tempo.duration, ui.symbolsExNotesDuration);
  durationUI2Data(symbols.loudness.duration, ui.symbolsExLoudnessDuration);
  durationUI2Data(symbols.noteModifiers.duration, ui.symbolsExNoteModifiersDuration);
  app->SetExcerciseSettings(settings);
}

void SettingsSymbolControl::Data2Gui() {
  Core::ExcersisesSettings settings =
      Application::instance()->GetSettings()->GetExcersiseSettings();
  Core::SheetMusicSymbolsSettings& symbols = settings.sheetMusicSymbols;
  Form& ui = *m_ui;
  ui.exSymbolsGeneralArea->Data2Gui(settings.noteTrainer.onWrongAnswer);
  Data2durationUI(symbols.length.duration, ui.symbolsExNoteLegthsDuration);
  Data2durationUI(symbols.signatures.duration, ui.symbolsExNoteLengthsDuration);
  Data2durationUI(symbols.tempo.duration, ui.symbolsExNotesDuration);
  Data2durationUI(symbols.loudness.duration, ui.symbolsExLoudnessDuration);
  Data2durationUI(symbols.noteModifiers.duration, ui.symbolsExNoteModifiersDuration);
  Data2FlagBoxes(symbols.length, ui, Lengths);
  Data2FlagBoxes(symbols.length, ui, Rests);
  Data2FlagBoxes(symbols.signatures, ui, Signatures);
  Data2FlagBoxes(symbols.tempo, ui, Tempos);
  Data2FlagBoxes(symbols.loudness, ui, Loudness);
  Data2FlagBoxes(symbols.noteModifiers, ui, NoteModifiers);
  // Boxes set by program emit no click.
  for (CheckGroup* group : {&m_tempo, &m_lengths, &m_signatures, &m_loudness, &m_modifiers})
    group->onChange();
}

}  // namespace UI
