#include "tools/reference-pictures/reference_pictures.h"

#include "CScoreElement.h"
#include "lib-razid-qt/QRazidPainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ReferencePictures {

namespace {

using Pictures::ReferenceMark;

// The engine's distance of two staff lines, in its own units.
constexpr qreal EngineStaffSpace = 50;
// Pictures are engraved this many times larger than written and scaled down, so that thin
// lines and the music font come out smooth.
constexpr int Oversampling = 4;
// Room left around the cropped music, in written pixels.
constexpr int Margin = 4;

// The staff space in written pixels: small marks and single notes, the larger grid pictures, and
// the scales, whose two columns of eight and nine notes have to fit the reference view's width.
constexpr qreal Small = 7;
constexpr qreal Grid = 8;
constexpr qreal Scale = 6.5;

QString Staff(const QString& music) {
  return "[ \\clef<\"g2\"> " + music + " ]";
}
QString Bare(const QString& music) {
  return "[ \\clef<\"off\"> " + music + " ]";
}

std::vector<Picture> MakePictures() {
  std::vector<Picture> list;
  auto add = [&](const QString& file, const QString& rmn, qreal space,
                 ReferenceMark mark = ReferenceMark::None) {
    list.push_back({file + ".png", rmn, space, mark});
  };
  // The staff's notes, treble and bass, each named under it as the answer buttons name it.
  add("SingleNotes1",
      Staff("\\lyrics<\"C4 D4 E4 F4 G4 A4 B4 C5 D5 E5 F5 G5\", dy=-6>("
            "c1/4 d1/4 e1/4 f1/4 g1/4 a1/4 b1/4 c2/4 d2/4 e2/4 f2/4 g2/4) \\bar \\clef<\"f4\"> "
            "\\lyrics<\"C3 D3 E3 F3 G3 A3 B3 C4\", dy=-6>("
            "c0/4 d0/4 e0/4 f0/4 g0/4 a0/4 b0/4 c1/4)"),
      Grid);
  // The key signatures: no signs and one to six sharps over one to six flats, each count in a
  // column of its own.
  Picture keys{"keySignatures2.png", QString(), Small};
  for (int key : {0, 1, 2, 3, 4, 5, 6, 0, -1, -2, -3, -4, -5, -6}) {
    // The second row leaves the column of no signs blank.
    const bool blank = key == 0 && !keys.cells.isEmpty();
    keys.cells << (blank ? QString() : Staff(QString("\\key<%1> empty/16").arg(key)));
  }
  keys.columns = 7;
  list.push_back(keys);
  // Note and rest lengths.
  for (int length : {1, 2, 4, 8, 16, 32, 64, 128}) {
    add(QString("note%1l2").arg(length), Bare(QString("b1/%1").arg(length)), Small);
    add(QString("rest%1l2").arg(length), Bare(QString("_/%1").arg(length)), Small);
  }
  // Loudness marks under a note.
  for (const char* mark : {"fff", "ff", "f", "mf", "mp", "p", "pp", "ppp", "sfz"}) {
    add(QString("%1_l").arg(mark), Bare(QString("\\intens<\"%1\"> b1/4").arg(mark)), Small);
  }
  add("crescendol", Bare("\\cresc(g1/4 a1/4 b1/4 c2/4)"), Small);
  add("diminuendol", Bare("\\dim(c2/4 b1/4 a1/4 g1/4)"), Small);
  // Note modifiers, in the page's order.
  add("arpeggio_l", Staff("{c1/2, e1/2, g1/2, c2/2}"), Small, ReferenceMark::Arpeggio);
  add("tremolo-lr", Staff("a1/2"), Small, ReferenceMark::Tremolo);
  add("accent_l", Staff("\\accent(c2/4)"), Small);
  add("staccato_l", Staff("\\stacc(c2/4)"), Small);
  add("staccatissimo_l", Staff("c2/4"), Small, ReferenceMark::Staccatissimo);
  add("tenuto_l", Staff("\\ten(c2/4)"), Small);
  add("marcato_l", Staff("\\marcato(c2/4)"), Small);
  add("slur_l", Staff("\\slur(c1/4 d1/4 e1/4 f1/4)"), Small);
  add("tie-lr", Staff("\\tie(g1/2 g1/2)"), Small);
  add("pedaldown-lr", Staff("{c1/2, e1/2, g1/2}"), Small, ReferenceMark::PedalDown);
  add("pedalup-lr", Staff("{c1/2, e1/2, g1/2}"), Small, ReferenceMark::PedalUp);
  add("fermata_l", Staff("\\fermata(c2/2)"), Small);
  add("trill_l", Staff("c2/2"), Small, ReferenceMark::Trill);
  add("appoggiatura_l", Staff("\\grace(d2/8) c2/4"), Small);
  add("acciaccatura_l", Staff("\\grace(d2/8) c2/4"), Small, ReferenceMark::Acciaccatura);
  add("ottavaalta_l", Staff("c2/4 d2/4 e2/4 f2/4"), Small, ReferenceMark::OttavaAlta);
  add("ottavabassa_l", Staff("c1/4 b0/4 a0/4 g0/4"), Small, ReferenceMark::OttavaBassa);
  add("repeat_l", Staff("\\repeatBegin c1/4 d1/4 e1/4 f1/4 \\repeatEnd"), Small);
  add("volta_l", Staff("c1/4 d1/4 e1/4 f1/4 \\repeatEnd"), Small, ReferenceMark::Volta);
  add("flat_l", Staff("b&1/4"), Small);
  add("doubleflat_l", Staff("b&&1/4"), Small);
  add("sharp_l", Staff("f#1/4"), Small);
  add("doublesharp_l", Staff("f##1/4"), Small);
  add("natural_l", Staff("\\key<-1> b1/4"), Small);
  // Intervals from middle C, one note after the other, as whole notes.
  const char* intervals[][2] = {{"unison", "c1"},   {"minor2", "d&1"},  {"major2", "d1"},
                                {"minor3", "e&1"},  {"major3", "e1"},   {"perfect4", "f1"},
                                {"tritone", "f#1"}, {"perfect5", "g1"}, {"minor6", "a&1"},
                                {"major6", "a1"},   {"minor7", "b&1"},  {"major7", "b1"},
                                {"perfect8", "c2"}};
  for (const auto& interval : intervals) {
    add(interval[0], Staff(QString("c1/1 %1/1").arg(interval[1])), Grid);
  }
  // Chords on C.
  const char* chords[][2] = {
      {"cmaj", "e1 g1"},           {"cmin", "e&1 g1"},    {"cmaj6", "e1 g1 a1"},
      {"cmin6", "e&1 g1 a1"},      {"cmaj7", "e1 g1 b1"}, {"cmin7", "e&1 g1 b&1"},
      {"c7dominant", "e1 g1 b&1"}, {"csus2", "d1 g1"},    {"csus4", "f1 g1"},
      {"6sus2", "d1 g1 a1"},       {"6sus4", "f1 g1 a1"}, {"7sus2", "d1 g1 b&1"},
      {"7sus4", "f1 g1 b&1"},      {"caug", "e1 g#1"},    {"caug6", "e1 g#1 a1"},
      {"caug7", "e1 g#1 b&1"},     {"cdim", "e&1 g&1"},   {"cdim7", "e&1 g&1 b&&1"}};
  for (const auto& chord : chords) {
    QStringList notes = {"c1/1"};
    for (const QString& note : QString(chord[1]).split(' ')) notes << note + "/1";
    add(chord[0], Staff("{" + notes.join(", ") + "}"), Grid);
  }
  // Scales from C, one octave.
  const char* scales[][2] = {{"major", "c1 d1 e1 f1 g1 a1 b1 c2"},
                             {"naturalMinor", "c1 d1 e&1 f1 g1 a&1 b&1 c2"},
                             {"melodicMinor", "c1 d1 e&1 f1 g1 a1 b1 c2"},
                             {"melodicMinorDescending", "c2 b&1 a&1 g1 f1 e&1 d1 c1"},
                             {"hormanicMinor", "c1 d1 e&1 f1 g1 a&1 b1 c2"},
                             {"pentatonicMajor", "c1 d1 e1 g1 a1 c2"},
                             {"pentatonicMinor", "c1 e&1 f1 g1 b&1 c2"},
                             {"diminished", "c1 d1 e&1 f1 f#1 g#1 a1 b1 c2"},
                             {"augmented", "c1 e&1 e1 g1 a&1 b1 c2"},
                             {"blues", "c1 e&1 f1 f#1 g1 b&1 c2"},
                             {"arabian", "c1 d&1 e1 f1 g1 a&1 b1 c2"},
                             {"wholeTone", "c1 d1 e1 f#1 g#1 a#1 c2"}};
  for (const auto& scale : scales) {
    QStringList notes;
    for (const QString& note : QString(scale[1]).split(' ')) notes << note + "/4";
    add(scale[0], Staff(notes.join(' ')), Scale);
  }
  return list;
}

// The smallest rectangle holding every pixel darker than white.
QRect Ink(const QImage& image) {
  int left = image.width(), top = image.height(), right = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(line[x]) < 250) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Black ink whose opacity is the darkness of the engraving: it sits on any page colour.
QImage AsInk(const QImage& engraving) {
  QImage ink(engraving.size(), QImage::Format_ARGB32);
  for (int y = 0; y < engraving.height(); ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(engraving.constScanLine(y));
    QRgb* out = reinterpret_cast<QRgb*>(ink.scanLine(y));
    for (int x = 0; x < engraving.width(); ++x) out[x] = qRgba(0, 0, 0, 255 - qGray(in[x]));
  }
  return ink;
}

// The cells of a grid picture side by side, `columns` to a row; a column is as wide as its widest
// cell and a row as high as the highest. An empty cell stays blank.
QImage RenderGrid(const Picture& picture) {
  std::vector<QImage> cells;
  std::vector<int> left(size_t(picture.columns) + 1, 0);
  int height = 0;
  for (int i = 0; i < picture.cells.size(); ++i) {
    const QString& rmn = picture.cells[i];
    cells.push_back(rmn.isEmpty() ? QImage() : Render({QString(), rmn, picture.staffSpace}));
    if (!rmn.isEmpty() && cells.back().isNull()) return {};
    const size_t column = size_t(i % picture.columns) + 1;
    left[column] = std::max(left[column], cells.back().width());
    height = std::max(height, cells.back().height());
  }
  for (size_t column = 1; column < left.size(); ++column) left[column] += left[column - 1];
  const int rows = int(cells.size() + picture.columns - 1) / picture.columns;
  QImage grid(left.back(), height * rows, QImage::Format_ARGB32);
  grid.fill(Qt::transparent);
  QPainter painter(&grid);
  for (size_t i = 0; i < cells.size(); ++i) {
    if (cells[i].isNull()) continue;
    painter.drawImage(left[i % size_t(picture.columns)], int(i) / picture.columns * height,
                      cells[i]);
  }
  return grid;
}

}  // namespace

