#include "src/ui/app_rating.h"

#include "src/core/settings/settings_manager.h"
#include "src/core/telemetry/service_endpoint.h"
#include "src/ui/application.h"

namespace UI {

namespace {
AppRating::Today& TodayProvider() {
  static AppRating::Today today = [] { return QDate::currentDate(); };
  return today;
}
QUrl RatingUrl(int stars) {
  return Core::ServiceUrl(QStringLiteral("/Home/userrating%1").arg(stars));
}
}  // namespace

const QDate AppRating::FirstDay(2015, 2, 10);

AppRating::AppRating(QWidget* parent) : QDialog(parent) {
  m_ui.setupUi(this);
  setWindowOpacity(0.85);
  setModal(true);
}

void AppRating::SetToday(Today today) {
  TodayProvider() = std::move(today);
}

void AppRating::Show() {
  // Through the settings manager, which never opens a store file that would hold the program
  // (a named pipe) and keeps the note in memory when there is no file to take it.
  Core::SettingsManager* settings = Application::instance()->GetSettings();
  if (!settings || settings->IsRated() || TodayProvider()() < FirstDay || RatingUrl(1).isEmpty())
    return;
  if (exec() == QDialog::Accepted) settings->SetRated();
}

void AppRating::rate(int stars) {
  Application::instance()->openLink(RatingUrl(stars), false);
  accept();
}

}  // namespace UI
