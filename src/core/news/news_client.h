#pragma once

// Asks the product's web service once, at start-up, for a news item newer than the last one the
// user has read. The request runs on Qt's global thread pool in a local event loop; the client
// keeps what arrives and signals it. Without a configured service nothing is requested.

#include "src/core/news/news_item.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QByteArray;
class QNetworkReply;

namespace Core {

struct GlobalSettings;

namespace NewsClientImpl {
struct ClientData;
}  // namespace NewsClientImpl

class NewsClient : public QObject {
  Q_OBJECT

 public:
  // News is a short text; an answer longer than this is refused as it arrives.
  static constexpr qint64 MaxReplyBytes = 1024 * 1024;

  // Starts the fetch at once. `lastNewsId` is the id of the last item read, `localizationCode`
  // the language the news should be in ("en-us").
  NewsClient(int lastNewsId, QString localizationCode);
  // Cancels a request still in flight (or not yet sent) and returns once the fetch has ended.
  ~NewsClient() override;

  // Replaces `out` with the items received so far, oldest first.
  void getLatestNews(std::vector<NewsItem>& out);
  // Records the newest item received (or, with none, the id the client started from) as read.
  void markAsRead(GlobalSettings& settings);
  // True while the request is being made (a seam for callers that must know the fetch is over).
  bool isFetching() const;

 signals:
  // Emitted on the fetch's thread when an item has arrived; connect with the automatic type to
  // receive it on the receiver's own thread.
  void newsReceived();

 private slots:
  void replyFinished(QNetworkReply* reply);

 private:
  void init();
  void parseNewsData(QByteArray& body, bool notify, int newsId);

  std::shared_ptr<NewsClientImpl::ClientData> m_data;
};

}  // namespace Core
