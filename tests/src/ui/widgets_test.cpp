// The shell's small shared widgets: the overlay animation, the score frame's jump, the fitted
// picture, the animated
// loudspeaker, the seek slider over its timeline and the bouncing bubble; and a picture decoded
// on a worker thread.

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

#include "src/ui/bouncing_tooltip.h"
#include "src/ui/button_slider.h"
#include "src/ui/controls/console_exercise_control/wrong_right_answer_animation.h"
#include "src/ui/decoded_picture.h"
#include "src/ui/picture_widget.h"
#include "src/ui/speaker_widget.h"
#include "support/patience.h"

namespace {

// A shown top-level window, counting its paints.
class Window : public QWidget {
 public:
  Window() {
    resize(600, 400);
    show();
    activateWindow();
  }
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(CustomPropertyAnimation, RepaintsTheParentAtEveryStepAndStopsNoOtherRun) {
  Window window;
  QWidget overlay(&window);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  // A property that repaints nothing by itself, so the window's paints are the animation's.
  UI::CustomPropertyAnimation fade(&overlay, "toolTipDuration", &overlay);
  UI::CustomPropertyAnimation other(&overlay, "toolTipDuration", &overlay);
  for (auto* animation : {&fade, &other}) {
    animation->setKeyValueAt(0.0, 0);
    animation->setKeyValueAt(1.0, 1000);
  }
  const int before = window.paints;
  other.start();
  fade.start();
  EXPECT_EQ(other.state(), QAbstractAnimation::Running);
  ASSERT_TRUE(QTest::qWaitFor([&] { return fade.state() == QAbstractAnimation::Stopped; },
                              Testing::PatienceMs));
  EXPECT_EQ(overlay.toolTipDuration(), 1000);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.paints > before + 3; }, Testing::PatienceMs));
}

// The jump starts where the frame is: the area around it is repainted as the frame moves, not at
// the start, which comes with the verdict's own paint.
TEST(FrameJump, RepaintsTheAreaAroundTheFrameOnlyOnceTheFrameMoves) {
  Window window;
  QWidget frame(&window);
  frame.setGeometry(50, 50, 100, 100);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  UI::WrongRightAnswerAnimation jump(&frame, "geometry", &window);
  jump.setDuration(200);
  for (const auto& [step, offset] : {std::pair{0.0, 0}, {0.5, -5}, {1.0, 0}})
    jump.setKeyValueAt(step, frame.geometry().translated(0, offset));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  const int before = window.paints;
  jump.start();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  EXPECT_EQ(window.paints, before);
  jump.setCurrentTime(100);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  EXPECT_EQ(frame.y(), 45);
  EXPECT_GT(window.paints, before);
}

TEST(DecodedPicture, GivesTheDeclaredSizeAtOnceAndThePictureAsTheFileHoldsIt) {
  QTemporaryDir folder;
  QImage image(300, 120, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x % 256, y * 2, 77));
  const QString path = folder.filePath("picture.png");
  ASSERT_TRUE(image.save(path));

  UI::DecodedPicture picture(path);
  EXPECT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(300, 120));
  EXPECT_EQ(picture.pixmap().toImage().convertToFormat(QImage::Format_RGB32), image);
  EXPECT_EQ(&picture.pixmap(), &picture.pixmap());  // decoded once

  // One never drawn goes without waiting to be asked.
  { UI::DecodedPicture unused(path); }

  QFile text(folder.filePath("not-a-picture.png"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("no picture here");
  text.close();
  for (const QString& nothing : {folder.filePath("missing.png"), text.fileName()}) {
    UI::DecodedPicture none(nothing);
    EXPECT_TRUE(none.isNull()) << qPrintable(nothing);
    EXPECT_TRUE(none.pixmap().isNull()) << qPrintable(nothing);
  }
}

TEST(PictureWidget, FitsThePictureCentredAndDrawsItOnlyOnceShown) {
  const std::pair<QSize, QRect> cases[] = {
      {{800, 200}, {0, 100, 400, 100}},  // the width first
      {{100, 50}, {150, 125, 100, 50}},  // smaller: its own size
      {{100, 600}, {175, 0, 50, 300}},   // the height then
      {{401, 301}, {0, 0, 400, 300}},
  };
  for (const auto& [picture, drawn] : cases)
    EXPECT_EQ(UI::PictureWidget::FittedRect(picture, {400, 300}), drawn) << picture.width();

  UI::PictureWidget widget;
  widget.resize(400, 300);
  widget.setAttribute(Qt::WA_StyledBackground);
  widget.setStyleSheet("background: white");
  QPixmap red(800, 200);
  red.fill(Qt::red);
  widget.setPicture(red);
  auto at = [&widget](int y) { return widget.grab().toImage().pixelColor(200, y); };
  EXPECT_EQ(at(150), QColor(Qt::white)) << "hidden until the exercise screen shows it";
  widget.pictureHidden = false;
  EXPECT_EQ(at(150), QColor(Qt::red));
  EXPECT_EQ(at(99), QColor(Qt::white));
  widget.setText("C");
  EXPECT_EQ(at(100), QColor(Qt::white)) << "the text takes the picture's place";
  widget.setPicture(QString(":/no/such/picture.png"));
  EXPECT_EQ(at(150), QColor(Qt::white));
}

TEST(SpeakerWidget, RunsItsFramesFromTheSecondAndStopsAtTheFirst) {
  UI::SpeakerWidget speaker;
  auto frame = [](int n) {
    return QPixmap(QStringLiteral(":/pixmap/speaker/%1.png").arg(n)).toImage();
  };
  auto shown = [&speaker] { return speaker.label()->pixmap().toImage(); };
  EXPECT_EQ(speaker.label()->size(), QSize(220, 220));
  speaker.frameChanged();
  EXPECT_TRUE(shown().isNull()) << "nothing before the first tick of a run";
  speaker.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !shown().isNull(); }, Testing::PatienceMs));
  speaker.stop();
  EXPECT_FALSE(speaker.timer()->isActive());
  speaker.start();
  speaker.timer()->stop();
  for (int n : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 1}) {
    speaker.frameChanged();
    EXPECT_EQ(shown(), frame(n)) << n;
  }
}

