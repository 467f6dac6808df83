// The program's entry point: services, splash, main window, event loop, then the orderly
// destruction of the window, the splash and the application object.

#include <QMessageBox>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <cstdlib>
#include <ctime>
#include <memory>

#include "src/ui/application.h"
#include "src/ui/console.h"
#include "src/ui/splash_dialog.h"
#include "src/ui/termination_signals.h"

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // Pictures of a whole screen (one or two for every fade, several megabytes each) go back to the
  // system when freed. With its default, the C library raises this threshold once the first such
  // picture is freed, and the later ones stay in the heap for good.
  mallopt(M_MMAP_THRESHOLD, 512 * 1024);
#endif
  std::srand(unsigned(std::time(nullptr)));
  // A shutdown or a logout from here on waits until the main window can leave as on a close.
  UI::TerminationSignals::Catch();
  Application app(argc, argv);
  if (!app.MusicFontLoaded()) {
    // The message names the font's path, which may hold any character.
    QMessageBox box(QMessageBox::Critical, QObject::tr("Melvarin Studio"),
                    app.MusicFontFailureMessage(), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return 1;
  }
  // The MIDI inputs and the synthesizer's audio output open once the main window is on the
  // screen: with a JACK server running they would hold the window back.
  app.Init(Application::OpenDevicesLater);
  auto splash = std::make_unique<UI::SplashDialog>(nullptr);
  splash->setVisible(true);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  auto console = std::make_unique<UI::Console>(nullptr);
  console->OpenDevicesOnceShown();
  splash->hide();
  app.setMainWindow(console.get());
  app.TellStorageProblems();
  app.LeaveOnTermination([&console] { console->endSession(); });
  QApplication::exec();
  app.LeaveOnTermination({});
  app.setMainWindow(nullptr);
  console.reset();
  splash.reset();
  return 0;
}
