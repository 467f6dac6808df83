#pragma once

#include <QTextBrowser>

namespace UI {

// The text of the news: it comes from the network, so it shows only what it carries itself (the
// one picture registered with it) and loads nothing else.
class NewsBrowser : public QTextBrowser {
  Q_OBJECT

 public:
  explicit NewsBrowser(QWidget* parent = nullptr);
  QVariant loadResource(int type, const QUrl& name) override;
};

}  // namespace UI
