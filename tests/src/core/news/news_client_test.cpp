// The news client against a real HTTP server on the loopback interface.

#include <gtest/gtest.h>

#include "src/core/news/news_client.h"
#include "src/core/settings/global_settings.h"
#include "src/core/telemetry/service_endpoint.h"
#include "support/http_test_server.h"
#include "support/patience.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

using Testing::HttpTestServer;

class NewsClientTest : public Testing::HttpServiceTest {
 protected:
  void Answer(const QByteArray& body, QList<QPair<QByteArray, QByteArray>> headers = {}) {
    HttpTestServer::Response response;
    response.body = body;
    response.headers = std::move(headers);
    m_server->SetResponse(response);
  }

  // Runs one fetch to its end and returns what the client kept.
  std::vector<Core::NewsItem> Fetch(int lastNewsId, int* readId = nullptr) {
    Core::NewsClient client(lastNewsId, "en-us");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !client.isFetching(); }, Testing::PatienceMs));
    std::vector<Core::NewsItem> items{Core::NewsItem{}};  // replaced, not appended to
    client.getLatestNews(items);
    if (readId) {
      Core::GlobalSettings settings;
      client.markAsRead(settings);
      *readId = settings.newsId;
    }
    return items;
  }
};

TEST_F(NewsClientTest, ItemArrivesWithItsIdAndTheTextBeforeTheFirstZeroByte) {
  Answer(QByteArray("Hi\0and more", 11), {{"NewsID", "42"}});
  Core::NewsClient client(7, "en-us");
  QObject receiver;  // on this thread: the signal must arrive queued here
  int received = 0;
  QObject::connect(&client, &Core::NewsClient::newsReceived, &receiver, [&] { ++received; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return received > 0; }, Testing::PatienceMs));

  std::vector<Core::NewsItem> items;
  client.getLatestNews(items);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].id, 42);
  EXPECT_EQ(items[0].text, "Hi");
  EXPECT_TRUE(items[0].title.isEmpty());
  Core::GlobalSettings settings;
  client.markAsRead(settings);
  EXPECT_EQ(settings.newsId, 42);

  const std::vector<HttpTestServer::Request> requests = m_server->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].path, "/Services/News.ashx");
  EXPECT_EQ(requests[0].Header("NewsId"), "7");
  EXPECT_EQ(requests[0].Header("LocalizationCode"), "en-us");
}

TEST_F(NewsClientTest, TextIsReadAsLatin1AndAMissingIdIsZero) {
  Answer("Caf\xe9 news");
  m_server->SetBehaviour(HttpTestServer::Behaviour::AnswerSlowly, 300);  // waited for
  const std::vector<Core::NewsItem> items = Fetch(3);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].id, 0);
  EXPECT_EQ(items[0].text, QString::fromUtf8("Café news"));

  Answer("x", {{"NewsID", "soon"}});
  const std::vector<Core::NewsItem> second = Fetch(3);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].id, 0);
}

TEST_F(NewsClientTest, NoItemFromAnEmptyBodyAnErrorStatusOrABrokenAnswer) {
  struct Case {
    const char* name;
    HttpTestServer::Behaviour behaviour;
    int status;
    QByteArray body;
  };
  const Case cases[] = {
      {"empty body", HttpTestServer::Behaviour::Answer, 200, ""},
      {"error status", HttpTestServer::Behaviour::Answer, 500, "Server error"},
      {"garbage", HttpTestServer::Behaviour::AnswerGarbage, 200, "x"},
      {"closed connection", HttpTestServer::Behaviour::CloseConnection, 200, "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpTestServer::Response response;
    response.status = c.status;
    response.body = c.body;
    response.headers = {{"NewsID", "9"}};
    m_server->SetResponse(response);
    m_server->SetBehaviour(c.behaviour);
    int readId = 0;
    EXPECT_TRUE(Fetch(5, &readId).empty());
    EXPECT_EQ(readId, 5);  // nothing new was read: the id stays the one we started with
  }
}

// A server that says nothing, or trickles its answer so that the transfer never stalls, is
// given up once the transfer timeout has passed for the fetch as a whole.
TEST_F(NewsClientTest, SilentOrTricklingServerIsGivenUpAfterTheTransferTimeout) {
  Core::SetServiceTransferTimeoutMs(300);
  for (auto behaviour :
       {HttpTestServer::Behaviour::NeverAnswer, HttpTestServer::Behaviour::Trickle}) {
    m_server->SetBehaviour(behaviour, 20);
    QElapsedTimer clock;
    clock.start();
    int readId = 0;
    EXPECT_TRUE(Fetch(4, &readId).empty());
    EXPECT_EQ(readId, 4);
    EXPECT_LT(clock.elapsed(), Testing::PromptMs);
  }
}

// News larger than the cap is refused as it arrives, so a server that sends without end cannot
// make the client hold ever more of it.
TEST_F(NewsClientTest, AnAnswerLargerThanTheCapIsRefused) {
  Core::SetServiceTransferTimeoutMs(60000);  // only the cap can end the endless answer in time
  const qsizetype cap = Core::NewsClient::MaxReplyBytes;
  struct Case {
    HttpTestServer::Behaviour behaviour;
    qsizetype bodySize;
    std::size_t items;
  };
  for (const Case& c : {Case{HttpTestServer::Behaviour::Answer, cap, 1},
                        Case{HttpTestServer::Behaviour::Answer, cap + 1, 0},
                        Case{HttpTestServer::Behaviour::Flood, 0, 0}}) {
    SCOPED_TRACE(c.bodySize);
    Answer(QByteArray(c.bodySize, 'n'), {{"NewsID", "8"}});
    m_server->SetBehaviour(c.behaviour);
    QElapsedTimer clock;
    clock.start();
    const std::vector<Core::NewsItem> items = Fetch(1);
    ASSERT_EQ(items.size(), c.items);
    if (c.items) {
      EXPECT_EQ(items[0].text.size(), cap);
    }
    EXPECT_LT(clock.elapsed(), Testing::PromptMs);
  }
}

TEST_F(NewsClientTest, DestroyingTheClientCancelsAPendingFetchPromptly) {
  m_server->SetBehaviour(HttpTestServer::Behaviour::NeverAnswer);
  Core::SetServiceTransferTimeoutMs(60000);  // only the cancellation can end these fetches
  {
    QElapsedTimer clock;
    clock.start();
    {
      Core::NewsClient client(1, "en-us");
      ASSERT_TRUE(m_server->WaitForRequests(1, Testing::PatienceMs));  // the request is in flight
    }
    EXPECT_LT(clock.elapsed(), Testing::PromptMs);
  }
  // Destroyed at once, most of these never get to send their request: that must not hang
  // either, whichever point the fetch had reached.
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < 20; ++i) Core::NewsClient client(1, "en-us");
  EXPECT_LT(clock.elapsed(), Testing::PromptMs);
}

TEST_F(NewsClientTest, NothingIsRequestedWithoutAConfiguredService) {
  qunsetenv("MELVARIN_SERVICE_URL");
  Answer("news", {{"NewsID", "3"}});
  int readId = 0;
  EXPECT_TRUE(Fetch(2, &readId).empty());
  EXPECT_EQ(readId, 2);
  EXPECT_TRUE(m_server->Requests().empty());
}

}  // namespace
