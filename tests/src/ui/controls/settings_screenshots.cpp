// Takes screenshots of the settings pieces for review: the general page, a trainer page locked
// by a quiz, and both range selectors. Run under a real X server of 1440 x 900 (Xvfb); the
// pictures go to the folder given as the first argument.

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "src/ui/application.h"
#include "src/ui/window_stack_manager.h"
#include "test_panel.h"
#include "tests/src/ui/screen_camera.h"

using Testing::TakeScreenshot;

int main(int argc, char** argv) {
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
  char windowed[] = "-nofs";
  std::vector<char*> arguments(argv, argv + argc);
  arguments.push_back(windowed);
  int count = int(arguments.size());
  Application app(count, arguments.data());
  app.Init();
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
  QDir().mkpath(folder);
  UI::WindowStackManager stack;
  app.setWindowStackManager(&stack);
  bool ok = true;

  Testing::TestPanel panel;
  panel.setGeometry(0, 0, 1440, 900);
  auto open = [&](int page, bool quiz) {
    app.SetQuizMode(quiz);
    panel.hide();
    panel.SetPage(page);
    panel.setQuizMode(quiz);
    stack.Show(&panel, nullptr);
    return QTest::qWaitForWindowExposed(&panel);
  };
  ok = open(1, false) && TakeScreenshot(folder, "general_page") && ok;
  ok = open(0, true) && TakeScreenshot(folder, "locked_page") && ok;
  panel.hide();
  app.SetQuizMode(false);

  QWidget selectors;
  selectors.setStyleSheet("background-color: rgb(112, 102, 92);");
  auto* layout = new QVBoxLayout(&selectors);
  auto* keys = new UI::GkcRangeSelectorControl(&selectors);
  keys->SetGkcRange(15, 55);
  auto* bass = new UI::GkcRangeSelectorControl(&selectors);
  bass->SetLimited(true);
  bass->SetGKeyMode(false, true);
  bass->SetRange(5, 20);
  auto* intervals = new UI::IntervalRangeSelectorControl(&selectors);
  intervals->setFixedSize(650, 115);
  intervals->SetIntervalRange(3, 8);
  layout->addWidget(keys);
  layout->addWidget(bass);
  layout->addWidget(intervals);
  layout->addStretch();
  selectors.setGeometry(0, 0, 1440, 900);
  selectors.show();
  ok = QTest::qWaitForWindowExposed(&selectors) && TakeScreenshot(folder, "range_selectors") && ok;
  selectors.hide();
  app.setWindowStackManager(nullptr);
  return ok ? 0 : 1;
}
