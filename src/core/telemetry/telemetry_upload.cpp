// Sending the usage record to the product's web service when the user leaves.

#include "src/core/telemetry/service_endpoint.h"
#include "src/core/telemetry/telemetry.h"
#include "src/core/telemetry/telemetry_xml.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace Core {

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
  // The transfer timeout only fires while nothing moves. A server that keeps trickling bytes
  // would hold the shutdown, which waits for this upload, for ever: the upload as a whole gets no
  // longer than that timeout either.
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
  deadline.start(ServiceTransferTimeoutMs());
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  // The answer is not looked at: failures are neither reported nor retried.
  if (!reply->isFinished()) loop.exec();
}

}  // namespace Core
