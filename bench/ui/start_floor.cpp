// The floor of the program's start for tests/src/ui/start_time.py: a bare window of the main
// window's title and screen size, mapped by a Qt application that loads nothing else. Measured in
// the same run as the program, it tells the program's own start-up from the machine's load.

#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Melvarin Studio"));
  window.setFixedSize(QGuiApplication::primaryScreen()->size());
  window.show();
  return QApplication::exec();
}
