// Takes screenshots of the exercise widgets for review: the on-screen piano in every key colour
// and in its octave-hover mode, the section-end dialog after its count-up, the play overlay at
// rest and the hint bubble. Run under a real X server of 1440 x 900 (Xvfb); the pictures go to
// the folder given as the first argument.

#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include <cstdio>

#include "src/ui/action_hint_dialog.h"
#include "src/ui/application.h"
#include "src/ui/gkc_initializer.h"
#include "src/ui/keyboard.h"
#include "src/ui/play_dialog.h"
#include "src/ui/section_end_dialog.h"
#include "tests/src/ui/screen_camera.h"

namespace {

using Testing::TakeScreenshot;

void Mouse(Keyboard& piano, QEvent::Type type, int key, Qt::MouseButtons buttons) {
  const QPoint at = piano.scaleKeyRect(GKCinitializer::Keys()[size_t(key)].upper).center();
  QMouseEvent event(type, at, piano.mapToGlobal(at), Qt::LeftButton, buttons, {});
  QCoreApplication::sendEvent(&piano, &event);
}

QLabel* Caption(const QString& text) {
  auto* label = new QLabel(text);
  label->setStyleSheet("color: white; font: 18px 'Tahoma'");
  return label;
}

}  // namespace

int main(int argc, char** argv) {
  char windowed[] = "-nofs";
  std::vector<char*> arguments(argv, argv + argc);
  arguments.push_back(windowed);
  int count = int(arguments.size());
  Application app(count, arguments.data());
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <folder for the pictures>\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  bool ok = true;

  QWidget window;
  window.setObjectName("screen");
  window.setStyleSheet("#screen { background: rgb(40, 44, 52) }");
  window.setGeometry(QGuiApplication::primaryScreen()->geometry());
  auto* layout = new QVBoxLayout(&window);
  auto* colours = new Keyboard;
  auto* hovering = new Keyboard;
  auto* octaves = new Keyboard;
  for (auto [caption, piano] :
       {std::pair{"green, red, blue, pressed", colours}, std::pair{"under the pointer", hovering},
        std::pair{"octave under the pointer, others dimmed", octaves}}) {
    piano->setFixedSize(1400, 1400 * 180 / 1820);
    layout->addWidget(Caption(caption));
    layout->addWidget(piano);
  }
  layout->addStretch();
  window.show();
  ok = QTest::qWaitForWindowExposed(&window) && ok;

  KeyState blue;
  blue.highlight = KeyState::Blue;
  colours->changeKeysState({{42, blue}, {46, blue}});
  colours->highlightKeys({39, 43, 44}, {40, 41, 45});
  Mouse(*colours, QEvent::MouseButtonPress, 51, Qt::LeftButton);
  Mouse(*colours, QEvent::MouseButtonPress, 49, Qt::LeftButton);
  colours->update();
  Mouse(*hovering, QEvent::MouseMove, 39, Qt::NoButton);
  Mouse(*hovering, QEvent::MouseMove, 44, Qt::NoButton);
  octaves->switchMode(Keyboard::HoverOctaves);
  Mouse(*octaves, QEvent::MouseMove, 40, Qt::NoButton);
  ok = TakeScreenshot(folder, "piano_key_colours") && ok;

  UI::ActionHintDialog hint(&window);
  hint.ShowHint(QPoint(495, 700), 3500, 0);
  ok = TakeScreenshot(folder, "hint") && ok;
  hint.HideHint();

  QLabel covered("The question area", &window);
  covered.setGeometry(0, 0, 1440, 600);
  covered.setAlignment(Qt::AlignCenter);
  covered.setStyleSheet("background: rgb(235, 235, 230); color: black; font: 60px 'Tahoma'");
  covered.show();
  UI::PlayDialog overlay(&window);
  overlay.doShow(UI::FadeNone, &covered);
  ok = TakeScreenshot(folder, "play_overlay") && ok;
  overlay.hide();
  covered.hide();

  for (auto [name, wrong, correct] :
       {std::tuple{"section_end_green", 1, 9}, std::tuple{"section_end_red", 3, 7}}) {
    UI::SectionEndDialog dialog(&window, window.rect(), 0.0, 0.96, false);
    dialog.setScore(wrong, correct);
    dialog.showAnimated();
    ok = QTest::qWaitFor([&] { return !dialog.countingUp() && dialog.opacity() > 0.95; },
                         Testing::PatienceMs) &&
         ok;
    ok = TakeScreenshot(folder, name) && ok;
  }
  return ok ? 0 : 1;
}
