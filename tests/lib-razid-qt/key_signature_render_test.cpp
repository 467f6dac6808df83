// Key signatures of laid-out scores: every line opens with the whole key, and a change shows the
// naturals of the key it leaves and the signs of the new one.
#include <vector>

#include "engine_fixture.h"

namespace RazidQtTesting {
namespace {

constexpr int kAccidentalKind = 2;
constexpr int kAccidentalSubtype = 13;

class KeySignatureRenderTest : public EngineFixture {
 protected:
  // The accidentals the map reports on each line, page after page; every one must hold ink.
  // The scores have rests only, so every accidental belongs to a key. The clef reports as the
  // same kind of sign: the one on each line is left out of the count.
  std::vector<int> SignsPerLine(const QString& rmn) {
    Painter painter = QuestionPainter(rmn);
    std::vector<int> signs;
    for (int page = 1; page <= painter->pageCount(); ++page) {
      const QImage image = Draw(*painter, page, {1050, 700});
      CScoreElement* root = RazidMapGetRootElement(painter->grHandle(), page);
      std::vector<QRectF> lines;
      for (int n = 1; CScoreElement* e = RazidMapFindDeepNthElementOfType(root, 7, n); ++n)
        lines.push_back(Box(e));
      std::vector<int> onPage(lines.size(), -1);
      for (int n = 1; CScoreElement* e = RazidMapFindDeepNthElementOfType(root, kAccidentalKind, n);
           ++n) {
        if (RazidMapGetElementSubType(e) != kAccidentalSubtype) continue;
        const QRectF box = Box(e);
        EXPECT_GT(Count(image, box, Dark), 20) << "no ink at the sign at " << box.x();
        for (size_t line = 0; line < lines.size(); ++line)
          onPage[line] += lines[line].contains(box.center());
      }
      signs.insert(signs.end(), onPage.begin(), onPage.end());
    }
    return signs;
  }
};

// Every key on every line in each clef: 7 flats to 7 sharps, on the first line and again at the
// start of the next.
TEST_F(KeySignatureRenderTest, EveryLineOpensWithTheWholeKeyInAnyClef) {
  for (const char* clef : {"g2", "f4", "c3"}) {
    for (int key = -7; key <= 7; ++key) {
      SCOPED_TRACE(testing::Message() << clef << " key " << key);
      const int count = key < 0 ? -key : key;
      EXPECT_EQ(SignsPerLine(QStringLiteral("{ [ \\staff<1> \\clef<\"%1\"> \\key<%2> "
                                            "\\meter<\"4/4\"> _/1 \\newSystem _/1 ] }")
                                 .arg(QLatin1String(clef))
                                 .arg(key)),
                (std::vector<int>{count, count}));
    }
  }
}

// A change leaves the old key with naturals for each of its signs, then draws the new one whole.
TEST_F(KeySignatureRenderTest, AChangeCancelsTheOldKeyAndDrawsTheNewOne) {
  struct Change {
    const char* music;
    std::vector<int> signs;
  };
  const Change changes[] = {
      {"\\key<\"D\"> _/1 \\key<0> _/1", {2 + 2}},
      {"\\key<3> _/1 \\key<-2> _/1", {3 + 3 + 2}},
      {"\\key<-7> _/1 \\key<7> _/1", {7 + 7 + 7}},
      {"\\key<0> _/1 \\key<2> _/1", {2}},
      {"\\key<3> _/1 \\newSystem _/1 \\key<0> _/1", {3, 3 + 3}},
      {"\\key<3> _/1 \\newSystem _/1 \\key<1> _/1 \\newSystem _/1", {3, 3 + 3 + 1, 1}},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.music);
    EXPECT_EQ(SignsPerLine(QStringLiteral("{ [ \\staff<1> \\clef<\"g2\"> %1 ] }")
                               .arg(QLatin1String(change.music))),
              change.signs);
  }
}

}  // namespace
}  // namespace RazidQtTesting
