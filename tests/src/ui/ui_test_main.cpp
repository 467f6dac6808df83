// Entry point of the shell's tests: the program's own application object on the offscreen
// platform, with one 1440 x 900 screen, so the shell finds its services where it looks for them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "src/ui/application.h"
#include "src/ui/screen_geometry.h"

#include <vector>

int main(int argc, char** argv) {
  ::testing::InitGoogleMock(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A window of the screen's size: the offscreen platform's full screen is its own 800 x 600.
  std::vector<char*> arguments(argv, argv + argc);
  char windowed[] = "-nofs";
  arguments.push_back(windowed);
  int count = int(arguments.size());
  Application app(count, arguments.data());
  UI::SetScreenGeometries({QRect(0, 0, 1440, 900)});
  return RUN_ALL_TESTS();
}
