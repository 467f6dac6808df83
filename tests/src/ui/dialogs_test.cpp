// The overlay dialogs over a real window: the fade protocol of exec() and the click outside the
// panel, the About version, the news text taken as untrusted, the warning's "Do not show again",
// and the rating asked at the exit.

#include <QAbstractButton>
#include <QBuffer>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTimer>

#include "shell_fixture.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/app_rating.h"
#include "src/ui/message_dialogs.h"

namespace {

using Testing::WaitUntil;

class DialogTest : public Testing::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    m_host.resize(1440, 900);
    m_host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
    Application::SetLinkOpener([this](const QUrl& url) {
      m_opened << url.toString();
      return true;
    });
  }
  void TearDown() override {
    Application::SetLinkOpener({});
    ShellTest::TearDown();
  }
  QRect Whole() const { return QRect(0, 0, 1440, 900); }
  static bool Shown(UI::BaseDialog& dialog) {
    return dialog.isVisible() && dialog.opacity() == 1.0;
  }
  // Runs `act` once the dialog has faded in, from the event loop that its exec runs.
  static void OnceShown(UI::BaseDialog& dialog, std::function<void()> act) {
    auto* look = new QTimer(&dialog);
    QObject::connect(look, &QTimer::timeout, &dialog, [&dialog, look, act] {
      if (!Shown(dialog)) return;
      look->stop();
      look->deleteLater();
      act();
    });
    look->start(20);
  }
  template <class Widget>
  static Widget* Child(QWidget& dialog, const char* name) {
    return dialog.findChild<Widget*>(name);
  }

  QWidget m_host;
  QStringList m_opened;
};

TEST_F(DialogTest, ExecReturnsAfterTheFadeOutAndBlocksTheWindowMeanwhile) {
  QPushButton behind("behind", &m_host);
  behind.setGeometry(0, 0, 100, 30);
  behind.show();
  QSignalSpy pressed(&behind, &QPushButton::pressed);
  UI::AboutDialog dialog(&m_host, Whole());
  QSignalSpy closed(&dialog, &UI::BaseDialog::DialogClosed);
  bool visibleWhileFading = false;
  QElapsedTimer clock;
  // Once the dialog is up: a click on the window behind it, then the dialog's end, which fades
  // it out rather than hiding it at once.
  OnceShown(dialog, [&] {
    QTest::mouseClick(&behind, Qt::LeftButton);
    clock.start();
    dialog.done(3);
    visibleWhileFading = dialog.isVisible();
  });
  EXPECT_EQ(dialog.exec(), 3);
  EXPECT_GE(clock.elapsed(), UI::BaseDialog::FadeMs);
  EXPECT_TRUE(visibleWhileFading);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(closed.size(), 1);
  EXPECT_EQ(pressed.size(), 0);
}

TEST_F(DialogTest, APressOutsideThePanelFadesOutAndOneInsideDoesNot) {
  UI::AboutDialog dialog(&m_host, Whole());
  QSignalSpy fading(&dialog, &UI::BaseDialog::fading);
  QSignalSpy closed(&dialog, &UI::BaseDialog::DialogClosed);
  dialog.show();
  ASSERT_TRUE(WaitUntil([&] { return Shown(dialog); }));
  QWidget* panel = Child<QWidget>(dialog, "widget");
  for (QPoint inside : {QPoint(0, 0), QPoint(panel->width() - 1, panel->height() - 1)})
    QTest::mousePress(&dialog, Qt::LeftButton, {}, panel->mapTo(&dialog, inside));
  EXPECT_EQ(fading.size(), 0);

  QTest::mousePress(&dialog, Qt::LeftButton, {}, panel->mapTo(&dialog, QPoint(-1, 10)));
  EXPECT_EQ(fading.size(), 1);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(closed.wait(Testing::PatienceMs));
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DialogTest, AboutShowsTheVersionAtEveryShowing) {
  UI::AboutDialog dialog(&m_host, Whole());
  for (int showing = 0; showing < 2; ++showing) {
    dialog.show();
    EXPECT_EQ(Child<QLabel>(dialog, "version")->text(), "Version 1.8");
    Child<QLabel>(dialog, "version")->clear();
    dialog.fadeOut();
    ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));
  }
}

TEST_F(DialogTest, NewsShowsItsOwnPictureAndNothingItDoesNotCarry) {
  QByteArray png;
  {
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
  }
  const QString document = "<html><body><img src=\"rc://bg.jpg\"/><p>Hello</p></body></html>";
  struct Case {
    QString body;
    bool apology;
    bool picture;
  };
  const Case cases[] = {
      {"abc", true, false},
      {document + document + "x", true, false},
      {document + QString::fromLatin1(png.toBase64()), false, true},
      {document, false, false},
      {document + "bm90IGEgcGljdHVyZQ==", false, false},  // decodes, but to no picture
  };
  for (const Case& c : cases) {
    UI::MailDialog dialog(&m_host, Whole());
    QString body = c.body;
    dialog.setText(body);
    auto* text = Child<QTextBrowser>(dialog, "mailText");
    EXPECT_EQ(text->toPlainText().startsWith("Sorry, looks like the mail did not make it"),
              c.apology)
        << body.left(40).toStdString();
    const QVariant picture =
        text->document()->resource(QTextDocument::ImageResource, QUrl("rc://bg.jpg"));
    EXPECT_EQ(picture.isValid(), c.picture) << body.left(40).toStdString();
  }
}