std::vector<QRectF> EventBoxes(const QRazidPainter& score) {
  std::vector<QRectF> boxes;
  CScoreElement* page = RazidMapGetRootElement(score.grHandle(), 1);
  for (int n = 1; CScoreElement* event = RazidMapFindDeepNthElementOfType(page, 1, n); ++n) {
    float left, top, right, bottom;
    RazidMapGetElementBoundingBox(event, &left, &top, &right, &bottom);
    boxes.emplace_back(QPointF(left, top), QPointF(right, bottom));
  }
  std::sort(boxes.begin(), boxes.end(),
            [](const QRectF& a, const QRectF& b) { return a.left() < b.left(); });
  return boxes;
}

const std::vector<Picture>& AllPictures() {
  static const std::vector<Picture> pictures = MakePictures();
  return pictures;
}

QImage Render(const Picture& picture) {
  if (!picture.cells.isEmpty()) return RenderGrid(picture);
  QRazidPainter score;
  score.setResizePageToMusic(true);
  if (!score.setRMNCode(picture.rmn)) return {};
  RazidPageFormat format;
  RazidGetPageFormat(score.grHandle(), 1, &format);
  const qreal scale = picture.staffSpace * Oversampling / EngineStaffSpace;
  const QSize size(int(std::ceil(format.width * scale)), int(std::ceil(format.height * scale)));
  QImage engraving(size, QImage::Format_RGB32);
  engraving.fill(Qt::white);
  {
    QPainter painter(&engraving);
    painter.setRenderHint(QPainter::Antialiasing);
    score.draw(&painter, 1, engraving.rect(), engraving.rect());
    Pictures::PaintReferenceMark(painter, picture.mark,
                                 {EventBoxes(score), picture.staffSpace * Oversampling});
  }
  const QRect ink = Ink(engraving);
  if (ink.isNull()) return {};
  const int pad = Margin * Oversampling;
  const QRect crop = ink.adjusted(-pad, -pad, pad, pad);
  QImage framed(crop.size(), QImage::Format_RGB32);
  framed.fill(Qt::white);
  {
    QPainter painter(&framed);
    painter.drawImage(QPoint(0, 0), engraving, crop);
  }
  const QImage written = framed.scaled(crop.width() / Oversampling, crop.height() / Oversampling,
                                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return AsInk(written);
}

QStringList WriteAll(const QDir& folder, QString* error) {
  return SaveEach(AllPictures(), folder, Render, error);
}

}  // namespace ReferencePictures
