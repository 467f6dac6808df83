// The usage upload against a real HTTP server on the loopback interface.

#include <gtest/gtest.h>

#include "src/core/telemetry/service_endpoint.h"
#include "src/core/telemetry/telemetry.h"
#include "support/http_test_server.h"
#include "support/patience.h"
#include "support/temp_environment.h"

#include <QElapsedTimer>
#include <QFile>

#include <atomic>
#include <thread>

namespace {

using Testing::HttpTestServer;

class UsageUploadTest : public Testing::HttpServiceTest {
 protected:
  QByteArray StoredFile() const {
    QFile file(m_path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  Testing::TempEnvironment m_env;
  QString m_path = m_env.DataHome() + "/tstats.xml";
};

TEST_F(UsageUploadTest, BodyIsTheFileWrittenAtShutdownAndCarriesItsUid) {
  auto telemetry = std::make_unique<Core::Telemetry>(m_path);
  telemetry->EnterExercise(0, false);
  telemetry->ExitExercise(0.75);
  telemetry->ExitApp();
  const QString uid = telemetry->GetData().uid.toString();
  telemetry.reset();

  ASSERT_TRUE(m_server->WaitForRequests(1, Testing::PatienceMs));
  const std::vector<HttpTestServer::Request> requests = m_server->Requests();
  ASSERT_EQ(requests.size(), 1u);
  const HttpTestServer::Request& request = requests[0];
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.path, "/Services/Tstats.ashx");
  EXPECT_EQ(request.Header("uid"), uid.toUtf8());
  const QByteArray stored = StoredFile();
  EXPECT_EQ(request.body, stored);
  EXPECT_TRUE(stored.contains(uid.toUtf8()));
  EXPECT_TRUE(stored.contains(R"(appLaunchCount="1")"));
}

TEST_F(UsageUploadTest, NothingIsSentWithoutAConfiguredService) {
  qunsetenv("MELVARIN_SERVICE_URL");
  {
    Core::Telemetry telemetry(m_path);
    telemetry.ExitApp();
  }
  EXPECT_TRUE(m_server->Requests().empty());
  EXPECT_FALSE(StoredFile().isEmpty());
}

TEST_F(UsageUploadTest, SilentServerDelaysShutdownOnlyUntilTheTimeoutAndTheFileComesFirst) {
  m_server->SetBehaviour(HttpTestServer::Behaviour::NeverAnswer);
  Core::SetServiceTransferTimeoutMs(1500);
  auto telemetry = std::make_unique<Core::Telemetry>(m_path);
  telemetry->ExitApp();
  ASSERT_TRUE(m_server->WaitForRequests(1, Testing::PatienceMs));

  std::atomic<bool> destroyed = false;
  QElapsedTimer clock;
  clock.start();
  std::thread shutdown([&] {
    telemetry.reset();
    destroyed = true;
  });
  // While the destructor still waits for the server, the record is already on disk.
  bool fileWhileWaiting = false;
  while (!destroyed && !fileWhileWaiting) fileWhileWaiting = QFile::exists(m_path);
  shutdown.join();
  EXPECT_TRUE(fileWhileWaiting);
  EXPECT_LT(clock.elapsed(), Testing::PromptMs);
}

// An answer that trickles, so that the transfer never stalls, ends at the transfer timeout for the
// upload as a whole; one that floods is dropped as it comes and soon cut short.
TEST_F(UsageUploadTest, EndlessAnswersAreCutShortWithoutPilingUp) {
  for (auto [behaviour, timeoutMs] : {std::pair(HttpTestServer::Behaviour::Trickle, 500),
                                      std::pair(HttpTestServer::Behaviour::Flood, 60000)}) {
    m_server->SetBehaviour(behaviour, 20);
    Core::SetServiceTransferTimeoutMs(timeoutMs);
    QElapsedTimer clock;
    clock.start();
    {
      Core::Telemetry telemetry(m_path);
      telemetry.ExitApp();
    }
    EXPECT_LT(clock.elapsed(), Testing::PromptMs);
  }
}

TEST_F(UsageUploadTest, BrokenAnswersEndTheUploadAtOnce) {
  for (auto behaviour :
       {HttpTestServer::Behaviour::AnswerGarbage, HttpTestServer::Behaviour::CloseConnection,
        HttpTestServer::Behaviour::Answer}) {
    m_server->SetBehaviour(behaviour);
    QElapsedTimer clock;
    clock.start();
    {
      Core::Telemetry telemetry(m_path);
      telemetry.ExitApp();
    }
    // Far below the 30 s transfer timeout: the reply itself ended the wait.
    EXPECT_LT(clock.elapsed(), Testing::PromptMs);
  }
  // The network layer may retry a request whose connection broke; each upload is sent at least
  // once.
  EXPECT_GE(m_server->Requests().size(), 3u);
}

}  // namespace
