#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "engine_fixture.h"
#include "long_piece.h"

namespace RazidQtTesting {
namespace {

using LongPieceRenderTest = EngineFixture;

// Every note of the piece is on exactly one drawn page, where its box holds ink; the render
// tool's PDF has the same pages.
TEST_F(LongPieceRenderTest, EveryNoteIsDrawnAndMappedOnItsPage) {
  const std::string piece = LongPiece();
  int written = 0;
  for (size_t at = 0; (at = piece.find("*1/4", at)) != std::string::npos; ++at) ++written;

  Painter painter = NewPainter();
  painter->setResizePageToMusic(false);
  ASSERT_TRUE(painter->setRMNCode(QString::fromStdString(piece)));
  const int pages = painter->pageCount();
  EXPECT_GT(pages, 1);
  int drawn = 0;
  for (int page = 1; page <= pages; ++page) {
    const QImage image = Draw(*painter, page, {1240, 1754});
    CScoreElement* root = RazidMapGetRootElement(painter->grHandle(), page);
    ASSERT_NE(root, nullptr);
    for (int n = 1; CScoreElement* e = RazidMapFindDeepNthElementOfType(root, 1, n); ++n) {
      if (RazidMapGetElementSubType(e) != 10) continue;
      ++drawn;
      float l, t, r, b;
      RazidMapGetElementBoundingBox(e, &l, &t, &r, &b);
      EXPECT_GT(Count(image, QRectF(QPointF(l, t), QPointF(r, b)), Dark), 0)
          << "page " << page << " note " << n;
    }
  }
  EXPECT_EQ(drawn, written);

  QTemporaryDir dir;
  QFile input(dir.filePath("piece.rmn"));
  ASSERT_TRUE(input.open(QIODevice::WriteOnly));
  input.write(piece.c_str());
  input.close();
  const QString pdf = dir.filePath("piece.pdf");
  QProcess tool;
  tool.start(RMN_RENDER_PATH, {"--no-resize", input.fileName(), pdf});
  ASSERT_TRUE(tool.waitForFinished(60000));
  EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
  QFile output(pdf);
  ASSERT_TRUE(output.open(QIODevice::ReadOnly));
  const QString content = QString::fromLatin1(output.readAll());
  EXPECT_EQ(content.count(QRegularExpression("/Type\\s*/Page[^s]")), pages);
}

}  // namespace
}  // namespace RazidQtTesting
