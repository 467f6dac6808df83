#include "src/ui/console_exercise_control.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/exercise.h"
#include "src/core/settings/global_settings.h"
#include "src/ui/application.h"
#include "src/ui/window_stack_manager.h"

namespace UI {

namespace {
const char* const TrainerNames[] = {"Note trainer", "Ear trainer", "Music symbols trainer"};
}

ConsoleExerciseControl::ConsoleExerciseControl(QWidget* parent)
    : QWidget(parent), m_label(new QLabel(this)) {
  setObjectName("console_exercise_control");
  setStyleSheet("background-color: rgb(20, 24, 32);");
  m_label->setAlignment(Qt::AlignCenter);
  m_label->setStyleSheet("color: white; font: 28px \"Tahoma\";");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_label);
  connect(parent, SIGNAL(showExercise(UI::Speed)), this, SLOT(showExercise(UI::Speed)));
  connect(parent, SIGNAL(showReference(UI::Speed)), this, SLOT(showReference(UI::Speed)));
  connect(parent, SIGNAL(showStatistics(UI::Speed)), this, SLOT(ShowStatistics(UI::Speed)));
  connect(Application::instance()->windowStackManager(), &WindowStackManager::screenChange, this,
          &ConsoleExerciseControl::screenChangeSlot);
}

void ConsoleExerciseControl::StartExercise(size_t exerciseId, bool quiz, bool resume) {
  StopExercise();
  m_exerciseId = int(exerciseId);
  m_quiz = quiz;
  m_position = 0;
  m_paused = false;
  m_exercise = Application::instance()->GetExerciseCatalog()->OpenExercise(exerciseId);
  ShowView(QStringLiteral("Exercise"));
}

void ConsoleExerciseControl::StopExercise() {
  m_exercise.reset();
}

void ConsoleExerciseControl::LoadState(const Core::VAvaroState& state) {
  m_position = state.exercisePosition;
  ShowView(QStringLiteral("Exercise"));
}

bool ConsoleExerciseControl::SaveState(Core::VAvaroState& state) {
  if (!m_exercise) return false;
  state.exerciseId = m_exerciseId;
  state.exercisePosition = m_position;
  return true;
}

bool ConsoleExerciseControl::PauseExercise(bool pause, bool) {
  if (!m_exercise || m_paused == pause) return false;
  m_paused = pause;
  return true;
}

void ConsoleExerciseControl::ApplySettings() {}

void ConsoleExerciseControl::showExercise(Speed) {
  ShowView(QStringLiteral("Exercise"));
}

void ConsoleExerciseControl::showReference(Speed) {
  ShowView(QStringLiteral("Reference"));
}

void ConsoleExerciseControl::ShowStatistics(Speed) {
  ShowView(QStringLiteral("Statistics"));
}

void ConsoleExerciseControl::screenChangeSlot(QString, QString) {}

void ConsoleExerciseControl::ShowView(const QString& view) {
  const int id = m_exerciseId < 0 ? 0 : std::min(m_exerciseId, 2);
  m_label->setText(QStringLiteral("%1 - %2%3")
                       .arg(tr(TrainerNames[id]), view, m_quiz ? tr(" (quiz)") : QString()));
}

}  // namespace UI
