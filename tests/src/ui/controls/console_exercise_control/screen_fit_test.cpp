// What the exercise screen shows fits where it is shown, on the real window at 1440 x 900: every
// reference page within its view, the history link beside its button, every answer whole on its
// button. Screenshots of each go beside the test program.

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

#include "src/core/exercise/symbol_tables.h"
#include "src/core/exercise/theory/names.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/controls/console_exercise_control/answer_button.h"
#include "src/ui/controls/console_exercise_control/form_buttons.h"
#include "src/ui/play_dialog.h"
#include "views_fixture.h"

namespace Testing {
namespace {

constexpr int EarTrainer = 1;
constexpr int SymbolsTrainer = 2;
// The narrowest an answer button is laid out.
constexpr int NarrowestAnswer = 131;

class ScreenFitTest : public ExerciseViewsTest {
 protected:
  // Opens a trainer's lesson in its reference view, from the home screen after the first.
  void OpenReference(int trainer) {
    if (m_console) {
      m_console->NavigateHome();
      ASSERT_TRUE(WaitUntil([this] { return FadeDone() && !Screen()->isVisible(); }));
      m_console->OpenExercise(size_t(trainer), false);
      ASSERT_TRUE(WaitUntil([this] { return FadeDone() && Screen()->isVisible(); }));
    } else {
      Open(trainer, false);
    }
    Click(Toolbar().Reference);
    ASSERT_TRUE(Settled());
  }

  // True when the whole label fits the button in the font it is drawn in.
  static bool LabelFits(UI::AnswerButton* button) {
    const QSize label =
        QFontMetrics(button->LabelFont()).size(Qt::TextShowMnemonic, button->text());
    return label.width() < button->width() && label.height() <= button->height();
  }
  // The columns of the button where its white label leaves ink, as the window shows it.
  std::pair<int, int> LabelInk(QWidget* button) const {
    const QImage image =
        m_console->grab(QRect(button->mapTo(m_console.get(), QPoint(0, 0)), button->size()))
            .toImage();
    int left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) > 200) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
    return {left, right};
  }
  // Every label the trainers give their answer buttons: the scales, intervals and chords on the
  // root with the longest name, and the music symbols' names.
  static QStringList LongLabels() {
    const unsigned char root = 40;  // C♯4
    QStringList labels;
    for (unsigned int type = 0; type < Core::ScaleTypeCount; ++type)
      labels << Core::GetScaleString(type, root, false);
    for (int size = 0; size < Core::IntervalTypeCount; ++size)
      labels << Core::GetIntervalString(size, root, false);
    for (unsigned int type = 0; type < Core::ChordTypeCount; ++type)
      for (int inversion = 0; inversion < 3; ++inversion)
        labels << Core::GetChordString(type, root, inversion, false);
    for (const Core::SymbolRow& row : Core::LengthSymbols()) labels << row.name;
    for (const Core::SymbolRow& row : Core::LoudnessSymbols()) labels << row.name;
    for (const Core::SymbolRow& row : Core::ModifierSymbols()) labels << row.name;
    for (const Core::SignatureRow& row : Core::SignatureSymbols()) labels << row.name;
    return labels;
  }
};

// Each page of both trainers, the Scales and Key Signatures pages among them, is as wide as the
// view at most, so nothing is cut at its right.
TEST_F(ScreenFitTest, EveryReferencePageFitsTheWidthOfItsView) {
  for (int trainer : {EarTrainer, SymbolsTrainer}) {
    OpenReference(trainer);
    for (QAbstractButton* section : UI::SectionButtons(Form())) {
      section->click();
      QCoreApplication::processEvents();
      const QString title = Form().ReferenceHeaderLbl->text();
      QScrollArea* view = Form().referenceScrollArea;
      EXPECT_LE(Form().referenceContentContainer->minimumSizeHint().width(),
                view->viewport()->width())
          << qPrintable(title);
      if (section == Form().TimelineButton4 && trainer == EarTrainer) Snap("reference-scales");
      if (section == Form().TimelineButton2 && trainer == SymbolsTrainer)
        Snap("reference-key-signatures");
      if (section == Form().TimelineButton1 && trainer == EarTrainer)
        Snap("reference-single-notes");
    }
  }
}

// With the all-time figures shown, "Clear History" is whole and clear of the button beside it.
TEST_F(ScreenFitTest, TheClearHistoryLinkShowsWholeBesideItsButton) {
  Open(EarTrainer, false);
  Record(0, 0, 2, 1);
  Click(Toolbar().Statistics);
  ASSERT_TRUE(Settled());
  Click(Form().viewHistory);
  QPushButton* link = Form().clearHistory;
  ASSERT_EQ(link->text(), "Clear History");
  ASSERT_TRUE(link->isVisible());
  ASSERT_TRUE(link->isEnabled());
  EXPECT_LT(QFontMetrics(link->font()).horizontalAdvance(link->text()), link->width());
  EXPECT_FALSE(link->geometry().intersects(Form().viewHistory->geometry()));
  Snap("statistics-history");
}

// The ear trainer's scales are answered with the buttons: every button shows its answer whole,
// and so would the narrowest button with the longest answer of any trainer.
TEST_F(ScreenFitTest, EveryAnswerButtonShowsItsWholeAnswer) {
  Core::GlobalSettings global = App()->GetSettings()->globalSettings;
  global.showDifficultyDialog = false;
  global.hideMidiDialog = true;
  global.answerGkc = false;
  global.answerMultipleChoice = true;
  App()->SetGlobalSettings(global);
  Core::ExcersisesSettings settings = App()->GetSettings()->GetExcersiseSettings();
  Core::EarTrainerSettings& ear = settings.earTrainer;
  ear.singleNotes.duration.questions = 0;
  ear.interval.duration.questions = 0;
  ear.chord.duration.questions = 0;
  ear.scales.NaturalMin = ear.scales.PentatonicMaj = ear.scales.PentatonicMin =
      ear.scales.Harmonic = true;
  App()->SetExcerciseSettings(settings);
  Open(EarTrainer, false);
  Screen()->GetPlayDialog()->clickAreaClicked();
  const QList<QToolButton*> buttons = UI::AnswerButtons(Form());
  ASSERT_TRUE(WaitUntil([&] { return buttons[0]->isVisible() && buttons[0]->text() != "--"; }));
  for (QToolButton* button : buttons) {
    EXPECT_TRUE(LabelFits(static_cast<UI::AnswerButton*>(button))) << qPrintable(button->text());
  }
  Snap("answers-scales");

  auto* narrow = static_cast<UI::AnswerButton*>(buttons[0]);
  auto expectWhole = [&](const QString& label) {
    narrow->setText(label);
    EXPECT_TRUE(LabelFits(narrow)) << qPrintable(label);
    const auto [left, right] = LabelInk(narrow);
    EXPECT_GT(left, 2) << qPrintable(label) << " runs into the left end";
    EXPECT_LT(right, narrow->width() - 3) << qPrintable(label) << " runs into the right end";
  };
  narrow->setFixedWidth(NarrowestAnswer);
  for (const QString& label : LongLabels()) expectWhole(label);
  // A label longer than its button at the look's size (a longer translation, a smaller screen)
  // is drawn smaller rather than cut.
  const QString scale = Core::GetScaleString(5, 40, false);
  narrow->setFixedWidth(QFontMetrics(narrow->font()).horizontalAdvance(scale) * 3 / 4);
  expectWhole(scale);
  EXPECT_LT(narrow->LabelFont().pixelSize(), narrow->font().pixelSize());
  Snap("answers-narrow");
}

}  // namespace
}  // namespace Testing
