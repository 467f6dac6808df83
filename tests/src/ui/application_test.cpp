// The application object: its command line, and the order in which it creates and releases the
// services.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcessEnvironment>
#include <QSettings>

#include <string>
#include <vector>

#include "src/ui/application.h"
#include "src/ui/background_synth_device.h"
#include "src/ui/console.h"
#include "src/ui/progress.h"
#include "src/ui/screen_geometry.h"
#include "src/ui/splash_dialog.h"
#include "support/temp_environment.h"

namespace {

TEST(ApplicationCommandLine, DisplayIndexAndFullScreen) {
  struct Case {
    QStringList arguments;
    int display;
    bool fullscreen;
  };
  const Case cases[] = {
      {{"p", "-display", "2"}, 2, true},
      {{"p", "-display", "abc"}, 0, true},
      {{"p", "-display"}, 0, true},
      {{"p"}, 0, true},
      {{"p", "-display", "1", "-display", "2"}, 1, true},
      {{"p", "-display", "-1"}, -1, true},
      {{"p", "x", "-nofs"}, 0, false},
      {{"-nofs"}, 0, false},
      {{"p", "-NOFS"}, 0, true},
  };
  for (const Case& c : cases) {
    const std::string args = c.arguments.join(' ').toStdString();
    EXPECT_EQ(Application::GetDisplayIndex(c.arguments), c.display) << args;
    EXPECT_EQ(Application::IsFullscreen(c.arguments), c.fullscreen) << args;
  }
}

// The X11 platform would take "-display" for the X server: it leaves the command line before the
// application object is made, with its value, and its screen index is kept.
TEST(ApplicationCommandLine, TheDisplayOptionIsTakenOffTheArguments) {
  struct Case {
    std::vector<std::string> arguments;
    int display;
    std::vector<std::string> left;
  };
  const Case cases[] = {
      {{"p", "-nofs", "-display", "1"}, 1, {"p", "-nofs"}},
      {{"p", "-display", "1", "-x", "-display", "2"}, 1, {"p", "-x"}},
      {{"p", "-display"}, 0, {"p"}},
      {{"p", "-display", "abc", "-nofs"}, 0, {"p", "-nofs"}},
      {{"p", "-nofs"}, 0, {"p", "-nofs"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> storage = c.arguments;
    std::vector<char*> argv;
    for (std::string& argument : storage) argv.push_back(argument.data());
    argv.push_back(nullptr);
    int argc = int(storage.size());
    EXPECT_EQ(Application::TakeDisplayOption(argc, argv.data()), c.display);
    ASSERT_EQ(argc, int(c.left.size()));
    for (int i = 0; i < argc; ++i) EXPECT_EQ(argv[size_t(i)], c.left[size_t(i)]);
    EXPECT_EQ(argv[size_t(argc)], nullptr);
  }
}

TEST(WindowPlaces, TheChosenScreenWithItsOwnSizeAndTheSplashInTheMiddle) {
  const QRect primary(0, 0, 1440, 900), second(1440, 0, 1920, 1080);
  UI::SetScreenGeometries({primary, second});
  EXPECT_EQ(UI::Console::WindowArea(1), second);
  for (int display : {0, 2, -1}) EXPECT_EQ(UI::Console::WindowArea(display), primary) << display;
  UI::SplashDialog splash(nullptr);
  EXPECT_EQ(splash.geometry(), QRect(489, 257, 462, 386));
  EXPECT_FALSE(splash.isModal());
  UI::SetScreenGeometries({primary});
}

TEST(ApplicationServices, AreCreatedAndReleasedInTheirFixedOrders) {
  Testing::TempEnvironment environment;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, environment.ConfigHome());
  QStringList trace;
  Application::SetServiceTrace([&trace](const QString& event) { trace << event; });
  Application* app = Application::instance();
  app->Init();
  EXPECT_TRUE(app->GetSettings() && app->GetSoundController() && app->GetExerciseCatalog() &&
              app->GetMidiBank() && app->GetNewsClient());
  app->ReleaseServices();
  Application::SetServiceTrace({});
  EXPECT_EQ(trace,
            (QStringList{"create settings", "create sound", "create catalog", "create tempo bank",
                         "create news", "release tempo bank", "release news", "release settings",
                         "release catalog", "release sound"}));
  EXPECT_EQ(app->GetSettings(), nullptr);
  EXPECT_EQ(app->GetSoundController(), nullptr);
}

// The synthesizer opens its audio output on a worker while the GUI thread goes on reading the
// environment (Qt, JACK and ALSA all do). A variable added on the worker can free the list such a
// read is walking, so the worker must find nothing left to change.
TEST(ApplicationServices, TheSynthesizerWorkerLeavesTheEnvironmentAsItIs) {
  const auto environment = [] {
    return QProcessEnvironment::systemEnvironment().toStringList().join('\n').toStdString();
  };
  const std::string before = environment();
  UI::BackgroundSynthDevice synthesizer;
  EXPECT_FALSE(synthesizer.GetName().isEmpty());  // waits for the worker
  EXPECT_EQ(environment(), before);
}

TEST(ApplicationMusicFont, AFontThatDoesNotLoadStopsTheStartWithTheReason) {
  Testing::TempEnvironment environment;
  const QString notAFont = environment.DataHome() + "/razid2.ttf";
  QFile(notAFont).open(QIODevice::WriteOnly);
  Application* app = Application::instance();
  for (const QString& path : {environment.DataHome() + "/missing.ttf", notAFont}) {
    EXPECT_FALSE(app->LoadMusicFont(path));
    EXPECT_TRUE(app->MusicFontFailureMessage().contains(path)) << path.toStdString();
  }
  EXPECT_TRUE(app->LoadMusicFont(":/fonts/razid2.ttf") && app->MusicFontError().isEmpty());
}

TEST(ProgressBar, LengthsScaleInSixtyFourBits) {
  struct Case {
    int count, half, max, length;
  };
  const Case cases[] = {
      {0, 500, 0, 0},
      {5, 100, 0, 0},
      {3, 100, 5, 60},
      {5, 100, 5, 100},
      {2147483647, 500, 2147483647, 500},
      {1000000, 800, 2000000, 400},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Progress::BarLength(c.count, c.half, c.max), c.length)
        << c.count << " of " << c.max << " on " << c.half;
}

}  // namespace
