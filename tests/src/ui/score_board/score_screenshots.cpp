// Pictures of exercise scores on the score board for review: the note trainer's question score
// for C-E-G and an answer score with right (green), wrong (red) and missing (blue) notes and the
// highlight frame round two of its notes. Run under a real X server (Xvfb); the pictures go to the
// folder given as the first argument.

#include <QApplication>
#include <QDir>

#include <cstdio>

#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_fonts.h"
#include "src/core/score_builder/score_builder.h"
#include "src/core/score_provider/score_provider.h"
#include "src/ui/score_board/score_board.h"

namespace {

using Core::NoteWAnalysis;

bool Shoot(const QString& folder, const QString& name, const std::string& rmn, int highlight) {
  auto set = std::make_shared<Core::ScoreSet>(1);
  Core::ScoreBuilder().BuildScores(rmn, set->first(), Core::ScoreBuilder::ExerciseScore);
  set->first().highlightIndex = highlight;

  QWidget frame;
  frame.setStyleSheet("background: white");
  frame.resize(1200, 450);
  UI::ScoreBoard board(&frame);
  board.displayMode = UI::Exercise;
  board.handMode = 0;
  board.resize(frame.size());
  board.Reset(set);
  const QString path = folder + "/" + name + ".png";
  const bool saved = frame.grab().save(path);
  std::printf("%s %s (%lld note boxes)\n", saved ? "saved" : "FAILED", qPrintable(path),
              static_cast<long long>(set->first().noteRects.size()));
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  QDir().mkpath(folder);
  if (!RazidQt::PrepareEngineFonts()) return 1;
  QRazidPainter::startRazidEngine();

  const std::string question = Core::ScoreProvider::GetQuestionScoreNotes(
      {39, 43, 46}, true, false, Core::ScoreProvider::ST_CHORD);
  const std::vector<NoteWAnalysis> answer = {{39, NoteWAnalysis::CL_RIGHT},
                                             {44, NoteWAnalysis::CL_WRONG},
                                             {43, NoteWAnalysis::CL_NOT_PLAYED},
                                             {46, NoteWAnalysis::CL_RIGHT}};
  const std::string answerChord =
      Core::ScoreProvider::GetQuestionScoreAnswerNotes(answer, true, false);
  const std::string answerSequence =
      Core::ScoreProvider::GetQuestionScoreAnswerNotesSequence(answer, true, false);

  bool ok = Shoot(folder, "score_question_chord", question, -1);
  ok = Shoot(folder, "score_answer_chord", answerChord, 1) && ok;
  ok = Shoot(folder, "score_answer_sequence", answerSequence, 1) && ok;
  QRazidPainter::stopRazidEngine();
  return ok ? 0 : 1;
}
