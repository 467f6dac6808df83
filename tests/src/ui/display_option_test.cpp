// The program's "-display N" under X11, on an X server with two screens: the option picks the
// screen the main window covers. Qt's X11 platform reads "-display" as the name of the X server,
// so a command line that still held it would stop before the application object exists.
// Run as: display_option_test <screen index>; the application object is made with the program's
// own options, "-nofs -display <screen index>".

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <string>
#include <vector>

#include "src/ui/application.h"
#include "src/ui/console.h"
#include "support/temp_environment.h"

namespace {

int g_asked = 0;

TEST(DisplayOption, TheMainWindowCoversTheChosenScreen) {
  Application* app = Application::instance();
  EXPECT_FALSE(app->arguments().contains("-display"));
  EXPECT_EQ(app->GetDisplayIndex(), g_asked);
  ASSERT_EQ(QGuiApplication::screens().size(), 2) << "the X server should offer two screens";

  Testing::TempEnvironment environment;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, environment.ConfigHome());
  app->Init();
  {
    UI::Console console(nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&console));
    QScreen* chosen = QGuiApplication::screens().at(g_asked);
    EXPECT_EQ(console.screen(), chosen);
    EXPECT_EQ(console.size(), chosen->geometry().size());
  }
  app->ReleaseServices();
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const std::string index = argc > 1 ? argv[1] : "0";
  g_asked = std::stoi(index);
  std::vector<char*> arguments = {argv[0], const_cast<char*>("-nofs"),
                                  const_cast<char*>("-display"), const_cast<char*>(index.c_str()),
                                  nullptr};
  int count = int(arguments.size()) - 1;
  Application app(count, arguments.data());
  return RUN_ALL_TESTS();
}
