// Takes screenshots of the shell for review: the home screen, the toolbar in its exercise state,
// and each dialog, as the screen shows them. Run under a real X server of 1440 x 900 (Xvfb); the
// pictures go to the folder given as the first argument.

#include <QDir>
#include <QPushButton>
#include <QScreen>
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

namespace {

bool WaitUntil(const std::function<bool()>& done) {
  return QTest::qWaitFor(done, 5000);
}

class Camera {
 public:
  explicit Camera(QString folder) : m_folder(std::move(folder)) { QDir().mkpath(m_folder); }
  // Lets the screen settle, then saves what it shows.
  bool Take(const QString& name) {
    QTest::qWait(150);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString path = m_folder + "/" + name + ".png";
    const bool saved = !shot.isNull() && shot.save(path);
    std::printf("%s %s (%dx%d)\n", saved ? "saved" : "FAILED", qPrintable(path), shot.width(),
                shot.height());
    m_ok = m_ok && saved;
    return saved;
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
    QTest::qWaitForWindowExposed(&splash);
    camera.Take("splash");
  }

  UI::Console console(nullptr);
  app.setMainWindow(&console);
  QTest::qWaitForWindowExposed(&console);
  auto faded = [&] { return !console.Fader()->isFading(); };
  WaitUntil(faded);
  camera.Take("home");

  UI::BlockViewControl* homeScreen = console.GetBlockViewControl();
  UI::DifficultyLevelDialog* difficulty = homeScreen->GetDifficultyLevelDialog();
  QTest::mouseClick(homeScreen->findChild<QPushButton*>("Learn1"), Qt::LeftButton);
  WaitUntil([&] { return Shown(difficulty); });
  camera.Take("difficulty_lesson");
  difficulty->fadeOut();
  WaitUntil([&] { return !difficulty->isVisible(); });

  QTest::mouseClick(homeScreen->findChild<QPushButton*>("Quiz2"), Qt::LeftButton);
  WaitUntil([&] { return Shown(difficulty); });
  camera.Take("difficulty_quiz");
  QTest::mouseClick(difficulty->findChild<QAbstractButton*>("Level3"), Qt::LeftButton);
  WaitUntil([&] { return faded() && !difficulty->isVisible(); });
  camera.Take("toolbar_exercise");

  console.showAbout();
  WaitUntil([&] { return Shown(console.aboutDialog()); });
  camera.Take("about");
  console.aboutDialog()->fadeOut();
  WaitUntil([&] { return !console.aboutDialog()->isVisible(); });

  UI::MailDialog mail(&console, QRect(QPoint(0, 0), console.size()));
  QString news =
      "<html><body><h2>New in Melvarin Studio</h2><p>Three new tempo pieces are waiting in the "
      "ear trainer. <a href=\"https://example.org/news\">Read more</a></p></body></html>";
  mail.setText(news);
  mail.show();
  WaitUntil([&] { return Shown(&mail); });
  camera.Take("mail");
  mail.fadeOut();
  WaitUntil([&] { return !mail.isVisible(); });

  UI::WarningDialog warning(&console, QRect(QPoint(0, 0), console.size()));
  warning.show();
  WaitUntil([&] { return Shown(&warning); });
  camera.Take("warning");
  warning.fadeOut();
  WaitUntil([&] { return !warning.isVisible(); });

  {
    UI::AppRating rating(nullptr);
    rating.show();
    QTest::qWaitForWindowExposed(&rating);
    camera.Take("rating");
  }
  app.setMainWindow(nullptr);
  return camera.Ok() ? 0 : 1;
}
