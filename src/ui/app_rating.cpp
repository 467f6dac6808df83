#include "src/ui/app_rating.h"

#include <QSettings>

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
  QSettings settings;
  const bool rated = settings.value(RatedKey, false).toBool();
  if (rated || TodayProvider()() < FirstDay || RatingUrl(1).isEmpty()) return;
  if (exec() == QDialog::Accepted) settings.setValue(RatedKey, true);
}

void AppRating::rate(int stars) {
  Application::instance()->openLink(RatingUrl(stars), false);
  accept();
}

}  // namespace UI
