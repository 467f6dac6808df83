// Screenshots of the exercise screen for review: each trainer's first question, a wrong answer of
// the note trainer with its coloured keys, the settings page opened from it and the lesson after
// it, the lesson's statistics, a print to a PDF file (kept beside the pictures) and one without a
// printer, the ear trainer's settings and a scale question on the piano, the section-end dialog,
// the next question after a wrong key and after a chord answered with A0, where no key keeps the
// verdict's colour, and a scale's answer buttons while it is heard and after. The lessons are
// started from the home screen's Learn buttons and driven with the space bar, the piano, the
// section buttons and the answer buttons. Run under a real X server of 1440 x 900 (Xvfb); the
// pictures go to the folder given as the first argument.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <functional>

#include "src/core/exercise/exercise.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/action_hint_dialog.h"
#include "src/ui/application.h"
#include "src/ui/block_view_control.h"
#include "src/ui/console.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/fader_widget.h"
#include "src/ui/keyboard.h"
#include "src/ui/message_dialogs.h"
#include "src/ui/play_dialog.h"
#include "src/ui/section_end_dialog.h"
#include "tests/support/patience.h"

namespace {

bool WaitUntil(const std::function<bool()>& done, int ms = Testing::PatienceMs) {
  return QTest::qWaitFor(done, ms);
}

class Camera {
 public:
  explicit Camera(QString folder) : m_folder(std::move(folder)) { QDir().mkpath(m_folder); }
  void Take(const QString& name, int settleMs = 200) {
    QTest::qWait(settleMs);  // lets fades and repaints settle before the grab
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString path = m_folder + "/" + name + ".png";
    const bool saved = !shot.isNull() && shot.save(path);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
    m_ok = m_ok && saved;
  }
  void Expect(bool done, const char* step) {
    if (!done) std::printf("FAILED to wait for %s\n", step);
    m_ok = m_ok && done;
  }
  bool Ok() const { return m_ok; }

 private:
  QString m_folder;
  bool m_ok = true;
};

// Short lessons, answers on the keys, and no warning about a missing MIDI keyboard.
void PrepareSettings(Application& app) {
  Core::GlobalSettings global = app.GetSettings()->globalSettings;
  global.showDifficultyDialog = false;
  global.hideMidiDialog = true;
  app.SetGlobalSettings(global);
  Core::ExcersisesSettings exercises = app.GetSettings()->GetExcersiseSettings();
  // A music-symbols lesson of two questions, so that its end comes soon.
  exercises.sheetMusicSymbols.length.duration.questions = 2;
  exercises.sheetMusicSymbols.signatures.duration.questions = 0;
  exercises.sheetMusicSymbols.tempo.duration.questions = 0;
  exercises.sheetMusicSymbols.loudness.duration.questions = 0;
  exercises.sheetMusicSymbols.noteModifiers.duration.questions = 0;
  exercises.noteTrainer.onWrongAnswer.autoContinue = false;
  // The stored range of a first start, C2 up to E5 exclusive: its top key is the black D#5.
  exercises.noteTrainer.singleNotes.diapason.minimum = 15;
  exercises.noteTrainer.singleNotes.diapason.maximum = 55;
  app.SetExcerciseSettings(exercises);
}

// A point of the on-screen piano that presses `key`.
QPoint KeyPoint(Keyboard* piano, int key) {
  for (int x = 0; x < piano->width(); ++x)
    if (piano->getKeyByPos(x, piano->height() * 9 / 10) == key)
      return {x + 2, piano->height() * 9 / 10};
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
  Application app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <folder for the pictures>\n", argv[0]);
    return 2;
  }
  Camera camera(QString::fromLocal8Bit(argv[1]));
  app.Init();
  PrepareSettings(app);

