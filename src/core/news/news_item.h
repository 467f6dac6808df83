#pragma once

#include <QDateTime>
#include <QString>

namespace Core {

// One item of news from the product's web service. The service sends only an id and a text;
// title and date stay empty.
struct NewsItem {
  int id = 0;
  QString title;
  QString text;  // what the news dialog shows
  QDateTime date;
};

}  // namespace Core
