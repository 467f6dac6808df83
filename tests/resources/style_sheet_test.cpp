// Qt drops an application style sheet whole when it cannot parse it, saying so only on the
// console; the compiled sheet must parse and must style what it names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTextBrowser>

namespace {

QStringList Warnings;

void Collect(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtDebugMsg && type != QtInfoMsg) Warnings << message;
}

TEST(GlobalStyleSheet, ParsesAndStylesTheWidgetsItNames) {
  QFile sheet(":/css/global.css");
  ASSERT_TRUE(sheet.open(QIODevice::ReadOnly | QIODevice::Text));
  Warnings.clear();
  const QtMessageHandler previous = qInstallMessageHandler(Collect);
  qApp->setStyleSheet(QString::fromUtf8(sheet.readAll()));
  QMainWindow window;
  window.setObjectName("Console");
  QTextBrowser mail(&window);
  mail.setObjectName("mailText");
  window.ensurePolished();
  mail.ensurePolished();
  const QColor ground = window.palette().color(QPalette::Window);
  const QColor text = mail.palette().color(QPalette::Text);
  qApp->setStyleSheet(QString());
  qInstallMessageHandler(previous);
  EXPECT_TRUE(Warnings.isEmpty()) << qPrintable(Warnings.join('\n'));
  EXPECT_EQ(ground, QColor("#0f1525"));
  EXPECT_EQ(text, QColor("#1a253e"));
}

}  // namespace