  UI::Console console(nullptr);
  app.setMainWindow(&console);
  camera.Expect(QTest::qWaitForWindowExposed(&console), "the main window");
  auto faded = [&] { return !console.Fader()->isFading(); };
  // The home screen fades in after the window's first paint; the exercise screen takes the size
  // of its score frame from the home screen's layout.
  camera.Expect(WaitUntil([&] { return faded() && console.GetBlockViewControl()->isVisible(); }),
                "the home screen");
  UI::ConsoleExerciseControl* screen = console.GetExerciseControl();
  Ui_console_exercise_control& ui = screen->Form();
  UI::FaderWidget* questionArea = ui.NotestavePictureWidget->findChild<UI::FaderWidget*>();

  auto start = [&](const char* learn) {
    QTest::mouseClick(console.GetBlockViewControl()->findChild<QPushButton*>(learn),
                      Qt::LeftButton);
    camera.Expect(WaitUntil([&] { return faded() && screen->isVisible(); }), "the exercise screen");
    QTest::keyClick(screen, Qt::Key_Space);
    camera.Expect(WaitUntil([&] {
                    return screen->CurrentExercise() &&
                           screen->CurrentExercise()->GetState() == Core::ES_AWAITING_ANSWER &&
                           !questionArea->isFading();
                  }),
                  "the first question");
  };
  auto goHome = [&] {
    console.NavigateHome();
    camera.Expect(WaitUntil(faded), "the home screen");
  };

