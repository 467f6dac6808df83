#include "src/core/news/news_client.h"

#include "src/core/settings/global_settings.h"
#include "src/core/telemetry/service_endpoint.h"
#include "src/core/telemetry/service_reply.h"

#include <QEventLoop>
#include <QFuture>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QtConcurrent/QtConcurrentRun>

namespace Core {

namespace NewsClientImpl {

// Lock order: fetchMutex, then requestMutex, then dataMutex.
struct ClientData {
  QFuture<void> future;
  std::shared_ptr<QNetworkAccessManager> manager;  // lives on the fetch's thread, while it runs
  QMutex dataMutex;                                // guards items and id
  QMutex requestMutex;  // guards reply, cancelled and the release of the network objects
  std::shared_ptr<QEventLoop> eventLoop;
  std::vector<NewsItem> items;
  QNetworkReply* reply = nullptr;
  bool cancelled = false;  // set by the destructor: a request not yet sent is never sent
  int id = 0;
  QString localizationCode;
  QMutex fetchMutex;  // held by the fetch from start to end
};

}  // namespace NewsClientImpl

NewsClient::NewsClient(int lastNewsId, QString localizationCode)
    : m_data(std::make_shared<NewsClientImpl::ClientData>()) {
  m_data->id = lastNewsId;
  m_data->localizationCode = std::move(localizationCode);
  if (!NewsUrl().isEmpty()) m_data->future = QtConcurrent::run(&NewsClient::init, this);
}

NewsClient::~NewsClient() {
  {
    QMutexLocker request(&m_data->requestMutex);
    m_data->cancelled = true;
    // The reply belongs to the fetch's thread: the abort is queued to it, and finishes the
    // reply there, which ends the fetch's event loop.
    if (m_data->reply)
      QMetaObject::invokeMethod(m_data->reply, &QNetworkReply::abort, Qt::QueuedConnection);
  }
  m_data->future.waitForFinished();
  QMutexLocker fetch(&m_data->fetchMutex);
}

void NewsClient::getLatestNews(std::vector<NewsItem>& out) {
  QMutexLocker lock(&m_data->dataMutex);
  out = m_data->items;
}

void NewsClient::markAsRead(GlobalSettings& settings) {
  QMutexLocker lock(&m_data->dataMutex);
  settings.newsId = m_data->id;
}

bool NewsClient::isFetching() const {
  return !m_data->future.isFinished();
}

void NewsClient::init() {
  NewsClientImpl::ClientData& data = *m_data;
  QMutexLocker fetch(&data.fetchMutex);
  auto manager = std::make_shared<QNetworkAccessManager>();
  auto eventLoop = std::make_shared<QEventLoop>();
  connect(manager.get(), &QNetworkAccessManager::finished, this, &NewsClient::replyFinished,
          Qt::DirectConnection);

  QNetworkRequest request(NewsUrl());
  int lastId = 0;
  {
    QMutexLocker lock(&data.dataMutex);
    lastId = data.id;
  }
  request.setRawHeader("NewsId", QByteArray::number(lastId));
  request.setRawHeader("LocalizationCode", data.localizationCode.toUtf8());
  request.setTransferTimeout(ServiceTransferTimeoutMs());

  {
    QMutexLocker lock(&data.requestMutex);
    if (data.cancelled) return;  // the client is going away before anything was sent
    data.manager = manager;
    data.eventLoop = eventLoop;
    data.reply = manager->get(request);
    // The transfer timeout fires only while nothing arrives; the fetch as a whole gets no longer
    // either, and no more than a news item's worth of answer.
    LimitReplyDuration(data.reply);
    LimitReplyBody(data.reply, MaxReplyBytes);
  }
  eventLoop->exec();

  QMutexLocker requestLock(&data.requestMutex);
  QMutexLocker dataLock(&data.dataMutex);
  data.eventLoop.reset();
  data.manager.reset();  // takes the reply with it
  data.reply = nullptr;
}

void NewsClient::replyFinished(QNetworkReply* reply) {
  if (reply->error() == QNetworkReply::NoError) {
    QByteArray body = reply->readAll();
    if (!body.isEmpty() && body.size() <= MaxReplyBytes) {
      bool isNumber = false;
      int newsId = reply->rawHeader("NewsID").trimmed().toInt(&isNumber);
      if (!isNumber) newsId = 0;
      parseNewsData(body, true, newsId);
    }
  }
  // Whatever happened, the fetch is over.
  if (m_data->eventLoop) m_data->eventLoop->quit();
}

void NewsClient::parseNewsData(QByteArray& body, bool notify, int newsId) {
  bool haveNews = false;
  {
    QMutexLocker lock(&m_data->dataMutex);
    if (!body.isEmpty()) {
      // The text ends at the first zero byte; whatever follows it is not for the reader.
      const qsizetype end = body.indexOf('\0');
      NewsItem item;
      item.id = newsId;
      item.text = QString::fromLatin1(body.constData(), end < 0 ? body.size() : end);
      m_data->items.push_back(item);
    }
    if (!m_data->items.empty()) {
      m_data->id = m_data->items.back().id;
      haveNews = true;
    }
  }
  // Emitted without the lock, so a receiver on any thread may ask for the news at once.
  if (haveNews && notify) emit newsReceived();
}

}  // namespace Core
