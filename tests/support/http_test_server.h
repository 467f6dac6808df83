#pragma once

// A small HTTP/1.1 server on 127.0.0.1 for tests of network clients. It runs on its own thread,
// so a test may block its main thread (waiting for a worker, destroying a client) while the
// server goes on answering. Every request it receives is recorded; how it answers is chosen per
// test: normally, after a delay, never, with bytes that are not HTTP, or by closing the
// connection without a word. HttpServiceTest is the fixture of the program's online features.

#include <gtest/gtest.h>

#include "src/core/telemetry/service_endpoint.h"
#include "support/sanitizers.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QPair>
#include <QString>
#include <QWaitCondition>

#include <memory>
#include <optional>
#include <vector>

class QThread;

namespace Testing {

class HttpTestServerWorker;

class HttpTestServer {
 public:
  enum class Behaviour {
    Answer,
    AnswerSlowly,  // waits delayMs after the request is complete before it answers
    NeverAnswer,
    AnswerGarbage,
    CloseConnection,
    Trickle,  // sends a body without a length, one byte every delayMs, never finishing
    Flood,    // sends a body without a length as fast as the client takes it, never finishing
  };

  struct Request {
    QByteArray method;
    QByteArray path;
    QList<QPair<QByteArray, QByteArray>> headers;  // in the order received, names as sent
    QByteArray body;

    // The value of the first header with exactly this name, or a null array when there is none.
    QByteArray Header(const QByteArray& name) const;
  };

  struct Response {
    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
  };

  HttpTestServer();
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  // "http://127.0.0.1:<port>", the form the service configuration takes.
  QString BaseUrl() const;

  void SetResponse(const Response& response);
  void SetBehaviour(Behaviour behaviour, int delayMs = 0);

  std::vector<Request> Requests() const;
  // Waits until at least `count` requests have arrived; false when the time runs out first.
  bool WaitForRequests(std::size_t count, int timeoutMs) const;

 private:
  friend class HttpTestServerWorker;
  struct Settings {
    Response response;
    Behaviour behaviour = Behaviour::Answer;
    int delayMs = 0;
  };
  Settings CurrentSettings() const;
  void Record(const Request& request);

  mutable QMutex m_mutex;
  mutable QWaitCondition m_arrived;
  Settings m_settings;
  std::vector<Request> m_requests;

  std::unique_ptr<QThread> m_thread;
  HttpTestServerWorker* m_worker = nullptr;
  quint16 m_port = 0;
};

// Each test gets a fresh server, and the service configuration points at it for the test's
// length; the transfer timeout a test shortens is restored afterwards.
class HttpServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (UnderThreadSanitizer)
      GTEST_SKIP() << "Qt's network and thread handoffs are invisible to ThreadSanitizer";
    m_server.emplace();
    qputenv("MELVARIN_SERVICE_URL", m_server->BaseUrl().toUtf8());
  }
  void TearDown() override {
    qunsetenv("MELVARIN_SERVICE_URL");
    Core::SetServiceTransferTimeoutMs(m_transferTimeoutMs);
  }

  std::optional<HttpTestServer> m_server;  // started only where the test runs

 private:
  const int m_transferTimeoutMs = Core::ServiceTransferTimeoutMs();
};

}  // namespace Testing
