// The on-screen piano: its key table and hit test at two sizes, the mouse rules of each mode, key
// colours as drawn from the key images, and the synchronous repaint of only the changed keys'
// octave groups, which draws them as the whole piano would. Indexes off the piano, as callers pass
// them unchecked, change nothing.

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>

#include "picture_match.h"
#include "src/ui/gkc_initializer.h"
#include "src/ui/keyboard.h"

namespace {

using KeyboardGeometry::KeyCount;

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_piano.resize(1820, 180);
    m_piano.installEventFilter(&m_paints);
    m_piano.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_piano));
    m_paints.regions.clear();
  }

  void Send(QEvent::Type type, QPoint at, Qt::MouseButtons buttons = Qt::LeftButton) {
    QMouseEvent event(type, at, m_piano.mapToGlobal(at), Qt::LeftButton, buttons, {});
    QCoreApplication::sendEvent(&m_piano, &event);
  }
  void Leave() {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(&m_piano, &event);
  }
  // The middle of a key's lower part (white keys) or of the key (black keys).
  static QPoint Middle(int key) {
    const GKCKeyPositon& position = GKCinitializer::Keys()[size_t(key)];
    return (position.white ? position.lower : position.upper).center().toPoint();
  }
  QColor Drawn(int key) { return m_piano.grab().toImage().pixelColor(Middle(key)); }
  static QColor Image(GKCinitializer::ImageSet set, int key) {
    const GKCKeyPositon& position = GKCinitializer::Keys()[size_t(key)];
    const QPoint inImage = Middle(key) - position.drawPosition.toPoint();
    return GKCinitializer::Image(set, position.pixmapIndex).toImage().pixelColor(inImage);
  }

  struct PaintLog : QObject {
    std::vector<QRegion> regions;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint)
        regions.push_back(static_cast<QPaintEvent*>(event)->region());
      return false;
    }
  } m_paints;
  Keyboard m_piano;
};

