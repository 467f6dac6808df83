#include "support/http_test_server.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QMetaObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace Testing {

namespace {

// A body without a length ends only when the connection does.
constexpr char OpenEndedHeader[] = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n";

QByteArray Serialize(const HttpTestServer::Response& response) {
  // Clients go by the status code; the reason phrase is only for people.
  QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) +
                   (response.status == 200 ? " OK" : " Error") + "\r\n";
  for (const auto& [name, value] : response.headers) out += name + ": " + value + "\r\n";
  out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
  out += "Connection: close\r\n\r\n";
  out += response.body;
  return out;
}

// Splits one complete request off the front of `buffer`; false while it is still incomplete.
bool TakeRequest(QByteArray& buffer, HttpTestServer::Request& request) {
  const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
  if (headerEnd < 0) return false;
  const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
  HttpTestServer::Request parsed;
  const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
  parsed.method = requestLine.value(0);
  parsed.path = requestLine.value(1);
  qsizetype contentLength = 0;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray line = lines[i].trimmed();
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0) continue;
    const QByteArray name = line.left(colon).trimmed();
    const QByteArray value = line.mid(colon + 1).trimmed();
    parsed.headers.append({name, value});
    if (name.compare("Content-Length", Qt::CaseInsensitive) == 0)
      contentLength = value.toLongLong();
  }
  const qsizetype bodyStart = headerEnd + 4;
  if (buffer.size() - bodyStart < contentLength) return false;
  parsed.body = buffer.mid(bodyStart, contentLength);
  buffer.remove(0, bodyStart + contentLength);
  request = parsed;
  return true;
}

}  // namespace

// Lives on the server thread: owns the listening socket and every connection.
class HttpTestServerWorker : public QObject {
 public:
  explicit HttpTestServerWorker(HttpTestServer* owner) : m_owner(owner) {}

  quint16 Listen() {
    m_server = new QTcpServer(this);
    m_server->listen(QHostAddress::LocalHost, 0);
    QObject::connect(m_server, &QTcpServer::newConnection, this, [this] { Accept(); });
    return m_server->serverPort();
  }

 private:
  void Accept() {
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
      auto buffer = std::make_shared<QByteArray>();
      QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
        buffer->append(socket->readAll());
        HttpTestServer::Request request;
        while (TakeRequest(*buffer, request)) {
          m_owner->Record(request);
          Respond(socket);
        }
      });
    }
  }

  void Respond(QTcpSocket* socket) {
    const HttpTestServer::Settings settings = m_owner->CurrentSettings();
    switch (settings.behaviour) {
      case HttpTestServer::Behaviour::Answer:
        Send(socket, Serialize(settings.response));
        break;
      case HttpTestServer::Behaviour::AnswerSlowly: {
        QPointer<QTcpSocket> guarded(socket);
        const QByteArray bytes = Serialize(settings.response);
        QTimer::singleShot(settings.delayMs, socket, [guarded, bytes] {
          if (guarded) Send(guarded, bytes);
        });
        break;
      }
      case HttpTestServer::Behaviour::NeverAnswer:
        break;  // the connection stays open and silent until the client gives up
      case HttpTestServer::Behaviour::AnswerGarbage:
        Send(socket, QByteArray("\x01\x02 this is not HTTP at all\r\n\r\n\xff\xfe", 32));
        break;
      case HttpTestServer::Behaviour::CloseConnection:
        socket->abort();
        break;
      case HttpTestServer::Behaviour::Trickle: {
        socket->write(OpenEndedHeader);
        auto* drip = new QTimer(socket);
        QObject::connect(drip, &QTimer::timeout, socket, [socket] { socket->write(" "); });
        drip->start(settings.delayMs);
        break;
      }
      case HttpTestServer::Behaviour::Flood:
        socket->write(OpenEndedHeader);
        Pour(socket);
        break;
    }
  }

  // Keeps a few chunks queued on the socket for as long as it is open, so the server itself
  // never holds more than that however slowly the client reads.
  static void Pour(QTcpSocket* socket) {
    static const QByteArray chunk(64 * 1024, 'x');
    auto topUp = [socket] {
      while (socket->state() == QAbstractSocket::ConnectedState &&
             socket->bytesToWrite() < 4 * chunk.size())
        socket->write(chunk);
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, topUp);
    topUp();
  }

  static void Send(QTcpSocket* socket, const QByteArray& bytes) {
    socket->write(bytes);
    socket->disconnectFromHost();
  }

  HttpTestServer* m_owner;
  QTcpServer* m_server = nullptr;
};

QByteArray HttpTestServer::Request::Header(const QByteArray& name) const {
  for (const auto& [headerName, value] : headers)
    if (headerName == name) return value.isNull() ? "" : value;
  return QByteArray();
}

HttpTestServer::HttpTestServer() : m_thread(std::make_unique<QThread>()) {
  m_worker = new HttpTestServerWorker(this);
  m_worker->moveToThread(m_thread.get());
  QObject::connect(m_thread.get(), &QThread::finished, m_worker, &QObject::deleteLater);
  m_thread->start();
  QMetaObject::invokeMethod(
      m_worker, [this] { m_port = m_worker->Listen(); }, Qt::BlockingQueuedConnection);
}

HttpTestServer::~HttpTestServer() {
  m_thread->quit();
  m_thread->wait();
}

QString HttpTestServer::BaseUrl() const {
  return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

void HttpTestServer::SetResponse(const Response& response) {
  QMutexLocker lock(&m_mutex);
  m_settings.response = response;
}

void HttpTestServer::SetBehaviour(Behaviour behaviour, int delayMs) {
  QMutexLocker lock(&m_mutex);
  m_settings.behaviour = behaviour;
  m_settings.delayMs = delayMs;
}

std::vector<HttpTestServer::Request> HttpTestServer::Requests() const {
  QMutexLocker lock(&m_mutex);
  return m_requests;
}

bool HttpTestServer::WaitForRequests(std::size_t count, int timeoutMs) const {
  QDeadlineTimer deadline(timeoutMs);
  QMutexLocker lock(&m_mutex);
  while (m_requests.size() < count)
    if (!m_arrived.wait(&m_mutex, deadline)) return m_requests.size() >= count;
  return true;
}

HttpTestServer::Settings HttpTestServer::CurrentSettings() const {
  QMutexLocker lock(&m_mutex);
  return m_settings;
}

void HttpTestServer::Record(const Request& request) {
  QMutexLocker lock(&m_mutex);
  m_requests.push_back(request);
  m_arrived.wakeAll();
}

}  // namespace Testing
