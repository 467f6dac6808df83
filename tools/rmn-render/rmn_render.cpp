// rmn-render: draws a RMN file with the notation engine into a PNG, SVG or PDF file.
//
//   rmn-render [options] input.rmn output.png|output.svg|output.pdf
//
//   --page N           the page to draw (PNG and SVG draw one page, 1 by default; PDF all pages
//                      unless a page is given)
//   --size WxH         picture size in pixels (PNG, SVG), each side at most 20000; the height
//                      follows the page when only the width is given (default width 1240), and
//                      a page too high for that is drawn narrower, 20000 pixels high
//   --format W,H,L,T,R,B   page size and margins in engine units (237.10631 to the centimetre)
//   --settings D,M,L,F,S,N,P   layout settings: systems distance, distribution (1 auto, 2 always,
//                      3 never), distribution limit, optimum force, spring parameter, special
//                      spacing (1 on), optimal page fill (1 on)
//   --no-resize        keep the page format instead of shrinking pages to their music
//   --map              list each drawn page's symbol map and draw its boxes over the music
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <QSvgGenerator>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "CScoreElement.h"
#include "VGDevice.h"
#include "lib-razid-qt/GSystemQt.h"
#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_fonts.h"

namespace {

// The longest side of a picture, given or worked out from the page.
constexpr int kMaxSide = 20000;

struct Options {
  std::optional<int> page;
  int width = 1240;
  std::optional<int> height;
  std::optional<RazidPageFormat> format;
  std::optional<RazidLayoutSettings> settings;
  bool resize = true;
  bool map = false;
  QString input;
  QString output;
};

std::optional<std::vector<double>> Numbers(const QString& text, int count, QChar separator) {
  const QStringList parts = text.split(separator);
  if (parts.size() != count) return std::nullopt;
  std::vector<double> numbers;
  for (const QString& part : parts) {
    bool ok = false;
    numbers.push_back(part.toDouble(&ok));
    if (!ok) return std::nullopt;
  }
  return numbers;
}

bool ParseSize(const QString& text, Options& options) {
  if (auto both = Numbers(text, 2, 'x')) {
    options.width = static_cast<int>((*both)[0]);
    options.height = static_cast<int>((*both)[1]);
  } else if (auto width = Numbers(text, 1, 'x')) {
    options.width = static_cast<int>((*width)[0]);
  } else {
    return false;
  }
  return options.width > 0 && options.width <= kMaxSide && options.height.value_or(1) > 0 &&
         options.height.value_or(1) <= kMaxSide;
}

std::optional<Options> ParseArguments(const QStringList& arguments) {
  Options options;
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == "--page" && hasValue) {
      bool ok = false;
      options.page = arguments[++i].toInt(&ok);
      if (!ok) return std::nullopt;
    } else if (argument == "--size" && hasValue) {
      if (!ParseSize(arguments[++i], options)) return std::nullopt;
    } else if (argument == "--format" && hasValue) {
      auto n = Numbers(arguments[++i], 6, ',');
      if (!n) return std::nullopt;
      options.format = RazidPageFormat{float((*n)[0]), float((*n)[1]), float((*n)[2]),
                                       float((*n)[3]), float((*n)[4]), float((*n)[5])};
    } else if (argument == "--settings" && hasValue) {
      auto n = Numbers(arguments[++i], 7, ',');
      if (!n) return std::nullopt;
      options.settings =
          RazidLayoutSettings{float((*n)[0]), int((*n)[1]), float((*n)[2]), float((*n)[3]),
                              float((*n)[4]), int((*n)[5]), int((*n)[6])};
    } else if (argument == "--no-resize") {
      options.resize = false;
    } else if (argument == "--map") {
      options.map = true;
    } else if (argument.startsWith("--")) {
      return std::nullopt;
    } else if (options.input.isEmpty()) {
      options.input = argument;
    } else if (options.output.isEmpty()) {
      options.output = argument;
    } else {
      return std::nullopt;
    }
  }
  if (options.input.isEmpty() || options.output.isEmpty()) return std::nullopt;
  return options;
}

// Lists the page's symbol map and draws its boxes, faintly, over what the page drew.
void ShowMap(QRazidPainter& score, int page, QPainter& painter) {
  CScoreElement* root = RazidMapGetRootElement(score.grHandle(), page);
  std::cout << "page " << page << "\n";
  if (!root) return;
  root->Print(std::cout, 0);
  painter.save();
  painter.setOpacity(0.25);
  GSystemQt system(&painter);
  std::unique_ptr<VGDevice> device(system.CreateDisplayDevice());
  RazidMapDrawElement(root, device.get());
  painter.restore();
}

void DrawPage(QRazidPainter& score, int page, QPainter& painter, const QRect& rect, bool map) {
  painter.setRenderHint(QPainter::Antialiasing);
  score.draw(&painter, page, rect, rect);
  if (map) ShowMap(score, page, painter);
}

