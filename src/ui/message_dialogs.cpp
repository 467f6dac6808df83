#include "src/ui/message_dialogs.h"

#include <QImage>

#include <QTextDocument>
#include <algorithm>

#include "src/core/settings/settings_manager.h"
#include "src/ui/application.h"

namespace UI {

void FillTemplate(QLabel* label, const QString& message) {
  label->setText(label->property("text").toString().replace(QLatin1String("%1"), message));
}

AboutDialog::AboutDialog(QWidget* parent, QRect rect) : BaseDialog(parent, rect, 0.0, 1.0, true) {
  m_ui.setupUi(this);
  setModal(false);
  m_ui.Close->setText(tr("Close"));
  setOnOffClickCloseDlg(m_ui.widget);
}

void AboutDialog::show() {
  m_ui.version->setText(QStringLiteral("Version ") + QLatin1String(Version));
  BaseDialog::show();
}

void AboutDialog::on_Close_released() {
  fadeOut();
}

NewsBrowser::NewsBrowser(QWidget* parent) : QTextBrowser(parent) {}

QVariant NewsBrowser::loadResource(int, const QUrl&) {
  return QVariant();
}

MailDialog::MailDialog(QWidget* parent, QRect rect) : BaseDialog(parent, rect, 0.0, 1.0, true) {
  m_ui.setupUi(this);
  setModal(false);
  m_ui.Close->setText(tr("Close"));
  setOnOffClickCloseDlg(m_ui.widget);
  m_ui.mailText->setOpenLinks(false);
  connect(m_ui.mailText, &QTextBrowser::anchorClicked, this, &MailDialog::openLink);
}

void MailDialog::setText(QString& text) {
  const QStringList parts = text.split(QStringLiteral("</html>"), Qt::KeepEmptyParts);
  if (parts.size() != 2) {
    m_ui.mailText->setPlainText(
        tr("Sorry, looks like the mail did not make it, make sure you are connected to the "
           "internet and restart the application"));
    return;
  }
  QTextDocument* document = m_ui.mailText->document();
  const QImage picture = QImage::fromData(QByteArray::fromBase64(parts[1].toLocal8Bit()));
  // A picture that does not decode is left out; the document shows without it.
  if (!picture.isNull())
    document->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("rc://bg.jpg")),
                          picture);
  m_ui.mailText->setHtml(parts[0] + QStringLiteral("</html>"));
}

void MailDialog::openLink(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
    Application::instance()->openLink(url, false);
}

void MailDialog::on_Close_released() {
  fadeOut();
}

WarningDialog::WarningDialog(QWidget* parent, QRect rect)
    : BaseDialog(parent, rect, 0.0, 1.0, true) {
  m_ui.setupUi(this);
  setModal(true);
  m_ui.Close->setText(tr("Close"));
  setOnOffClickCloseDlg(m_ui.widget);
  FillTemplate(m_ui.Loading_4, tr("No MIDI keyboard found"));
  FillTemplate(m_ui.Loading_5, tr("For optimal results, use a MIDI keyboard"));
  m_ui.DoNotShowAgain->setText(tr("Do not show again"));
}

void WarningDialog::setVisible(bool visible) {
  if (!visible && isVisible()) {
    Application* app = Application::instance();
    Core::GlobalSettings settings = app->GetSettings()->globalSettings;
    settings.hideMidiDialog = m_ui.DoNotShowAgain->isChecked();
    app->SetGlobalSettings(settings);
  }
  BaseDialog::setVisible(visible);
}

void WarningDialog::on_Close_released() {
  fadeOut();
}

NoticeDialog::NoticeDialog(QWidget* parent, QRect rect) : BaseDialog(parent, rect, 0.0, 1.0, true) {
  m_ui.setupUi(this);
  setModal(false);
  m_ui.Close->setText(tr("Close"));
  setOnOffClickCloseDlg(m_ui.widget);
  m_ui.DoNotShowAgain->hide();
  // The warning's panel with room for paragraphs below the title: its top (mark and title) and
  // its bottom (rule and button) keep their size, the ground between them grows with the text.
  m_ui.widget->setStyleSheet(
      QStringLiteral(
          "#widget { background-color: transparent; background-image: none; border-width: %1px 0 "
          "%2px 0; border-image: url(:/PIX/pixmap/notice_bg.png) %1 0 %2 0 stretch stretch; }")
          .arg(MessageTop)
          .arg(BelowMessage));
  m_ui.Loading_4->setGeometry(20, 80, PanelWidth - 40, 44);
  m_ui.Loading_5->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_titleTemplate = m_ui.Loading_4->text();
  m_messageTemplate = m_ui.Loading_5->text();
}

void NoticeDialog::setNotice(const QString& title, const QString& paragraphs) {
  m_ui.Loading_4->setText(m_titleTemplate);
  FillTemplate(m_ui.Loading_4, title);
  m_ui.Loading_5->setText(m_messageTemplate);
  FillTemplate(m_ui.Loading_5, paragraphs);
  const int textWidth = PanelWidth - 80;
  // Measured with the label's own style sheet font, which applies from its polish on.
  m_ui.Loading_5->ensurePolished();
  const int textHeight = m_ui.Loading_5->heightForWidth(textWidth);
  const int height = std::max(MinimumHeight, MessageTop + textHeight + BelowMessage);
  m_ui.widget->setFixedSize(PanelWidth, height);
  m_ui.Loading_5->setGeometry(40, MessageTop, textWidth, textHeight);
  m_ui.Close->move(410, height - 52);
}

void NoticeDialog::on_Close_released() {
  fadeOut();
}

NoticeDialog* ShowNotice(QWidget* window, const QString& name, const QString& title,
                         const QStringList& paragraphs) {
  auto* dialog = window->findChild<NoticeDialog*>(name, Qt::FindDirectChildrenOnly);
  if (!dialog) {
    dialog = new NoticeDialog(window, QRect(QPoint(0, 0), window->size()));
    dialog->setObjectName(name);
  }
  dialog->setNotice(title.toHtmlEscaped(), paragraphs.join(QStringLiteral("<br/><br/>")));
  dialog->show();
  dialog->raise();
  return dialog;
}

}  // namespace UI
