#include "src/core/telemetry/service_endpoint.h"

#include <atomic>

namespace Core {

namespace {
constexpr int DefaultTransferTimeoutMs = 30000;
std::atomic<int> transferTimeoutMs{DefaultTransferTimeoutMs};
}  // namespace

QUrl ServiceUrl(const QString& path) {
  const QString configured = qEnvironmentVariable("MELVARIN_SERVICE_URL").trimmed();
  if (configured.isEmpty()) return QUrl();
  QUrl url(configured, QUrl::StrictMode);
  if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty()) return QUrl();
  url.setPath(path);
  return url;
}

QUrl UploadUrl() {
  return ServiceUrl(QStringLiteral("/Services/Tstats.ashx"));
}
QUrl NewsUrl() {
  return ServiceUrl(QStringLiteral("/Services/News.ashx"));
}

int ServiceTransferTimeoutMs() {
  return transferTimeoutMs.load();
}
void SetServiceTransferTimeoutMs(int milliseconds) {
  transferTimeoutMs.store(milliseconds);
}

}  // namespace Core
