// The reference view on the real window: each trainer's sections show their page and title, the
// pages' pictures load, and printing pages the content under a red header.

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "src/ui/controls/console_exercise_control/reference_printing.h"
#include "views_fixture.h"

namespace Testing {
namespace {

const char* const PageNames[] = {"SingleNotes", "KeySignatures", "NoteLengths",
                                 "Tempo",       "Loudness",      "NoteModifiers",
                                 "Intervals",   "Chords",        "Scales"};

class ReferenceViewTest : public ExerciseViewsTest {
 protected:
  QLabel* Content() const { return Form().referenceContentContainer; }
  QString Page(const char* name) const { return Content()->property(name).toString(); }
  // Opens a lesson of `trainer` (from the home screen after the first) and its reference view.
  void OpenReference(int trainer) {
    if (!m_console) {
      Open(trainer, false);
    } else {
      m_console->NavigateHome();
      ASSERT_TRUE(WaitUntil([this] { return FadeDone() && !Screen()->isVisible(); }));
      m_console->OpenExercise(size_t(trainer), false);
      ASSERT_TRUE(WaitUntil([this] { return FadeDone() && Screen()->isVisible(); }));
    }
    ASSERT_EQ(Screen()->GetCurrentExerciseId(), trainer);
    Click(Toolbar().Reference);
    ASSERT_TRUE(Settled());
  }
};

// Sections 0 to 4 of each trainer, picked with the section buttons in the reference view. A
// section without a page of its own leaves the one before on screen.
TEST_F(ReferenceViewTest, EachSectionShowsItsPageAndTitle) {
  const struct {
    int trainer;
    const char* pages[5];
    const char* titles[5];
  } trainers[] = {
      {0,
       {"SingleNotes", "Intervals", "Chords", "Chords", "Chords"},
       {"Single Notes Reference", "Intervals Reference", "Chords Reference", "Chords Reference",
        "Chords Reference"}},
      {1,
       {"SingleNotes", "Intervals", "Chords", "Scales", "Tempo"},
       {"Single Notes Reference", "Intervals Reference", "Chords Reference", "Scales Reference",
        "Tempo Reference"}},
      {2,
       {"NoteLengths", "KeySignatures", "Tempo", "Loudness", "NoteModifiers"},
       {"Note Lengths Reference", "Key Signatures Reference", "Tempo Reference",
        "Loudness Reference", "Note Modifiers Reference"}},
  };
  for (const auto& t : trainers) {
    OpenReference(t.trainer);
    QAbstractButton* buttons[] = {Form().TimelineButton1, Form().TimelineButton2,
                                  Form().TimelineButton3, Form().TimelineButton4,
                                  Form().TimelineButton5};
    for (int section = 0; section < 5; ++section) {
      buttons[section]->click();
      EXPECT_EQ(Content()->text(), Page(t.pages[section]))
          << "trainer " << t.trainer << " section " << section;
      EXPECT_EQ(Form().ReferenceHeaderLbl->text(), t.titles[section])
          << "trainer " << t.trainer << " section " << section;
    }
  }
}

// Every placeholder is filled, and every picture a page names is a resource that loads: 96 of
// them over the nine pages.
TEST_F(ReferenceViewTest, PagesAreFilledAndEveryPictureLoads) {
  StartConsole();
  static const QRegularExpression picture(R"re(<img src="([^"]+)")re");
  static const QRegularExpression placeholder(R"(%\d)");
  QSet<QString> pictures;
  for (const char* name : PageNames) {
    const QString page = Page(name);
    EXPECT_TRUE(page.contains("qrichtext")) << name;
    EXPECT_FALSE(page.contains(placeholder)) << name;
    for (auto match = picture.globalMatch(page); match.hasNext();) {
      const QString path = match.next().captured(1);
      EXPECT_TRUE(path.startsWith(":/Reference/pixmap/Reference/")) << qPrintable(path);
      EXPECT_FALSE(QImage(path).isNull()) << name << ": " << qPrintable(path);
      pictures << path;
    }
  }
  EXPECT_EQ(pictures.size(), 96);
  EXPECT_TRUE(Page("Tempo").contains("Very slow (40-60 bpm)"));
  EXPECT_TRUE(Page("Chords").contains("Diminished Seventh - Cdim7"));
}

int PdfPages(const QString& file) {
  QFile pdf(file);
  if (!pdf.open(QIODevice::ReadOnly)) return 0;
  static const QRegularExpression page(R"(/Type\s*/Page[^s])");
  return int(QString::fromLatin1(pdf.readAll()).count(page));
}

// A page one slice high (the page less the header band) prints on one page, one pixel more on
// two; a page with no room below the header prints nothing rather than dividing by nothing.
TEST_F(ReferenceViewTest, PrintedPagesFollowTheContentHeight) {
  OpenReference(1);
  QTemporaryDir folder;
  const struct {
    int pageHeight;
    int extra;  // content height beyond one slice
    UI::ReferencePrint::Result result;
    int pages;
  } cases[] = {
      {400, 0, UI::ReferencePrint::Result::Printed, 1},
      {400, 1, UI::ReferencePrint::Result::Printed, 2},
      {400, 380 * 2, UI::ReferencePrint::Result::Printed, 3},
      {UI::ReferencePrint::HeaderBand, 0, UI::ReferencePrint::Result::NoRoom, 0},
  };
  int n = 0;
  for (const auto& c : cases) {
    const QString file = folder.filePath(QString("page%1.pdf").arg(n++));
    QPdfWriter pdf(file);
    pdf.setResolution(72);  // one pixel a point
    pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(300, c.pageHeight), QPageSize::Point),
                                  QPageLayout::Portrait, QMarginsF()));
    ASSERT_EQ(pdf.height(), c.pageHeight);
    const int height = std::max(1, c.pageHeight - UI::ReferencePrint::HeaderBand + c.extra);
    Content()->setFixedHeight(height);
    Content()->resize(Content()->width(), height);
    EXPECT_EQ(UI::ReferencePrint::Print(pdf, *Content(), UI::ReferencePrint::Header()), c.result);
    EXPECT_EQ(PdfPages(file), c.pages) << "page " << c.pageHeight << " extra " << c.extra;
  }
  // A file that cannot be opened is reported, not taken for printed.
  QPdfWriter unwritable(folder.filePath("missing/folder/page.pdf"));
  EXPECT_EQ(UI::ReferencePrint::Print(unwritable, *Content(), UI::ReferencePrint::Header()),
            UI::ReferencePrint::Result::CannotBegin);
}

bool HasRed(const QImage& image, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80) return true;
    }
  return false;
}

