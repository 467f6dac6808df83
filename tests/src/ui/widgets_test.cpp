// The shell's small shared widgets: the fitted picture, the animated loudspeaker, the seek slider
// over its timeline and the bouncing bubble.

#include <gtest/gtest.h>

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTest>

#include "src/ui/bouncing_tooltip.h"
#include "src/ui/button_slider.h"
#include "src/ui/custom_property_animation.h"
#include "src/ui/picture_widget.h"
#include "src/ui/speaker_widget.h"

namespace {

QPixmap Filled(QSize size, Qt::GlobalColor color) {
  QPixmap pixmap(size);
  pixmap.fill(color);
  return pixmap;
}

// Counts the paint events of the widget it watches.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    paints += event->type() == QEvent::Paint;
    return false;
  }
};

TEST(CustomPropertyAnimation, RepaintsTheParentAtEveryStepAndLeavesOtherRunsAlone) {
  QWidget window;
  window.resize(300, 200);
  QWidget overlay(&window);
  overlay.setGeometry(50, 50, 100, 100);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  PaintCounter counter;
  window.installEventFilter(&counter);

  // A property that repaints nothing by itself, so every paint of the window is the animation's.
  UI::CustomPropertyAnimation fade(&overlay, "toolTipDuration", &overlay);
  UI::CustomPropertyAnimation other(&overlay, "toolTipDuration", &overlay);
  EXPECT_EQ(fade.parent(), nullptr);
  for (auto* animation : {&fade, &other}) {
    animation->setDuration(300);
    animation->setKeyValueAt(0.0, 0);
    animation->setKeyValueAt(1.0, 1000);
  }
  other.start();
  fade.start();
  EXPECT_EQ(other.state(), QAbstractAnimation::Running) << "a second run stops no other";
  ASSERT_TRUE(QTest::qWaitFor([&] { return fade.state() == QAbstractAnimation::Stopped; }));
  EXPECT_EQ(overlay.toolTipDuration(), 1000);
  EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 3; }))
      << "the window under the overlay repaints as it fades";
}

TEST(PictureWidget, FitsThePictureIntoTheWidgetKeepingItsProportions) {
  struct Case {
    QSize picture, widget;
    QRect drawn;
  };
  const Case cases[] = {
      {{800, 200}, {400, 300}, {0, 100, 400, 100}}, {{100, 50}, {400, 300}, {150, 125, 100, 50}},
      {{100, 600}, {400, 300}, {175, 0, 50, 300}},  {{1000, 1000}, {400, 300}, {50, 0, 300, 300}},
      {{401, 301}, {400, 300}, {0, 0, 400, 300}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UI::PictureWidget::FittedRect(c.picture, c.widget), c.drawn)
        << c.picture.width() << "x" << c.picture.height();
}

TEST(PictureWidget, DrawsThePictureOnlyOnceShownAndTheTextInItsPlace) {
  UI::PictureWidget widget;
  widget.resize(400, 300);
  widget.setAttribute(Qt::WA_StyledBackground);
  widget.setStyleSheet("background: white");
  widget.setPicture(Filled({800, 200}, Qt::red));
  auto at = [&widget](int x, int y) { return widget.grab().toImage().pixelColor(x, y); };
  EXPECT_EQ(at(200, 150), QColor(Qt::white)) << "hidden until the exercise screen shows it";
  widget.pictureHidden = false;
  EXPECT_EQ(at(200, 150), QColor(Qt::red));
  EXPECT_EQ(at(200, 99), QColor(Qt::white));
  EXPECT_EQ(at(200, 200), QColor(Qt::white));

  widget.setText("C#");
  const QImage text = widget.grab().toImage();
  EXPECT_EQ(text.pixelColor(200, 150 - 60), QColor(Qt::white)) << "the picture is gone";
  QRect inked;
  for (int y = 0; y < text.height(); ++y)
    for (int x = 0; x < text.width(); ++x)
      if (text.pixelColor(x, y) != QColor(Qt::white)) inked |= QRect(x, y, 1, 1);
  ASSERT_FALSE(inked.isNull());
  EXPECT_GT(inked.height(), 40) << "64 points tall";
  EXPECT_LE(std::abs(inked.center().x() - 200), 4);
  EXPECT_LE(std::abs(inked.center().y() - 150), 20);

  widget.setPicture(QString(":/no/such/picture.png"));
  EXPECT_EQ(at(200, 150), QColor(Qt::white));
}

TEST(SpeakerWidget, RunsItsFramesFromTheSecondAndStopsAtTheFirst) {
  UI::SpeakerWidget speaker;
  auto frame = [](int n) {
    return QPixmap(QStringLiteral(":/pixmap/speaker/%1.png").arg(n)).toImage();
  };
  auto shown = [&speaker] { return speaker.label()->pixmap().toImage(); };
  EXPECT_EQ(speaker.label()->size(), QSize(220, 220));
  EXPECT_TRUE(speaker.label()->pixmap().isNull());
  speaker.frameChanged();
  EXPECT_TRUE(speaker.label()->pixmap().isNull()) << "not running yet";

  speaker.start();
  EXPECT_EQ(speaker.timer()->interval(), UI::SpeakerWidget::FrameIntervalMs);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !speaker.label()->pixmap().isNull(); }));
  speaker.stop();
  EXPECT_FALSE(speaker.timer()->isActive());

  speaker.start();
  speaker.timer()->stop();
  speaker.frameChanged();
  EXPECT_EQ(shown(), frame(2));
  for (int n = 3; n <= 14; ++n) speaker.frameChanged();
  EXPECT_EQ(shown(), frame(14));
  speaker.frameChanged();
  EXPECT_EQ(shown(), frame(1));
}

class ButtonSliderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_host.resize(400, 40);
    m_timeline.setGeometry(0, 0, 400, 40);
    m_timeline.setAutoFillBackground(true);
    m_timeline.setPalette(QPalette(Qt::blue));
    m_section.setGeometry(200, 0, 200, 40);
    m_section.setFlat(true);
    m_section.setStyleSheet("background: blue; border: none");
    m_slider.setOrientation(Qt::Horizontal);
    m_slider.setRange(0, 100);
    m_slider.setGeometry(0, 0, 400, 40);
    m_slider.setBackgroudWidget(&m_timeline);
    m_host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
  }
  QRect Part(QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(&m_slider);
    option.orientation = Qt::Horizontal;
    option.minimum = m_slider.minimum();
    option.maximum = m_slider.maximum();
    option.sliderPosition = option.sliderValue = m_slider.value();
    return m_slider.style()->subControlRect(QStyle::CC_Slider, &option, part, &m_slider);
  }
  void Send(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, m_slider.mapToGlobal(at), Qt::LeftButton, buttons, {});
    QCoreApplication::sendEvent(&m_slider, &event);
  }

  QWidget m_host;
  QWidget m_timeline{&m_host};
  QPushButton m_section{&m_timeline};
  ButtonSlider m_slider{&m_host};
};

TEST_F(ButtonSliderTest, AClickOnTheGroovePressesTheButtonBelowAndTheHandleDrags) {
  QSignalSpy clicked(&m_section, &QPushButton::clicked);
  const QPoint groove(300, Part(QStyle::SC_SliderGroove).center().y());
  ASSERT_FALSE(Part(QStyle::SC_SliderHandle).contains(groove));
  Send(QEvent::MouseButtonPress, groove, Qt::LeftButton);
  EXPECT_TRUE(m_section.isDown());
  Send(QEvent::MouseButtonRelease, groove, Qt::NoButton);
  EXPECT_EQ(clicked.size(), 1);
  EXPECT_EQ(m_slider.value(), 0);

  const QPoint handle = Part(QStyle::SC_SliderHandle).center();
  Send(QEvent::MouseButtonPress, handle, Qt::LeftButton);
  Send(QEvent::MouseMove, handle + QPoint(200, 0), Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, handle + QPoint(200, 0), Qt::NoButton);
  EXPECT_GT(m_slider.value(), 40);
  EXPECT_EQ(clicked.size(), 1);

  m_slider.setBackgroudWidget(nullptr);
  m_slider.setValue(0);
  Send(QEvent::MouseButtonPress, groove, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, groove, Qt::NoButton);
  EXPECT_GT(m_slider.value(), 0) << "a plain slider pages towards the click";
  EXPECT_EQ(clicked.size(), 1);
}

