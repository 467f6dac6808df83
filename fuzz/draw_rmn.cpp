#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_targets.h"
#include "fuzz/low_work_limits.h"
#include "fuzz/offscreen_application.h"
#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_fonts.h"

namespace Fuzz {
namespace {

// The engine draws through Qt: the application and the engine started once, with its fonts, for
// the whole run.
void StartEngineOnce() {
  static bool started = [] {
    StartOffscreenApplicationOnce();
    if (!RazidQt::PrepareEngineFonts()) std::abort();
    QRazidPainter::startRazidEngine();
    return true;
  }();
  (void)started;
}

// Every page drawn small, and every element of its map visited, as the score builder reads it.
void DrawEveryPage(QRazidPainter& painter, QImage& image) {
  for (int page = 1; page <= painter.pageCount(); ++page) {
    image.fill(Qt::white);
    QPainter target(&image);
    painter.draw(&target, page, image.rect(), image.rect());
    CScoreElement* root = RazidMapGetRootElement(painter.grHandle(), page);
    if (!root) std::abort();
    for (int n = 1; CScoreElement* e = RazidMapFindDeepNthElementOfType(root, 1, n); ++n) {
      float l, t, r, b;
      RazidMapGetElementBoundingBox(e, &l, &t, &r, &b);
    }
  }
}

int DrawOnAQuestionsPage(const std::uint8_t* data, std::size_t size) {
  StartEngineOnce();
  const std::string text(reinterpret_cast<const char*>(data), size);
  QRazidPainter* painter = QRazidPainter::createRazidPainter();
  // A question's page, as exercise scores are drawn.
  painter->setRazidPageFormat({3000, 1000, 20, 70, 20, 70});
  painter->setResizePageToMusic(false);
  if (painter->setRMNCode(QString::fromLatin1(text.c_str()))) {
    QImage image(300, 100, QImage::Format_ARGB32_Premultiplied);
    DrawEveryPage(*painter, image);
  }
  QRazidPainter::destroyRazidPainter(painter);
  return 0;
}

}  // namespace

int DrawRmn(const std::uint8_t* data, std::size_t size) {
  const LowWorkLimits limits;
  return DrawOnAQuestionsPage(data, size);
}

int DrawRmnAtEngineLimits(const std::uint8_t* data, std::size_t size) {
  return DrawOnAQuestionsPage(data, size);
}

}  // namespace Fuzz
