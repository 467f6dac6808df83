// The music-symbols trainer's settings panel on the real main window and settings store.

#include <QCheckBox>
#include <QStackedWidget>

#include "src/ui/controls/duration_control.h"
#include "src/ui/controls/settings_symbol_control.h"
#include "trainer_panel_fixture.h"
#include "ui_settings_symbol_trainer_control.h"

namespace {

const QString Symbols = "Excersises/SheetMusicSymbol/";

class SettingsSymbolControlTest : public Testing::TrainerPanelTest {
 protected:
  UI::SettingsSymbolControl* Open(bool quiz = false) {
    panel = qobject_cast<UI::SettingsSymbolControl*>(OpenSettings(2, quiz));
    EXPECT_NE(panel, nullptr);
    return panel;
  }
  Ui_settings_symbol_trainer_control& ui() { return panel->form(); }
  // The boxes of a symbol page, in form order.
  QList<QCheckBox*> Boxes(int page) {
    return ui().symbolsStackedTabs->widget(page)->findChildren<QCheckBox*>();
  }
  QStringList Checked(int page) {
    QStringList names;
    for (QCheckBox* box : Boxes(page))
      if (box->isChecked()) names << box->text();
    return names;
  }

  UI::SettingsSymbolControl* panel = nullptr;
};

TEST_F(SettingsSymbolControlTest, EveryBoxAndLengthReachesItsOwnKeyAndNoOtherTrainersKey) {
  Open();
  const Store before = Snapshot();
  const QList<QToolButton*> tabs = {ui().symbolsExTabNoteLengths, ui().symbolsExTabKeySignatures,
                                    ui().symbolsExTabTempo, ui().symbolsExTabLoudness,
                                    ui().symbolsExTabNoteModifiers};
  int boxes = 0;
  for (int page = 0; page < 5; ++page) {
    Click(tabs[page]);
    const QList<QCheckBox*> all = Boxes(page);
    QList<QCheckBox*> wereChecked;
    for (QCheckBox* box : all) {
      if (box->isChecked())
        wereChecked << box;
      else
        Tick(box);
    }
    for (QCheckBox* box : wereChecked) Tick(box);
    for (QCheckBox* box : all) EXPECT_NE(box->isChecked(), wereChecked.contains(box));
    auto* duration = ui().symbolsStackedTabs->widget(page)->findChild<UI::DurationControl*>();
    duration->scrollToQuestionValue(30 + page);
    duration->scrollToTimeoutValue(40 + page);
    boxes += int(all.size());
  }
  EXPECT_EQ(boxes, 63);
  LeaveByHome();

  const Store after = Snapshot();
  const QStringList changed = Changed(before, after, "Excersises/");
  EXPECT_EQ(Keys(changed), Keys(Changed(before, after, Symbols)));
  EXPECT_EQ(changed.size(), 63 + 5 * 2);
  EXPECT_FALSE(changed.contains(Symbols + "Tempo/Tempo.Prestissimo"));
  EXPECT_EQ(after.value(Symbols + "Signatures/Duration/Duration.QuestionsValue").toInt(), 31);
  EXPECT_EQ(after.value(Symbols + "Length/Length.Rests").toBool(), false);
}

TEST_F(SettingsSymbolControlTest, QuizEditsGoToTheQuizCopyOnly) {
  Open(true);
  ASSERT_NE(panel->lockOverlay(), nullptr);
  EXPECT_TRUE(panel->lockOverlay()->isVisible());
  Screenshot("symbols_trainer_locked_in_quiz");
  const Store before = Snapshot();
  ui().symbolsExTempoVivace->setChecked(true);
  LeaveByHome();
  EXPECT_EQ(Keys(Changed(before, Snapshot(), "Excersises/")), "");
  EXPECT_TRUE(Record().sheetMusicSymbols.tempo.Vivace);
}

TEST_F(SettingsSymbolControlTest, ALevelRedrawsThePagesAndLeavingKeepsPrestissimo) {
  Core::ExcersisesSettings settings = Record();
  settings.sheetMusicSymbols.tempo.Prestissimo = false;  // level 3 clears it too; 1 sets it
  SetRecord(settings);
  Open();
  Click(ui().symbolsExTabGeneral);
  Click(ui().exSymbolsGeneralArea->findChild<QToolButton*>("Level3"));
  EXPECT_EQ(Checked(UI::SettingsSymbolControl::TempoPage),
            (QStringList{"Largo", "Andante", "Moderato", "Allegro", "Presto"}));
  Click(ui().symbolsExTabTempo);
  Screenshot("symbols_trainer_tempo");
  SetRecord([&] {
    Core::ExcersisesSettings level = Record();
    level.sheetMusicSymbols.tempo.Prestissimo = true;
    return level;
  }());
  Tick(ui().symbolsExTempoVivace);
  LeaveByHome();
  EXPECT_TRUE(Stored(Symbols + "Tempo/Tempo.Prestissimo").toBool());
  EXPECT_TRUE(Stored(Symbols + "Tempo/Tempo.Vivace").toBool());
}

TEST_F(SettingsSymbolControlTest, TheLastSymbolOfAPageStaysAndShowRestsIsFree) {
  Core::ExcersisesSettings settings = Record();
  Core::LengthSettings& length = settings.sheetMusicSymbols.length;
  length.Whole = length.Half = length.Quarter = false;
  length.Sixteenth = true;
  Core::LoudnessSettings& loudness = settings.sheetMusicSymbols.loudness;
  loudness = Core::LoudnessSettings{};
  for (bool* flag :
       {&loudness.Pianississimo, &loudness.Pianissimo, &loudness.Piano, &loudness.MezzoPiano,
        &loudness.MezzoForte, &loudness.Forte, &loudness.Fortissimo, &loudness.Fortississimo,
        &loudness.Sforzando, &loudness.Crescendo, &loudness.Diminuendo})
    *flag = false;
  SetRecord(settings);
  Open();
  for (QCheckBox* box : Boxes(UI::SettingsSymbolControl::NoteLengthsPage))
    EXPECT_EQ(box->isEnabled(), box != ui().symbolsExNoteLegthsSixteenth)
        << box->objectName().toStdString();
  Tick(ui().symbolsExLengthRests);
  EXPECT_FALSE(ui().symbolsExLengthRests->isChecked());
  Tick(ui().symbolsExLengthRests);
  EXPECT_TRUE(ui().symbolsExLengthRests->isChecked());
  // A page with nothing set can be started again from any box.
  for (QCheckBox* box : Boxes(UI::SettingsSymbolControl::LoudnessPage))
    EXPECT_TRUE(box->isEnabled() && !box->isChecked());
  Click(ui().symbolsExTabLoudness);
  Tick(ui().symbolsExLoudnessForte);
  EXPECT_FALSE(ui().symbolsExLoudnessForte->isEnabled());
}

TEST_F(SettingsSymbolControlTest, PagesFollowTheSectionsAndOnlyTheGeneralPageEscapesTheLock) {
  UI::SettingsSymbolControl fresh(nullptr);
  EXPECT_EQ(fresh.form().symbolsStackedTabs->currentIndex(), 0);
  EXPECT_TRUE(fresh.form().symbolsExTabNoteLengths->isChecked());

  Open(true);
  for (int page : {1, 5, 2}) {
    EXPECT_EQ(m_console->GetSettingsSymbolControl(page), panel);
    EXPECT_EQ(ui().symbolsStackedTabs->currentIndex(), page);
    EXPECT_EQ(panel->lockOverlay()->isVisible(), page != 5);
    EXPECT_EQ(ui().symbolsExTabGeneral->isChecked(), page == 5);
    EXPECT_EQ(ui().symbolsExTabTempo->isChecked(), page == 2);
  }
  EXPECT_FALSE(ui().Apply->isVisible());
}

}  // namespace