bool HasDark(const QImage& image, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(image.pixel(x, y)) < 100) return true;
  return false;
}

// Each page carries the header line in red at its top left and the page's title at its top
// right, above the content, which starts 17 pixels down on the paper's white; the header names
// the service host, or the product's site without one.
TEST_F(ReferenceViewTest, EveryPageHasTheRedHeaderAtTheTopLeft) {
  OpenReference(2);
  Form().TimelineButton5->click();  // the note modifiers, longer than a page
  const QSize pageSize(Content()->width(), 500);
  const auto slices = UI::ReferencePrint::Slices(*Content(), pageSize.height());
  ASSERT_GE(slices.size(), 2);
  for (qsizetype page = 0; page < slices.size(); ++page) {
    QImage image(pageSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    UI::ReferencePrint::PaintPage(painter, *Content(), slices[page], pageSize,
                                  UI::ReferencePrint::Header(), Form().ReferenceHeaderLbl->text());
    painter.end();
    EXPECT_TRUE(HasRed(image, QRect(0, 0, 300, 16))) << "page " << page;
    EXPECT_FALSE(HasRed(image, QRect(0, 17, pageSize.width(), pageSize.height() - 17)));
    EXPECT_TRUE(HasDark(image, QRect(pageSize.width() - 150, 0, 150, 16))) << "page " << page;
    // What the content leaves empty is the paper's, with no grey of the screen over it.
    EXPECT_EQ(image.pixel(pageSize.width() - 1, 17), qRgb(255, 255, 255)) << "page " << page;
    if (page == 0)
      image.save(QCoreApplication::applicationDirPath() +
                 "/screenshots/reference-printed-page.png");
  }
  qunsetenv("MELVARIN_SERVICE_URL");
  EXPECT_EQ(UI::ReferencePrint::Header(), "Quorvale Melvarin Studio | www.quorvale.com");
  qputenv("MELVARIN_SERVICE_URL", "http://127.0.0.1:8080");
  EXPECT_EQ(UI::ReferencePrint::Header(), "Quorvale Melvarin Studio | 127.0.0.1");
  qunsetenv("MELVARIN_SERVICE_URL");
}

// Runs of rows that hold ink, as [top, bottom) pairs.
using Bands = QList<std::pair<int, int>>;

Bands InkBands(const QImage& image, const QRect& area) {
  Bands bands;
  int top = -1;
  for (int y = area.top(); y <= area.bottom() + 1; ++y) {
    const bool ink = y <= area.bottom() && HasDark(image, QRect(area.left(), y, area.width(), 1));
    if (ink && top < 0) top = y;
    if (!ink && top >= 0) {
      bands.append({top, y});
      top = -1;
    }
  }
  return bands;
}

// The page shown in the reference view printed as the Print button prints it, on A4 at screen
// resolution, to the PDF file `name` beside the test program: the runs of ink in the content
// area of each printed page.
QList<Bands> PrintOnA4(QLabel& content, const QWidget& viewport, const QString& title,
                       const QString& name) {
  // The label takes the height of its new page, or of the view when that is taller (less the
  // margins around it), when the layout next runs, as it does before a print dialog has shown.
  EXPECT_TRUE(WaitUntil([&] {
    return content.height() ==
           std::max(viewport.height() - 20, content.heightForWidth(content.width()));
  }));
  const QString file = QCoreApplication::applicationDirPath() + "/screenshots/" + name + ".pdf";
  QDir().mkpath(QFileInfo(file).path());
  QPrinter printer(QPrinter::ScreenResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(file);
  EXPECT_EQ(UI::ReferencePrint::Print(printer, content, UI::ReferencePrint::Header(), title),
            UI::ReferencePrint::Result::Printed);
  const QSize pageSize(printer.width(), printer.height());
  const auto slices = UI::ReferencePrint::Slices(content, pageSize.height());
  EXPECT_EQ(PdfPages(file), slices.size()) << qPrintable(name);
  const QRect area(0, 17, pageSize.width(), pageSize.height() - UI::ReferencePrint::HeaderBand);
  QList<Bands> pages;
  for (const UI::ReferencePrint::Slice& slice : slices) {
    QImage image(pageSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    UI::ReferencePrint::PaintPage(painter, content, slice, pageSize, UI::ReferencePrint::Header(),
                                  title);
    painter.end();
    pages.append(InkBands(image, area));
    // Ink in the last row of the area goes on beyond the page.
    EXPECT_TRUE(pages.last().isEmpty() || pages.last().last().second <= area.bottom())
        << "ink cut at the foot of page " << pages.size() - 1 << " of " << qPrintable(name);
  }
  return pages;
}

// Printed on A4, no page of the reference cuts a line of text or a picture at its foot, and every
// chord's caption stands on the page of its staff, where a page used to end with the captions of
// a row whose staves went over.
TEST_F(ReferenceViewTest, PrintedPagesKeepEachCaptionWithItsStaffAndCutNoLine) {
  for (int trainer : {1, 2}) {
    OpenReference(trainer);
    for (QAbstractButton* button :
         {Form().TimelineButton1, Form().TimelineButton2, Form().TimelineButton3,
          Form().TimelineButton4, Form().TimelineButton5}) {
      button->click();
      const QString title = Form().ReferenceHeaderLbl->text();
      const QList<Bands> pages = PrintOnA4(*Content(), *Form().referenceScrollArea->viewport(),
                                           title, "printed-" + title.toLower().replace(' ', '-'));
      if (title != "Chords Reference") continue;
      ASSERT_GE(pages.size(), 2);
      // A staff picture is 66 pixels high, a caption one line of text.
      constexpr int StaffInk = 35;
      int captions = 0, staves = 0;
      for (qsizetype page = 0; page < pages.size(); ++page) {
        ASSERT_FALSE(pages[page].isEmpty()) << "page " << page;
        const auto& [lastTop, lastBottom] = pages[page].last();
        if (page + 1 < pages.size()) {
          EXPECT_GE(lastBottom - lastTop, StaffInk) << "page " << page << " ends with a caption";
        }
        for (const auto& [top, bottom] : pages[page])
          ++(bottom - top < StaffInk ? captions : staves);
      }
      // Eighteen chords, two to a row: nine rows of captions over nine of staves.
      EXPECT_EQ(captions, 9);
      EXPECT_EQ(staves, 9);
    }
  }
}

// The Print button asks through the print dialog, which offers a PDF file beside the printers;
// a cancelled dialog prints nothing, and a print that fails is told to the learner, also where
// there is no printer at all.
TEST_F(ReferenceViewTest, PrintOffersAPdfFileAndTellsTheLearnerWhatFailed) {
  OpenReference(1);
  QTemporaryDir folder;
  const QString pdf = folder.filePath("reference.pdf");
  struct Case {
    bool accept;
    QString file;  // empty: a printer the machine does not have
    QString told;  // the start of the message shown, empty for none
  };
  const Case cases[] = {
      {false, {}, {}},
      {true, pdf, {}},
      {true, folder.filePath("missing/reference.pdf"), "The reference was not printed. The file"},
      {true, {}, "The reference was not printed. No printer could be opened."},
  };
  for (const Case& c : cases) {
    bool asked = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      ASSERT_TRUE(dialog);
      asked = true;
      EXPECT_TRUE(dialog->testOption(QAbstractPrintDialog::PrintToFile));
      EXPECT_EQ(dialog->windowTitle(), "Melvarin Studio Reference");
      if (!c.accept) {
        dialog->reject();
        return;
      }
      if (c.file.isEmpty()) {
        dialog->printer()->setOutputFileName({});
        dialog->printer()->setPrinterName("Melvarin No Such Printer");
      } else {
        dialog->printer()->setOutputFileName(c.file);
      }
      dialog->done(QDialog::Accepted);
    });
    QTest::mouseClick(Form().Print, Qt::LeftButton);
    EXPECT_TRUE(asked);
    const QString told = NoticeWords("referencePrintFailure");
    EXPECT_TRUE(c.told.isEmpty() ? told.isEmpty()
                                 : told.startsWith("Melvarin Studio Reference\n" + c.told))
        << told.toStdString();
    if (!told.isEmpty()) {
      ASSERT_TRUE(CloseNotice("referencePrintFailure"));
    }
    // A file printed to is named, so that the learner finds it.
    const QString printed = NoticeWords("referencePrinted");
    if (c.accept && c.told.isEmpty()) {
      EXPECT_EQ(printed, "Melvarin Studio Reference\nThe reference was printed to " +
                             QDir::toNativeSeparators(pdf) + ".");
      ASSERT_TRUE(CloseNotice("referencePrinted"));
    } else {
      EXPECT_TRUE(printed.isEmpty()) << printed.toStdString();
    }
  }
  EXPECT_GT(QFileInfo(pdf).size(), 0);
}

// Screenshots of three pages for review.
TEST_F(ReferenceViewTest, ScreenshotsOfThePages) {
  OpenReference(1);
  Form().TimelineButton2->click();
  Snap("reference-intervals");
  Form().TimelineButton3->click();
  Snap("reference-chords");
  OpenReference(2);
  Form().TimelineButton5->click();
  Snap("reference-note-modifiers");
}

}  // namespace
}  // namespace Testing