TEST_F(KeyboardTest, TheKeyTableAndTheHitTestFollowTheDesignSpace) {
  const auto& keys = GKCinitializer::Keys();
  ASSERT_EQ(keys.size(), size_t(KeyCount));
  const struct {
    int key;
    QRectF upper, lower;
  } rows[] = {
      {0, {0, 0, 30, 108}, {0, 108, 35, 72}},
      {1, {30, 0, 19, 108}, {}},
      {2, {49, 0, 21, 108}, {35, 108, 35, 72}},
      {3, {70, 0, 21, 108}, {70, 108, 35, 72}},
      {4, {91, 0, 19, 108}, {}},
      {11, {235, 0, 20, 108}, {}},
      {86, {1764, 0, 21, 108}, {1750, 108, 35, 72}},
      {87, {1785, 0, 35, 108}, {1785, 108, 35, 72}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(keys[size_t(row.key)].upper, row.upper) << row.key;
    EXPECT_EQ(keys[size_t(row.key)].lower, row.lower) << row.key;
    EXPECT_EQ(keys[size_t(row.key)].white, !row.lower.isNull()) << row.key;
  }
  const struct {
    QSize size;
    QPoint at;
    int key;
  } hits[] = {
      {{1820, 180}, {75, 150}, 3}, {{1820, 180}, {95, 50}, 4},    {{1820, 180}, {1800, 10}, 87},
      {{1820, 180}, {0, 0}, 0},    {{1820, 180}, {1830, 10}, -1}, {{910, 90}, {45, 75}, 3},
  };
  for (const auto& hit : hits) {
    m_piano.resize(hit.size);
    EXPECT_EQ(m_piano.getKeyByPos(hit.at.x(), hit.at.y()), hit.key)
        << hit.at.x() << "," << hit.at.y();
  }
}

TEST_F(KeyboardTest, APressPlaysOnceAndDraggingOffLetsGoAtOnce) {
  QSignalSpy pressed(&m_piano, &Keyboard::keyPressed);
  QSignalSpy released(&m_piano, &Keyboard::keyReleased);
  const QColor normal = Drawn(3);
  QTest::mousePress(&m_piano, Qt::LeftButton, {}, Middle(3));
  ASSERT_EQ(pressed.size(), 1);
  EXPECT_EQ(pressed[0][0].toInt(), 3);
  EXPECT_EQ(Drawn(3), Image(GKCinitializer::Pressed, 3)) << "pressed from the next paint on";
  EXPECT_NE(Drawn(3), normal);
  Send(QEvent::MouseMove, Middle(5));
  ASSERT_EQ(released.size(), 1);
  EXPECT_EQ(released[0][0].toInt(), 3);
  QTest::mouseRelease(&m_piano, Qt::LeftButton, {}, Middle(5));
  EXPECT_EQ(released.size(), 1) << "the drag let go already";
  EXPECT_EQ(pressed.size(), 1) << "the key dragged onto is not pressed";

  Send(QEvent::MouseButtonPress, Middle(40));
  Send(QEvent::MouseButtonRelease, Middle(40), Qt::NoButton);
  Send(QEvent::MouseButtonPress, Middle(41));
  Leave();
  EXPECT_EQ(released.size(), 3);
  m_piano.Enable(false);
  Send(QEvent::MouseButtonPress, Middle(42));
  m_piano.Enable(true);
  m_piano.switchMode(Keyboard::Display);
  Send(QEvent::MouseButtonPress, Middle(42));
  m_piano.switchMode(Keyboard::Input);
  Send(QEvent::MouseButtonPress, QPoint(1830, 10));  // right of the last key
  EXPECT_EQ(pressed.size(), 3);
}

TEST_F(KeyboardTest, HoverModesReportTheKeyOrTheOctaveUnderThePointer) {
  QSignalSpy hover(&m_piano, &Keyboard::hover);
  auto reported = [&] {
    std::vector<int> keys;
    for (const auto& arguments : hover) keys.push_back(arguments[0].toInt());
    hover.clear();
    return keys;
  };
  m_piano.switchMode(Keyboard::HoverOctaves);
  Send(QEvent::MouseMove, Middle(5), Qt::NoButton);
  Send(QEvent::MouseMove, Middle(7), Qt::NoButton);  // the same octave
  Send(QEvent::MouseMove, Middle(87), Qt::NoButton);
  EXPECT_EQ(reported(), (std::vector<int>{5, -1}));
  Send(QEvent::MouseMove, Middle(30), Qt::NoButton);
  const QImage hovering = m_piano.grab().toImage();
  EXPECT_EQ(hovering.pixelColor(Middle(30)), Image(GKCinitializer::Normal, 30)) << "bright";
  EXPECT_LT(hovering.pixelColor(Middle(5)).lightness(),
            Image(GKCinitializer::Normal, 5).lightness())
      << "the other octaves are dimmed";
  Leave();
  EXPECT_EQ(reported(), (std::vector<int>{30, -1}));
  EXPECT_EQ(m_piano.grab().toImage().pixelColor(Middle(5)), Image(GKCinitializer::Normal, 5));

  m_piano.switchMode(Keyboard::HoverKeys);
  Send(QEvent::MouseMove, Middle(5), Qt::NoButton);
  Send(QEvent::MouseMove, Middle(5), Qt::NoButton);
  Send(QEvent::MouseMove, QPoint(1830, 10), Qt::NoButton);  // no key: octave 0 stays bright
  EXPECT_EQ(reported(), (std::vector<int>{5, -1}));
  EXPECT_EQ(Drawn(0), Image(GKCinitializer::Normal, 0));
  EXPECT_NE(Drawn(40), Image(GKCinitializer::Normal, 40));
}

TEST_F(KeyboardTest, KeysShowTheirAnswerColourAndIndexesOffThePianoAreIgnored) {
  m_piano.highlightKeys({5, 6, -21, 88}, {5, 7, 300});
  EXPECT_EQ(m_piano.keyState(5).highlight, KeyState::Red) << "a key in both lists ends red";
  EXPECT_EQ(Drawn(5), Image(GKCinitializer::Red, 5));
  EXPECT_EQ(Drawn(6), Image(GKCinitializer::Green, 6));
  EXPECT_EQ(Drawn(7), Image(GKCinitializer::Red, 7));

  KeyState blue;
  blue.highlight = KeyState::Blue;
  m_piano.changeKeysState({{8, blue}, {-1, blue}, {88, blue}});
  EXPECT_EQ(Drawn(8), Image(GKCinitializer::Blue, 8));
  EXPECT_EQ(Drawn(5), Image(GKCinitializer::Normal, 5)) << "keys not in the map are cleared";
  m_piano.setPressedKey(true, -1);
  m_piano.setPressedKey(true, 88);
  for (int key = 0; key < KeyCount; ++key) EXPECT_FALSE(m_piano.keyState(key).pressed) << key;

  m_piano.Enable(false);
  m_piano.fadeWhenDisabled = true;
  EXPECT_LT(Drawn(40).lightness(), Image(GKCinitializer::Normal, 40).lightness());
}

TEST_F(KeyboardTest, AStateChangeRepaintsOnlyItsKeysOctaveGroupAtOnce) {
  KeyState red;
  red.highlight = KeyState::Red;
  m_piano.changeKeysState({{40, red}});
  ASSERT_EQ(m_paints.regions.size(), 1u) << "painted before the call returns";
  const GKCKeyPositon& key = GKCinitializer::Keys()[40];  // C sharp 4, a black key
  EXPECT_EQ(m_paints.regions[0], QRegion(m_piano.scaleKeyRect(key.upper)));
  EXPECT_EQ(m_piano.paintedGroups(), std::vector<int>{KeyboardGeometry::Group(40)});

  m_piano.changeKeysState({{40, red}});
  EXPECT_EQ(m_paints.regions.size(), 1u) << "the same state draws nothing";
  // B0's edge shares its pixels with C1, the first key of the next group.
  m_piano.changeKeysState({{40, red}, {2, red}});
  ASSERT_EQ(m_paints.regions.size(), 2u);
  EXPECT_EQ(m_piano.paintedGroups(), (std::vector<int>{0, 1}));
  m_piano.changeKeysState({});
  EXPECT_EQ(m_piano.paintedGroups(), (std::vector<int>{0, 1, KeyboardGeometry::Group(40)}));
}

// Keys lit and cleared again at the exercise screen's size, where keys and groups share the
// pixels at their edges, are drawn just as the whole piano drawn afresh shows them.
TEST_F(KeyboardTest, KeysDrawnAgainLookAsThePianoDrawnAfresh) {
  m_piano.resize(1424, 133);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  const KeyState red{.highlight = KeyState::Red},
      blue{.pressed = true, .highlight = KeyState::Blue};
  const KeysStateMap verdicts[] = {
      {{2, red}, {3, blue}},                // B0 and C1, on both sides of a group's edge
      {{43, blue}, {44, red}},              // E4 and F4
      {{39, blue}, {43, blue}, {46, red}},  // a chord of C4, E4 and G4 with a wrong key
      {{87, red}},                          // C8 alone in its group
  };
  for (const KeysStateMap& verdict : verdicts)
    for (const KeysStateMap& state : {verdict, KeysStateMap{}}) {
      m_piano.changeKeysState(state);
      EXPECT_EQ(Testing::PixelsOff(Testing::ShownWindow(&m_piano), Testing::FreshWindow(&m_piano),
                                   m_piano.rect()),
                0)
          << verdict.begin()->first << (state.empty() ? " cleared" : " lit");
    }
}

// Every answer turns the keys off, and a heard scale dims them while it plays.
TEST_F(KeyboardTest, TurningTheKeysOffDrawsTheWholePianoOnlyWhenTheyDimOrBrightenAgain) {
  m_piano.Enable(false);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  EXPECT_TRUE(m_paints.regions.empty());
  m_piano.Enable(true);
  Send(QEvent::MouseMove, Middle(40), Qt::NoButton);  // the hover look of C sharp 4
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  m_paints.regions.clear();
  m_piano.Enable(false);
  ASSERT_EQ(m_paints.regions.size(), 1u) << "the hover look goes at once";
  EXPECT_EQ(m_paints.regions[0], QRegion(m_piano.scaleKeyRect(GKCinitializer::Keys()[40].upper)));

  m_piano.Enable(true);
  for (const bool on : {false, true}) {
    // The screen sets the dimming before it turns the keys on or off, and lifts it first.
    m_piano.fadeWhenDisabled = !on;
    m_paints.regions.clear();
    m_piano.Enable(on);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    ASSERT_FALSE(m_paints.regions.empty()) << on;
    EXPECT_EQ(m_paints.regions.back(), QRegion(m_piano.rect())) << on;
  }
}

TEST_F(KeyboardTest, BetweenInputAndDisplayOnlyTheKeysUnderThePointerAreDrawnAgain) {
  // A verdict turns the piano to display: nothing the learner sees changes with no key held.
  m_piano.switchMode(Keyboard::Display);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  EXPECT_TRUE(m_paints.regions.empty());

  m_piano.switchMode(Keyboard::Input);
  Send(QEvent::MouseMove, Middle(40), Qt::NoButton);  // the hover look of C sharp 4
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  m_paints.regions.clear();
  m_piano.switchMode(Keyboard::Display);
  ASSERT_EQ(m_paints.regions.size(), 1u);
  EXPECT_EQ(m_paints.regions[0], QRegion(m_piano.scaleKeyRect(GKCinitializer::Keys()[40].upper)));

  // The hover modes' octave fades cover the whole piano.
  m_paints.regions.clear();
  m_piano.switchMode(Keyboard::HoverOctaves);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  ASSERT_EQ(m_paints.regions.size(), 1u);
  EXPECT_EQ(m_paints.regions[0], QRegion(m_piano.rect()));
}

}  // namespace
