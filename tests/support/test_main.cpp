// Test entry point shared by every test program: GoogleTest and GoogleMock, with a Qt application
// object on the offscreen platform so that widgets, timers, queued signals and the settings store
// behave as they do in the program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleMock(&argc, argv);
  // Several code paths start threads (timer, MIDI, thread pool); forked death tests must re-run
  // the program rather than continue a copy of a threaded process.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
