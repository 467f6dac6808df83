#include "src/core/telemetry/platform_info.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace Core {

QString getOs() {
  return QStringLiteral("Linux");
}

int getTimeZoneDiff() {
  // Midnight rather than now: the offset that held at the start of the day the program ran.
  const QDateTime midnight(QDate::currentDate(), QTime(0, 0), Qt::LocalTime);
  return midnight.offsetFromUtc();
}

}  // namespace Core
