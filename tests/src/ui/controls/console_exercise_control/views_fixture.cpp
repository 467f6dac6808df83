#include "views_fixture.h"

#include <QDir>
#include <QLabel>
#include <QState>
#include <QTextDocumentFragment>
#include <QToolButton>

#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/exercise.h"
#include "src/ui/message_dialogs.h"
#include "src/ui/progress.h"

namespace Testing {

void ExerciseViewsTest::Open(int trainer, bool quiz) {
  StartConsole();
  App()->SetQuizMode(quiz);
  m_console->OpenExercise(size_t(trainer), quiz);
  ASSERT_TRUE(WaitUntil([this] {
    return FadeDone() && Screen()->isVisible() && Machine() && !MachineState().isEmpty();
  }));
  ASSERT_TRUE(Exercise());
}

QString ExerciseViewsTest::MachineState() const {
  const auto states = Machine()->configuration();
  return states.isEmpty() ? QString() : (*states.begin())->objectName();
}

bool ExerciseViewsTest::Settled() const {
  return WaitUntil(
      [this] { return Probe().ViewAnimation()->state() == QAbstractAnimation::Stopped; });
}

void ExerciseViewsTest::Record(int section, int id, int correct, int wrong) const {
  App()->GetExerciseCatalog()->GetExerciseStatistics()->AddEntry(
      {id, int(Screen()->GetCurrentExerciseId()), section, correct, wrong});
}

int ExerciseViewsTest::FindId(int section,
                              const std::function<bool(int, const QString&)>& match) const {
  for (int id = 0; id < 5000; ++id)
    if (match(int(Exercise()->GetNoteById(section, id)), Exercise()->GetGroupTextById(section, id)))
      return id;
  ADD_FAILURE() << "no question of section " << section << " fits";
  return -1;
}

QStringList ExerciseViewsTest::ShownRows() const {
  QStringList rows;
  for (const auto& row : Probe().Rows())
    if (row.widget->isVisibleTo(Screen()))
      rows << QString("%1 %2/%3")
                  .arg(QTextDocumentFragment::fromHtml(row.label->text()).toPlainText())
                  .arg(row.bar->leftValue())
                  .arg(row.bar->value());
  return rows;
}

QString ExerciseViewsTest::NoticeWords(const QString& name) const {
  auto* notice = m_console->findChild<UI::NoticeDialog*>(name, Qt::FindDirectChildrenOnly);
  if (!notice || !notice->isVisible()) return {};
  auto words = [notice](const char* label) {
    return QTextDocumentFragment::fromHtml(notice->findChild<QLabel*>(label)->text())
        .toPlainText()
        .trimmed();
  };
  return words("Loading_4") + "\n" + words("Loading_5");
}

bool ExerciseViewsTest::CloseNotice(const QString& name) const {
  auto* notice = m_console->findChild<UI::NoticeDialog*>(name, Qt::FindDirectChildrenOnly);
  if (!notice) return false;
  QTest::mouseClick(notice->findChild<QToolButton*>("Close"), Qt::LeftButton);
  return WaitUntil([notice] { return !notice->isVisible(); });
}

void ExerciseViewsTest::Snap(const QString& name) const {
  const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
  QDir().mkpath(folder);
  EXPECT_TRUE(m_console->grab().save(folder + "/" + name + ".png"));
}

}  // namespace Testing