  start("Learn1");
  camera.Take("note_trainer_question");
  const Core::Question& question = screen->CurrentExercise()->GetCurrentQuestion();
  const auto& stream = question.VariantData[question.CorrectVariant].Stream;
  const int rightNote = stream && !stream->GetEvents().isEmpty()
                            ? stream->GetEvents().front().GetMessage().GetNote()
                            : 60;
  const int wrongKey = rightNote - 21 + 1;
  QTest::mouseClick(ui.Gkc, Qt::LeftButton, {}, KeyPoint(ui.Gkc, wrongKey));
  camera.Expect(
      WaitUntil([&] { return screen->CurrentExercise()->GetState() != Core::ES_AWAITING_ANSWER; }),
      "the verdict");
  camera.Take("note_trainer_answer");
  // The settings opened on the Single Notes page, with the key range of the lesson, and back:
  // the Play overlay over the paused lesson, its last verdict gone.
  console.showSettings();
  camera.Expect(WaitUntil([&] { return faded() && !screen->isVisible(); }), "the settings");
  camera.Take("note_trainer_settings");
  console.showExercise();
  camera.Expect(WaitUntil([&] { return faded() && screen->isVisible(); }), "the lesson again");
  camera.Take("note_trainer_back_from_settings");
  QTest::keyClick(screen, Qt::Key_Space);
  // The statistics of the lesson: a row per note name, sharps among them.
  console.showStatistics();
  camera.Expect(
      WaitUntil([&] { return !console.Fader()->isFading() && ui.viewHistory->isVisible(); }),
      "the statistics");
  camera.Take("note_trainer_statistics");
  console.showExercise();
  camera.Expect(WaitUntil([&] { return ui.Gkc->isVisible(); }), "the lesson again");
  // Printing the reference to a file tells where the file went.
  const QString printed = QString::fromLocal8Bit(argv[1]) + "/reference.pdf";
  QFile::remove(printed);
  console.showReference();
  camera.Expect(WaitUntil([&] { return screen->isReferenceEnabled(); }), "the reference");
  // Prints through the print dialog, to `file` or, without one, to a printer that is not there,
  // and takes the dialog and the notice that follows.
  auto print = [&](const QString& file, const char* dialogPicture, const char* notice,
                   const char* noticePicture) {
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      if (dialogPicture) camera.Take(dialogPicture);
      if (file.isEmpty()) {
        dialog->printer()->setOutputFileName({});
        dialog->printer()->setPrinterName("Melvarin No Such Printer");
      } else {
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(file);
      }
      dialog->done(QDialog::Accepted);
    });
    QTest::mouseClick(ui.Print, Qt::LeftButton);
    auto* shown = console.findChild<UI::NoticeDialog*>(notice);
    camera.Expect(shown && WaitUntil([&] { return shown->opacity() == 1.0; }), notice);
    if (!shown) return;
    camera.Take(noticePicture);
    shown->fadeOut();
    camera.Expect(WaitUntil([&] { return !shown->isVisible(); }), "the notice to close");
  };
  print(printed, nullptr, "referencePrinted", "print_to_file");
  // Printing the reference where there is no printer tells the learner so.
  print({}, "print_dialog", "referencePrintFailure", "print_failed");
  goHome();

  start("Learn2");
  camera.Take("ear_trainer_question");
  // The ear trainer's settings, as wide as the note trainer's.
  console.showSettings();
  camera.Expect(WaitUntil([&] { return faded() && !screen->isVisible(); }), "the settings");
  camera.Take("ear_trainer_settings");
  console.showExercise();
  camera.Expect(WaitUntil([&] { return faded() && screen->isVisible(); }), "the lesson again");
  QTest::keyClick(screen, Qt::Key_Space);
  camera.Expect(WaitUntil([&] {
                  return screen->CurrentExercise()->GetPlaybackState() == Core::PS_PLAYING &&
                         !screen->GetPlayDialog()->isVisible();
                }),
                "the lesson to play");
  // The Scales section answered on the piano: what to play is told.
  QTest::mouseClick(ui.TimelineButton4, Qt::LeftButton);
  camera.Expect(WaitUntil([&] {
                  return screen->CurrentExercise()->GetState() == Core::ES_AWAITING_ANSWER &&
                         screen->GetExerciseSectionIndex() == 3;
                }),
                "a scale question");
  camera.Expect(WaitUntil([&] { return !questionArea->isFading(); }), "the scale's question mark");
  camera.Take("ear_trainer_scales");
  goHome();

  start("Learn3");
  camera.Take("music_symbols_question");
  // Right answers until the first section ends.
  QToolButton* const buttons[] = {ui.Answer1, ui.Answer2, ui.Answer3,
                                  ui.Answer4, ui.Answer5, ui.Answer6};
  UI::SectionEndDialog* end = nullptr;
  for (int answered = 0; answered < 20 && !end; ++answered) {
    Core::Exercise* exercise = screen->CurrentExercise();
    if (exercise->GetState() == Core::ES_AWAITING_ANSWER)
      QTest::mouseClick(buttons[exercise->GetCurrentQuestion().CorrectVariant], Qt::LeftButton);
    WaitUntil([&] {
      end = screen->GetSectionEndDialog();
      return (end && end->isVisible()) ||
             screen->CurrentExercise()->GetState() == Core::ES_AWAITING_ANSWER;
    });
    if (end && !end->isVisible()) end = nullptr;
  }
  camera.Expect(end != nullptr, "the section end");
  camera.Expect(WaitUntil([&] { return end && !end->countingUp(); }), "the count-up");
  camera.Take("section_end");
  goHome();

  // Help asked for in a timed lesson where no browser opens: the notice says so, and the lesson
  // stands still behind it for longer than two questions' time.
  Application::SetLinkOpener([](const QUrl&) { return false; });
  qputenv("MELVARIN_SERVICE_URL", "http://127.0.0.1:9");
  Core::ExcersisesSettings timed = app.GetSettings()->GetExcersiseSettings();
  timed.noteTrainer.singleNotes.duration = {2, 5};
  app.SetExcerciseSettings(timed);
  start("Learn1");
  QTest::mouseClick(console.form().Help, Qt::LeftButton);
  auto* help = console.findChild<UI::NoticeDialog*>("helpNotice");
  camera.Expect(help && WaitUntil([&] { return help->opacity() == 1.0; }), "the help notice");
  QTest::qWait(5000);  // the learner reads
  camera.Take("help_notice_in_timed_lesson");
  if (help) help->fadeOut();
  camera.Expect(WaitUntil([&] { return help && !help->isVisible(); }), "the notice to close");
  camera.Take("help_notice_closed");
  goHome();

  // The next question after a wrong key and after a chord answered with A0, the lesson going on
  // after a mistake, with the pointer off the piano: no key keeps the last verdict's colour.
  Core::ExcersisesSettings goingOn = app.GetSettings()->GetExcersiseSettings();
  goingOn.noteTrainer.singleNotes.duration = {0, 5};
  goingOn.noteTrainer.chord.duration = {0, 5};
  goingOn.noteTrainer.onWrongAnswer = {true, 1500};
  app.SetExcerciseSettings(goingOn);
  auto answerAndWait = [&](int key, const char* verdictPicture, const char* nextPicture) {
    Core::Exercise* exercise = screen->CurrentExercise();
    const int asked = exercise->GetProgress().QuestionsAsked;
    QTest::mouseClick(ui.Gkc, Qt::LeftButton, {}, KeyPoint(ui.Gkc, key));
    QTest::mouseMove(ui.NotestavePictureWidget, QPoint(10, 10));
    camera.Take(verdictPicture);
    camera.Expect(WaitUntil([&] {
                    return exercise->GetProgress().QuestionsAsked > asked &&
                           exercise->GetState() == Core::ES_AWAITING_ANSWER &&
                           !questionArea->isFading();
                  }),
                  "the next question");
    camera.Take(nextPicture);
  };
  start("Learn1");
  // The learner reads the question while the spacebar hint comes and goes.
  auto* spacebarHint = screen->findChild<UI::ActionHintDialog*>();
  camera.Expect(WaitUntil([&] {
                  return screen->CurrentExercise()->GetState() == Core::ES_AWAITING_ANSWER &&
                         !questionArea->isFading() && spacebarHint &&
                         (!spacebarHint->isVisible() || spacebarHint->newOpacity() < 0.01f);
                }),
                "the spacebar hint to go");
  // A3, or B3 when the question is A3.
  const Core::Question& asked = screen->CurrentExercise()->GetCurrentQuestion();
  const auto& notes = asked.VariantData[asked.CorrectVariant].Stream;
  const bool askedA3 = notes && !notes->GetEvents().isEmpty() &&
                       notes->GetEvents().front().GetMessage().GetNote() == 57;
  answerAndWait(askedA3 ? 38 : 36, "note_trainer_wrong_key_going_on",
                "note_trainer_next_question_after_wrong_key");
  QTest::mouseClick(ui.TimelineButton3, Qt::LeftButton);  // the chords
  camera.Expect(WaitUntil([&] {
                  return screen->GetExerciseSectionIndex() == 2 &&
                         screen->CurrentExercise()->GetState() == Core::ES_AWAITING_ANSWER &&
                         !questionArea->isFading();
                }),
                "a chord question");
  answerAndWait(0, "note_trainer_chord_answered_with_a0", "note_trainer_next_question_after_chord");
  goHome();

  // A scale on the buttons: they take no click while it is heard, and look it.
  Core::GlobalSettings onButtons = app.GetSettings()->globalSettings;
  onButtons.answerGkc = false;
  onButtons.answerMultipleChoice = true;
  app.SetGlobalSettings(onButtons);
  Core::ExcersisesSettings scales = app.GetSettings()->GetExcersiseSettings();
  for (Core::ExerciseDuration* skipped :
       {&scales.earTrainer.singleNotes.duration, &scales.earTrainer.interval.duration,
        &scales.earTrainer.chord.duration})
    skipped->questions = 0;
  scales.earTrainer.scales.duration = {0, 5};
  app.SetExcerciseSettings(scales);
  QTest::mouseClick(console.GetBlockViewControl()->findChild<QPushButton*>("Learn2"),
                    Qt::LeftButton);
  camera.Expect(WaitUntil([&] { return faded() && screen->isVisible(); }), "the exercise screen");
  QTest::keyClick(screen, Qt::Key_Space);
  camera.Expect(WaitUntil([&] {
                  return screen->CurrentExercise()->GetState() == Core::ES_PLAYING &&
                         !ui.Answer1->isEnabled();
                }),
                "a scale to be heard");
  camera.Take("ear_trainer_scale_buttons_while_heard", 50);
  camera.Expect(WaitUntil([&] { return ui.Answer1->isEnabled() && !questionArea->isFading(); }),
                "the scale's answer");
  camera.Take("ear_trainer_scale_buttons_once_heard");
  goHome();

  app.setMainWindow(nullptr);
  return camera.Ok() ? 0 : 1;
}