QSize PictureSize(const Options& options, QRazidPainter& score, int page) {
  if (options.height) return {options.width, *options.height};
  // A page far wider than high (one long line shrunk to its music) still gets a row of pixels,
  // and one far higher than wide (hundreds of staves, a narrow page) is scaled down to the
  // longest side.
  const int height = std::max(1, score.heightForWidth(options.width, page));
  if (height <= kMaxSide) return {options.width, height};
  const double scale = static_cast<double>(kMaxSide) / height;
  return {std::max(1, static_cast<int>(options.width * scale)), kMaxSide};
}

// The engine refuses music that would take more time or memory than one score may (a tiny
// meter under long notes, ranges nested thousands deep, megabytes of notes); it reports that
// with its memory error, which no allocation of its own gives.
bool RefusedAsTooLarge(const QRazidPainter& score) {
  return score.getLastErrorMessage() == QString::fromLatin1(RazidGetErrorString(-2));
}

bool RenderImage(const Options& options, QRazidPainter& score, int page) {
  QImage image(PictureSize(options, score, page), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  DrawPage(score, page, painter, image.rect(), options.map);
  painter.end();
  return image.save(options.output, "PNG");
}

// XML 1.0 holds only tab, line feed, carriage return and the characters from U+0020 to U+D7FF,
// from U+E000 to U+FFFD and from U+10000 on, not even as references, while a title or lyric may
// carry any character (U+FFFE and U+FFFF among them) and the SVG writer copies its text as it is.
// The others are left out of the words they stood in; bytes that encode no character at all
// become the replacement character.
QByteArray WithoutCharactersXmlForbids(const QByteArray& svg) {
  const QString text = QString::fromUtf8(svg);
  QString kept;
  kept.reserve(text.size());
  for (qsizetype at = 0; at < text.size(); ++at) {
    const QChar character = text[at];
    if (character.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
      kept += character;
      kept += text[++at];
      continue;
    }
    const char16_t code = character.unicode();
    const bool allowed = code == '\t' || code == '\n' || code == '\r' ||
                         (code >= 0x20 && code <= 0xD7FF) || (code >= 0xE000 && code <= 0xFFFD);
    if (allowed) kept += character;
  }
  return kept.toUtf8();
}

bool RenderSvg(const Options& options, QRazidPainter& score, int page) {
  const QSize size = PictureSize(options, score, page);
  QBuffer written;
  QSvgGenerator svg;
  svg.setOutputDevice(&written);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  DrawPage(score, page, painter, QRect(QPoint(0, 0), size), options.map);
  if (!painter.end()) return false;
  const QByteArray text = WithoutCharactersXmlForbids(written.data());
  QFile file(options.output);
  return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush();
}

bool RenderPdf(const Options& options, QRazidPainter& score) {
  const int first = options.page.value_or(1);
  const int last = options.page.value_or(score.pageCount());
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(options.output);
  printer.setFullPage(true);
  printer.setPageSize(QPageSize(score.pageSizeMM(first), QPageSize::Millimeter));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  for (int page = first; page <= last; ++page) {
    if (page != first) {
      printer.setPageSize(QPageSize(score.pageSizeMM(page), QPageSize::Millimeter));
      printer.newPage();
    }
    DrawPage(score, page, painter, painter.viewport(), options.map);
  }
  return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
  // Drawing needs no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const std::optional<Options> options = ParseArguments(application.arguments());
  if (!options) {
    std::cerr << "usage: rmn-render [--page N] [--size WxH] [--format W,H,L,T,R,B]\n"
                 "                  [--settings D,M,L,F,S,N,P] [--no-resize] [--map]\n"
                 "                  input.rmn output.png|output.svg|output.pdf\n";
    return 2;
  }
  QString error;
  if (!RazidQt::PrepareEngineFonts(&error)) {
    std::cerr << "rmn-render: " << error.toStdString() << "\n";
    return 1;
  }
  QRazidPainter::startRazidEngine();
  int result = 1;
  {
    QRazidPainter score;
    if (options->settings) score.setRazidLayoutSettings(*options->settings);
    if (options->format) score.setRazidPageFormat(*options->format);
    score.setResizePageToMusic(options->resize);
    if (!score.setRMNFile(options->input)) {
      if (RefusedAsTooLarge(score))
        std::cerr << "rmn-render: the music is too large for the engine; nothing drawn\n";
      else
        std::cerr << "rmn-render: " << score.getLastErrorMessage().toStdString() << "\n";
    } else {
      const QString suffix = QFileInfo(options->output).suffix().toLower();
      const int page = options->page.value_or(1);
      bool written = false;
      if (suffix == "pdf")
        written = RenderPdf(*options, score);
      else if (suffix == "svg")
        written = RenderSvg(*options, score, page);
      else
        written = RenderImage(*options, score, page);
      if (written) {
        std::cout << "pages " << score.pageCount() << "\n";
        result = 0;
      } else {
        std::cerr << "rmn-render: cannot write " << options->output.toStdString() << "\n";
      }
    }
  }
  QRazidPainter::stopRazidEngine();
  return result;
}
