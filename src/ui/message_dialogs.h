#pragma once

// The message overlays: the program's version (About), the latest news item (Mail), the
// "no MIDI keyboard" warning with its box to stop it for good, and in the warning's look the
// notices about the learner's files and about what could not be done.

#include "src/ui/base_dialog.h"
#include "ui_about_dialog.h"
#include "ui_mail_dialog.h"
#include "ui_warning_dialog.h"

namespace UI {

// Fills the form's rich-text template (one "%1") of `label` with a translated message, so the form
// keeps the typography and translators only the words.
void FillTemplate(QLabel* label, const QString& message);

class AboutDialog : public BaseDialog {
  Q_OBJECT

 public:
  static constexpr const char* Version = "1.8";

  AboutDialog(QWidget* parent, QRect rect);
  void show() override;

 private slots:
  void on_Close_released();

 private:
  Ui_about_dialog m_ui;
};

class MailDialog : public BaseDialog {
  Q_OBJECT

 public:
  MailDialog(QWidget* parent, QRect rect);

 public slots:
  // An HTML document ending with "</html>" directly followed by the Base64 text of its picture,
  // which the document names "rc://bg.jpg". Anything else shows an apology.
  void setText(QString& text);

 private slots:
  void on_Close_released();
  void openLink(const QUrl& url);

 private:
  Ui_mail_dialog m_ui;
};

class WarningDialog : public BaseDialog {
  Q_OBJECT

 public:
  WarningDialog(QWidget* parent, QRect rect);

 public slots:
  // Hiding records the "Do not show again" box in the settings, ticked or not.
  void setVisible(bool visible) override;

 private slots:
  void on_Close_released();

 private:
  Ui_warning_dialog m_ui;
};

// A notice in the warning dialog's look: a title and a few paragraphs of rich text, closed with its
// button or a press outside its panel. It does not hold its caller.
class NoticeDialog : public BaseDialog {
  Q_OBJECT

 public:
  NoticeDialog(QWidget* parent, QRect rect);
  // Sets the words; the panel grows downwards to hold them.
  void setNotice(const QString& title, const QString& paragraphs);

 private slots:
  void on_Close_released();

 private:
  static constexpr int PanelWidth = 526;
  static constexpr int MinimumHeight = 380;
  static constexpr int MessageTop = 128;   // the mark and the title above
  static constexpr int BelowMessage = 84;  // the rule and the Close button below

  Ui_warning_dialog m_ui;
  QString m_titleTemplate;
  QString m_messageTemplate;
};

// Shows the notice called `name` over the whole of `window`: made there on first use, and reused
// after, its words replaced, so a second notice of a kind does not pile on the first. `title` is
// plain text, `paragraphs` rich text. Returns the dialog shown.
NoticeDialog* ShowNotice(QWidget* window, const QString& name, const QString& title,
                         const QStringList& paragraphs);

}  // namespace UI
