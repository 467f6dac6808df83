#pragma once

// The base of the trainer settings panels: the copies between the widgets and the settings
// records, page selection, the lock that keeps the trainer pages read-only during a quiz (an
// overlay over the pages and a darkened tab strip; the general page, always the last, stays
// editable) and the panel's background with a soft shadow around its content.

#include <QWidget>

class QGradient;
class QStackedWidget;

namespace UI {

class SettingsLocked;

class SettingsControl : public QWidget {
  Q_OBJECT

 public:
  explicit SettingsControl(QWidget* parent);

  void setQuizMode(bool quiz) { m_quizMode = quiz; }
  bool isQuizMode() const { return m_quizMode; }

  // The overlay, once a show in quiz mode has made it.
  SettingsLocked* lockOverlay() const { return m_locked; }
  static void setShadowGradiaentColor(QGradient& gradient);

 public slots:
  // Widgets to the active exercise-settings record, which is then stored.
  virtual void Gui2Data() = 0;
  // The active records to the widgets; runs at every show.
  virtual void Data2Gui() = 0;
  // `lock` is 0 for the general page and non-zero for a trainer page.
  virtual void SetPage(int lock);

 signals:
  void HideSettings();

 protected:
  // Called at a panel's first show with its page stack, its tab strip and its Apply button.
  void InstallSettingsLocker(QStackedWidget* pages, QWidget* tabs, QWidget* apply);
  bool lockerInstalled() const { return m_pages != nullptr; }
  void doPaint(QWidget* content);

  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private slots:
  void tabChanged(int);

 private:
  SettingsLocked* FetchLockOverlay();

  SettingsLocked* m_locked = nullptr;
  bool m_quizMode = true;
  QStackedWidget* m_pages = nullptr;
  QWidget* m_tabs = nullptr;
  QWidget* m_apply = nullptr;
};

}  // namespace UI
