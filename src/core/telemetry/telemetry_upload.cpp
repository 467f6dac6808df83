// Sending the usage record to the product's web service when the user leaves.

#include "src/core/telemetry/service_endpoint.h"
#include "src/core/telemetry/service_reply.h"
#include "src/core/telemetry/telemetry.h"
#include "src/core/telemetry/telemetry_xml.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QtConcurrent/QtConcurrentRun>

namespace Core {

namespace {
// The service acknowledges an upload in a few bytes; the answer is not read in any case.
constexpr qint64 MaxUploadAnswerBytes = 1024 * 1024;
}  // namespace

void Telemetry::Upload() {
  const QUrl url = UploadUrl();
  if (url.isEmpty()) return;  // no service configured: nothing leaves the machine
  // The document is taken now, on the GUI thread, so the worker never reads the record while
  // the GUI thread might still touch it; it is the same text the destructor writes to the file.
  const QByteArray body = TelemetryXMLSerializer::WriteXML(m_data);
  const QByteArray uid = m_data.uid.toString(QUuid::WithBraces).toUtf8();
  m_uploadFuture.waitForFinished();  // one upload at a time; the destructor waits for the last
  m_uploadFuture = QtConcurrent::run(&Telemetry::DoUpload, url, uid, body);
}

void Telemetry::DoUpload(const QUrl& url, const QByteArray& uid, const QByteArray& body) {
  QNetworkAccessManager manager;
  QNetworkRequest request(url);
  request.setRawHeader("uid", uid);
  // The network layer's default type for a POST, named so that it does not warn about it.
  request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
  request.setTransferTimeout(ServiceTransferTimeoutMs());
  QNetworkReply* reply = manager.post(request, body);
  // The shutdown waits for this upload: the upload as a whole gets no longer than the transfer
  // timeout. The answer is not looked at, so it is dropped as it comes; failures are neither
  // reported nor retried.
  LimitReplyDuration(reply);
  DiscardReplyBody(reply, MaxUploadAnswerBytes);
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  if (!reply->isFinished()) loop.exec();
}

}  // namespace Core
