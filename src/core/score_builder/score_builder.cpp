#include "src/core/score_builder/score_builder.h"

#include <QPainter>

#include <algorithm>

#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_text.h"
#include "src/common/assertion.h"
#include "src/core/midi/error.h"
#include "src/core/score_builder/score_screen.h"
#include "src/core/score_provider/rmn_fragments.h"

namespace Core {

namespace {

// Symbol-map kinds and the event subtype of a single note.
constexpr int MapEvent = 1;
constexpr int MapBar = 3;
constexpr int MapSystem = 7;
constexpr int SingleNote = 10;

// Engine units of a lesson-score page's height; its width follows the pixmap's aspect.
constexpr int LessonPageHeight = 800;

QRectF ElementBox(CScoreElement* element) {
  float left = 0, top = 0, right = 0, bottom = 0;
  RazidMapGetElementBoundingBox(element, &left, &top, &right, &bottom);
  return QRectF(left, top, double(right) - left, double(bottom) - top);
}

}  // namespace

ScoreBuilder::ScoreBuilder(const std::shared_ptr<LessonScoreProvider>& provider, int hand)
    : hand(hand), provider(provider) {}

ScoreBuilder::~ScoreBuilder() {
  Cleanup();
}

void ScoreBuilder::Cleanup() {
  QRazidPainter::destroyRazidPainter(painter);
  painter = nullptr;
  target = nullptr;
}

void ScoreBuilder::BuildScores(const std::string& rmn, ScoresDescription& into, ScoreMode how) {
  Cleanup();
  mode = how;
  target = &into;
  try {
    InitializePainter(rmn);
  } catch (...) {
    // The painter is not needed to report the failure: keep no engine score past it.
    Cleanup();
    throw;
  }
  into.measureLength = 0;
  into.imageWidth = imageWidth;
  into.rowHeight = rowHeight;
  into.imageHeight = imageHeight;
  into.usedHeight = 0;
  into.usedWidth = 0;
  for (int index = 0; index < painter->pageCount(); ++index) BuildPage(index);
  Cleanup();
}

void ScoreBuilder::InitializePainter(const std::string& rmn) {
  const QRect screen = ScoreScreenGeometry();
  painter = QRazidPainter::createRazidPainter();
  MELVARIN_ASSERT(painter != nullptr);  // the application starts the engine before any screen

  RazidLayoutSettings settings = painter->razidLayoutSettings();
  settings.optPageFill = 0;
  painter->setRazidLayoutSettings(settings);

  RazidPageFormat format = painter->razidPageFormat();
  if (mode == ExerciseScore) {
    rowHeight = imageHeight = 350;
    imageWidth = 1050;
    format = {3000, 1000, 20, 70, 20, 70};
  } else {
    rowHeight = screen.height() / (mode == QuarterScreen ? 4 : 3);
    imageHeight = rowHeight - 40;
    imageWidth = screen.width() - 8;
    const float verticalMargin = hand == 2 ? 0 : 100;
    format = {float(imageWidth * LessonPageHeight / imageHeight),
              float(LessonPageHeight),
              150,
              verticalMargin,
              150,
              verticalMargin};
  }
  painter->setRazidPageFormat(format);
  painter->setResizePageToMusic(false);

  if (!painter->setRMNCode(
          RazidQt::DecodeScoreText(QByteArrayView(rmn.data(), qsizetype(rmn.size())))))
    throw MELVARIN_ERROR(Error::RmnRendering, QStringLiteral("bad rmn code"));
}

void ScoreBuilder::BuildPage(int index) {
  target->pages.append(ScorePageDescription(imageWidth, rowHeight, imageHeight));
  ScorePageDescription& page = target->pages.last();

  QPainter canvas(page.score.get());
  canvas.setRenderHint(QPainter::Antialiasing);
  canvas.setPen(QColor(0, 0, 32));
  const QRect whole(0, 0, imageWidth, imageHeight);
  painter->draw(&canvas, index + 1, whole, whole);
  if (mode == ExerciseScore)
    ReadExerciseGeometry(page);
  else
    MeasureUsedArea(index, page);
}

// The music keeps its page's aspect: it fills either the whole width or the whole row height.
void ScoreBuilder::MeasureUsedArea(int index, ScorePageDescription& page) {
  const float aspect = float(painter->heightForWidth(1000, index + 1)) / 1000;
  int usedWidth = 0, usedHeight = 0;
  if (rowHeight >= imageWidth * aspect) {
    usedWidth = imageWidth;
    usedHeight = int(imageWidth * aspect);
  } else {
    usedHeight = rowHeight;
    usedWidth = int(rowHeight / aspect);
  }
  target->usedWidth = std::max(target->usedWidth, usedWidth);
  target->usedHeight = std::max(target->usedHeight, usedHeight);
  page.width = usedWidth;
  page.height = usedHeight;
}

// An exercise score has one page; its map was filled by the draw, in pixmap pixels.
void ScoreBuilder::ReadExerciseGeometry(ScorePageDescription& page) {
  CScoreElement* root = RazidMapGetRootElement(painter->grHandle(), 1);
  CScoreElement* bar = RazidMapFindDeepNthElementOfType(root, MapBar, 1);
  CScoreElement* system = RazidMapFindDeepNthElementOfType(root, MapSystem, 1);
  // Music without a bar line or system (an empty score) has no staff to place by.
  if (bar && system) {
    const QRectF barBox = ElementBox(bar);
    page.width = int(ElementBox(system).width());
    page.height = int(barBox.height());
    page.staffTop = int(barBox.top());
  }
  for (int n = 1;; ++n) {
    CScoreElement* event = RazidMapFindDeepNthElementOfType(root, MapEvent, n);
    if (!event) break;
    if (RazidMapGetElementSubType(event) == SingleNote) target->noteRects.append(ElementBox(event));
  }
}

std::string::size_type getRazidBegin(std::string& text, bool trebleClef) {
  text += "[ \\staff<1> ";
  text += trebleClef ? GCleffC : FCleffC;
  text += StemsAuto;
  return text.size();
}

}  // namespace Core
