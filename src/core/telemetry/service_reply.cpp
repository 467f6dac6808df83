#include "src/core/telemetry/service_reply.h"

#include "src/core/telemetry/service_endpoint.h"

#include <QNetworkReply>
#include <QTimer>

#include <memory>

namespace Core {

void LimitReplyDuration(QNetworkReply* reply) {
  auto* deadline = new QTimer(reply);
  deadline->setSingleShot(true);
  QObject::connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
  QObject::connect(reply, &QNetworkReply::finished, deadline, &QTimer::stop);
  deadline->start(ServiceTransferTimeoutMs());
}

// Each arrival is checked. The network layer's read buffer size would not do: a flood keeps
// arriving far past it.
void LimitReplyBody(QNetworkReply* reply, qint64 maxBytes) {
  auto check = [reply, maxBytes] {
    const qint64 declared = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (declared > maxBytes || reply->bytesAvailable() > maxBytes) reply->abort();
  };
  QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, check);
  QObject::connect(reply, &QNetworkReply::readyRead, reply, check);
}

void DiscardReplyBody(QNetworkReply* reply, qint64 maxBytes) {
  auto received = std::make_shared<qint64>(0);
  QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, maxBytes, received] {
    *received += reply->readAll().size();
    if (*received > maxBytes) reply->abort();
  });
}

}  // namespace Core
