#pragma once

// The notation engine started once per test program with its fonts, as the application starts it.

#include <gtest/gtest.h>

#include <QRect>

#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_fonts.h"
#include "src/core/score_builder/score_screen.h"

class EngineTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(RazidQt::PrepareEngineFonts());
    QRazidPainter::startRazidEngine();
  }
  static void TearDownTestSuite() { QRazidPainter::stopRazidEngine(); }

  void SetUp() override { Core::SetScoreScreenGeometry(QRect(0, 0, 1440, 900)); }
  void TearDown() override { Core::SetScoreScreenGeometry(QRect()); }
};
