#pragma once

// Stand-ins for the three trainer settings panels until the real ones are written: exactly the
// operations the main window uses, and a Close button that asks to leave the panel.

#include <QWidget>

class QLabel;

namespace UI {

class SettingsControl : public QWidget {
  Q_OBJECT

 public:
  SettingsControl(QWidget* parent, const QString& name, const QString& title);

  virtual void Gui2Data() {}
  virtual void SetPage(int page) { m_page = page; }
  int Page() const { return m_page; }
  void setQuizMode(bool quiz);
  bool QuizMode() const { return m_quiz; }

 signals:
  void HideSettings();

 private:
  int m_page = 0;
  bool m_quiz = false;
  QLabel* m_label;
  QString m_title;
};

class SettingsNoteControl : public SettingsControl {
  Q_OBJECT
 public:
  explicit SettingsNoteControl(QWidget* parent)
      : SettingsControl(parent, "settings_note_control", tr("Note trainer settings")) {}
};

class SettingsEarControl : public SettingsControl {
  Q_OBJECT
 public:
  explicit SettingsEarControl(QWidget* parent)
      : SettingsControl(parent, "settings_ear_control", tr("Ear trainer settings")) {}
};

class SettingsSymbolControl : public SettingsControl {
  Q_OBJECT
 public:
  explicit SettingsSymbolControl(QWidget* parent)
      : SettingsControl(parent, "settings_symbol_control", tr("Music symbols trainer settings")) {}
};

}  // namespace UI