TEST(ButtonSlider, AClickOnTheGroovePressesTheButtonBelowTheHandleDragsAndTheTimelineShows) {
  QWidget host;
  QWidget timeline(&host);
  timeline.setGeometry(0, 0, 400, 40);
  QPushButton section(&timeline);
  section.setGeometry(200, 0, 200, 40);
  section.setStyleSheet("background: blue; border: none");
  ButtonSlider slider(&host);
  slider.setOrientation(Qt::Horizontal);
  slider.setGeometry(0, 0, 400, 40);
  slider.setBackgroudWidget(&timeline);
  host.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  auto part = [&slider](QStyle::SubControl control) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = Qt::Horizontal;
    option.maximum = slider.maximum();
    option.sliderPosition = slider.value();
    return slider.style()->subControlRect(QStyle::CC_Slider, &option, control, &slider);
  };
  auto send = [&slider](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, slider.mapToGlobal(at), Qt::LeftButton, buttons, {});
    QCoreApplication::sendEvent(&slider, &event);
  };
  auto click = [&](QPoint from, QPoint to) {
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
  };
  QSignalSpy clicked(&section, &QPushButton::clicked);
  const QPoint groove(300, part(QStyle::SC_SliderGroove).center().y());
  ASSERT_FALSE(part(QStyle::SC_SliderHandle).contains(groove));

  slider.setEnabled(false);
  EXPECT_EQ(slider.grab().toImage().pixelColor(groove), QColor(Qt::blue));
  EXPECT_FALSE(slider.isEnabled()) << "enabled for the paint only";
  slider.setEnabled(true);

  click(groove, groove);
  EXPECT_EQ(clicked.size(), 1);
  EXPECT_EQ(slider.value(), 0);
  const QPoint handle = part(QStyle::SC_SliderHandle).center();
  click(handle, handle + QPoint(200, 0));
  EXPECT_GT(slider.value(), 40);
  // A drag let go over the groove, off the handle, ends in the slider, not on the button there.
  const int dragged = slider.value();
  const QPoint grip = part(QStyle::SC_SliderHandle).center();
  send(QEvent::MouseButtonPress, grip, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, grip + QPoint(60, 0), Qt::NoButton);
  EXPECT_FALSE(slider.isSliderDown());
  EXPECT_EQ(slider.value(), dragged);
  EXPECT_EQ(clicked.size(), 1);
  slider.setBackgroudWidget(nullptr);
  slider.setValue(0);
  click(groove, groove);
  EXPECT_GT(slider.value(), 0) << "a plain slider pages towards the click";
  EXPECT_EQ(clicked.size(), 1);
}

TEST(BouncingTooltip, BouncesAboveThePointOnlyOverTheActiveWindow) {
  Window window;
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  UI::BouncingTooltip tooltip(&window);
  const QLabel* label = tooltip.findChild<QLabel*>("label");
  EXPECT_EQ(label->text(), "You got mail");
  const QPoint anchor(500, 300);
  tooltip.ShowHint(anchor, 2000, 10, "Two news", 1);
  EXPECT_EQ(tooltip.windowOpacity(), 0.0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return tooltip.isVisible(); }, Testing::PatienceMs));
  EXPECT_EQ(QApplication::activeWindow(), &window) << "shown without taking the focus";
  EXPECT_EQ(label->text(), "Two news");
  EXPECT_EQ(label->styleSheet(), tooltip.property("Down").toString());
  const auto keys = tooltip.geometryAnimation()->keyValues();
  ASSERT_EQ(keys.size(), 12);
  for (int i = 0; i < keys.size(); ++i)
    EXPECT_EQ(keys[i].second.toRect(),
              QRect(anchor.x() - 110, anchor.y() - 52 + (i % 2 ? 10 : -10), 100, 30))
        << i;
  tooltip.ShowHint(anchor, 2000, 0, "Up", 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return label->text() == "Up"; }, Testing::PatienceMs));
  EXPECT_EQ(label->styleSheet(), tooltip.property("Up").toString());

  Window other;
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !tooltip.isVisible(); }, Testing::PatienceMs))
      << "gone with the focus";
  tooltip.Show();
  EXPECT_FALSE(tooltip.isVisible());
  tooltip.setParentWindow(&other);
  tooltip.Show();
  EXPECT_TRUE(tooltip.isVisible());
  tooltip.HideHint();
  EXPECT_FALSE(tooltip.isVisible());
  EXPECT_EQ(UI::BouncingTooltip(nullptr).ParentWindow(), nullptr);
}

}  // namespace
