// Takes screenshots of the shell for review: the home screen, the toolbar in its exercise state,
// and each dialog, as the screen shows them. Run under a real X server of 1440 x 900 (Xvfb); the
// pictures go to the folder given as the first argument.

#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>

#include "src/ui/app_rating.h"
#include "src/ui/application.h"
#include "src/ui/block_view_control.h"
#include "src/ui/console.h"
#include "src/ui/difficulty_level_dialog.h"
#include "src/ui/fader_widget.h"
#include "src/ui/message_dialogs.h"
#include "src/ui/splash_dialog.h"
#include "tests/src/ui/screen_camera.h"

namespace {

bool WaitUntil(const std::function<bool()>& done) {
  return QTest::qWaitFor(done, Testing::PatienceMs);
}

class Camera {
 public:
  explicit Camera(QString folder) : m_folder(std::move(folder)) { QDir().mkpath(m_folder); }
  // Lets the screen settle, then saves what it shows.
  bool Take(const QString& name) {
    const bool saved = Testing::TakeScreenshot(m_folder, name, 150);
    m_ok = m_ok && saved;
    return saved;
  }
  // Records a step that did not come about; the run then fails.
  void Expect(bool done, const char* step) {
    if (!done) std::printf("FAILED to wait for %s\n", step);
    m_ok = m_ok && done;
  }
  bool Ok() const { return m_ok; }

 private:
  QString m_folder;
  bool m_ok = true;
};

bool Shown(UI::BaseDialog* dialog) {
  return dialog->isVisible() && dialog->opacity() == 1.0;
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

  {
    UI::SplashDialog splash(nullptr);
    splash.show();
    camera.Expect(QTest::qWaitForWindowExposed(&splash), "the splash");
    camera.Take("the splash");
  }

  UI::Console console(nullptr);
  app.setMainWindow(&console);
  camera.Expect(QTest::qWaitForWindowExposed(&console), "the main window");
  auto faded = [&] { return !console.Fader()->isFading(); };
  camera.Expect(WaitUntil(faded), "the home screen");
  camera.Take("home");

  UI::BlockViewControl* homeScreen = console.GetBlockViewControl();
  UI::DifficultyLevelDialog* difficulty = homeScreen->GetDifficultyLevelDialog();
  QTest::mouseClick(homeScreen->findChild<QPushButton*>("Learn1"), Qt::LeftButton);
  camera.Expect(WaitUntil([&] { return Shown(difficulty); }), "the difficulty dialog");
  camera.Take("difficulty_lesson");
  difficulty->fadeOut();
  camera.Expect(WaitUntil([&] { return !difficulty->isVisible(); }),
                "the difficulty dialog to close");

  QTest::mouseClick(homeScreen->findChild<QPushButton*>("Quiz2"), Qt::LeftButton);
  camera.Expect(WaitUntil([&] { return Shown(difficulty); }), "the difficulty dialog");
  camera.Take("difficulty_quiz");
  QTest::mouseClick(difficulty->findChild<QAbstractButton*>("Level3"), Qt::LeftButton);
  camera.Expect(WaitUntil([&] { return faded() && !difficulty->isVisible(); }),
                "the exercise screen");
  camera.Take("toolbar_exercise");
  // Out of full screen and back with the button at the same place.
  console.toggleFullscreen();
  camera.Expect(WaitUntil([&] { return !console.isFullScreen(); }), "a window");
  camera.Take("toolbar_windowed");
  console.toggleFullscreen();
  camera.Expect(WaitUntil([&] { return console.isFullScreen(); }), "full screen again");
  camera.Take("toolbar_full_screen_again");

  console.showAbout();
  camera.Expect(WaitUntil([&] { return Shown(console.aboutDialog()); }), "the About dialog");
  camera.Take("about");
  console.aboutDialog()->fadeOut();
  camera.Expect(WaitUntil([&] { return !console.aboutDialog()->isVisible(); }),
                "the About dialog to close");

  UI::MailDialog mail(&console, QRect(QPoint(0, 0), console.size()));
  QString news =
      "<html><body><h2>New in Melvarin Studio</h2><p>Three new tempo pieces are waiting in the "
      "ear trainer. <a href=\"https://example.org/news\">Read more</a></p></body></html>";
  mail.setText(news);
  mail.show();
  camera.Expect(WaitUntil([&] { return Shown(&mail); }), "the mail dialog");
  camera.Take("mail");
  mail.fadeOut();
  camera.Expect(WaitUntil([&] { return !mail.isVisible(); }), "the mail dialog to close");

  UI::WarningDialog warning(&console, QRect(QPoint(0, 0), console.size()));
  warning.show();
  camera.Expect(WaitUntil([&] { return Shown(&warning); }), "the warning");
  camera.Take("warning");
  warning.fadeOut();
  camera.Expect(WaitUntil([&] { return !warning.isVisible(); }), "the warning to close");

  {
    UI::AppRating rating(nullptr);
    rating.show();
    camera.Expect(QTest::qWaitForWindowExposed(&rating), "the rating");
    camera.Take("the rating");
  }
  app.setMainWindow(nullptr);
  return camera.Ok() ? 0 : 1;
}