TEST_F(DialogTest, NewsLinksOpenInTheBrowserOnlyWhenTheyAreWebAddresses) {
  UI::MailDialog dialog(&m_host, Whole());
  auto* text = Child<QTextBrowser>(dialog, "mailText");
  for (const char* link : {"https://example.org/a", "http://example.org/b", "file:///etc/passwd",
                           "javascript:alert(1)", "rc://bg.jpg"})
    emit text->anchorClicked(QUrl(link));
  EXPECT_EQ(m_opened, (QStringList{"https://example.org/a", "http://example.org/b"}));
  // A remote picture named by the news is not fetched.
  EXPECT_FALSE(
      text->loadResource(QTextDocument::ImageResource, QUrl("http://example.org/x.png")).isValid());
}

TEST_F(DialogTest, TheWarningRecordsItsBoxWhenItCloses) {
  UI::WarningDialog dialog(&m_host, Whole());
  EXPECT_TRUE(Child<QLabel>(dialog, "Loading_4")->text().contains("No MIDI keyboard found"));
  auto* box = Child<QCheckBox>(dialog, "DoNotShowAgain");
  box->setChecked(true);
  OnceShown(dialog, [&] { Click(Child<QAbstractButton>(dialog, "Close")); });
  dialog.exec();
  EXPECT_TRUE(App()->GetSettings()->globalSettings.hideMidiDialog);
  EXPECT_TRUE(Stored("GlobalSetting/Settings.HideMidiDialog").toBool());

  // Closed by a press on the surround, the cleared box is recorded too.
  box->setChecked(false);
  dialog.show();
  ASSERT_TRUE(WaitUntil([&] { return Shown(dialog); }));
  QTest::mousePress(&dialog, Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));
  EXPECT_FALSE(Stored("GlobalSetting/Settings.HideMidiDialog").toBool());
}

class RatingTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    qputenv("MELVARIN_SERVICE_URL", "http://127.0.0.1:9");
    UI::AppRating::SetToday([this] { return m_today; });
  }
  void TearDown() override {
    UI::AppRating::SetToday([] { return QDate::currentDate(); });
    qunsetenv("MELVARIN_SERVICE_URL");
    DialogTest::TearDown();
  }
  // Shows the rating as the exit does and answers it with `answer` once it is up; true when it
  // was shown.
  bool AskRating(const std::function<void(QDialog*)>& answer) {
    bool shown = false;
    QObject answering;  // ends the timer with this call
    QTimer::singleShot(100, &answering, [&] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        shown = true;
        answer(dialog);
      }
    });
    UI::AppRating rating(nullptr);
    rating.Show();  // runs the timer while it is up; a rating not shown lets it go unrun
    return shown;
  }
  QDate m_today{2026, 1, 1};
};

TEST_F(RatingTest, AStarOpensItsPageAndTheQuestionIsNotAskedAgain) {
  auto star3 = [](QDialog* dialog) { Click(dialog->findChild<QPushButton*>("starBtn3")); };
  EXPECT_TRUE(AskRating(star3));
  EXPECT_EQ(m_opened, QStringList{"http://127.0.0.1:9/Home/userrating3"});
  EXPECT_TRUE(Stored("showRatingDialog").toBool());
  EXPECT_FALSE(AskRating(star3));
}

TEST_F(RatingTest, IsNotAskedBeforeItsDayOrWithoutTheServiceAndEscapeStoresNothing) {
  auto escape = [](QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); };
  m_today = QDate(2015, 2, 9);
  EXPECT_FALSE(AskRating(escape));
  m_today = QDate(2015, 2, 10);
  qunsetenv("MELVARIN_SERVICE_URL");
  EXPECT_FALSE(AskRating(escape));
  qputenv("MELVARIN_SERVICE_URL", "http://127.0.0.1:9");
  EXPECT_TRUE(AskRating(escape));
  EXPECT_FALSE(Stored("showRatingDialog").toBool());
  EXPECT_TRUE(AskRating(escape));
  EXPECT_TRUE(m_opened.isEmpty());

  // Help is a page of the same service.
  App()->showHelp();
  qunsetenv("MELVARIN_SERVICE_URL");
  App()->showHelp();
  EXPECT_EQ(m_opened, QStringList{"http://127.0.0.1:9/Home/Help"});
}

}  // namespace