TEST_F(ButtonSliderTest, TheTimelineShowsThroughTheGrooveEvenWhenDisabled) {
  m_slider.setEnabled(false);
  const QImage image = m_slider.grab().toImage();
  EXPECT_FALSE(m_slider.isEnabled());
  const QPoint groove(300, Part(QStyle::SC_SliderGroove).center().y());
  EXPECT_EQ(image.pixelColor(groove), QColor(Qt::blue));
  const QRect handle = Part(QStyle::SC_SliderHandle);
  bool handleDrawn = false;
  for (int x = handle.left(); x <= handle.right(); ++x)
    handleDrawn |= image.pixelColor(x, handle.center().y()) != QColor(Qt::blue);
  EXPECT_TRUE(handleDrawn);
}

class BouncingTooltipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_window.resize(600, 400);
    m_window.show();
    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
  }
  void ActivateOther() {
    m_other.resize(100, 100);
    m_other.show();
    m_other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_other));
  }

  QWidget m_window;
  QWidget m_other;
  QPoint m_anchor{500, 300};
};

TEST_F(BouncingTooltipTest, BouncesAboveThePointWithTheChosenArrowAndFades) {
  UI::BouncingTooltip tooltip(&m_window);
  EXPECT_EQ(tooltip.ParentWindow(), &m_window);
  EXPECT_EQ(tooltip.findChild<QLabel*>("label")->text(), "You got mail");
  tooltip.ShowHint(m_anchor, 2000, 10, "Two news", 1);
  EXPECT_EQ(tooltip.windowOpacity(), 0.0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return tooltip.isVisible(); }));
  EXPECT_EQ(QApplication::activeWindow(), &m_window) << "shown without taking the focus";
  const QLabel* label = tooltip.findChild<QLabel*>("label");
  EXPECT_EQ(label->text(), "Two news");
  EXPECT_EQ(label->styleSheet(), tooltip.property("Down").toString());
  EXPECT_EQ(tooltip.animationGroup()->state(), QAbstractAnimation::Running);

  const auto keys = tooltip.geometryAnimation()->keyValues();
  ASSERT_EQ(keys.size(), 12);
  const int high = m_anchor.y() - 52 - 10, low = m_anchor.y() - 52 + 10;
  for (int i = 0; i < keys.size(); ++i) {
    const QRect key = keys[i].second.toRect();
    EXPECT_EQ(key, QRect(m_anchor.x() - 150 + 40, i % 2 ? low : high, 100, 30)) << i;
  }
  EXPECT_EQ(keys.back().first, 1.0);
  EXPECT_EQ(tooltip.size(), QSize(150, 52));

  tooltip.ShowHint(m_anchor, 2000, 0, "Up", 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return label->text() == "Up"; }));
  EXPECT_EQ(label->styleSheet(), tooltip.property("Up").toString());

  ActivateOther();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !tooltip.isVisible(); }))
      << "gone once its window is not the active one";
}

TEST_F(BouncingTooltipTest, ShowsNothingOverAnInactiveWindow) {
  UI::BouncingTooltip tooltip(&m_window);
  ActivateOther();
  tooltip.ShowHint(m_anchor, 2000, 0, "Mail", 0);
  tooltip.Show();
  EXPECT_FALSE(tooltip.isVisible());
  tooltip.setParentWindow(&m_other);
  tooltip.Show();
  EXPECT_TRUE(tooltip.isVisible()) << "an explicit parent window counts instead";
  tooltip.HideHint();
  EXPECT_FALSE(tooltip.isVisible());
  UI::BouncingTooltip orphan(nullptr);
  EXPECT_EQ(orphan.ParentWindow(), nullptr);
  orphan.Show();
  EXPECT_FALSE(orphan.isVisible());
}

}  // namespace
