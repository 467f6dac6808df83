#pragma once

// The dark overlay that covers a settings panel's trainer pages while a quiz runs. It is a plain
// child widget of the panel, not a window of its own.

#include <QDialog>

#include <memory>

class Ui_SettingsLocked;
class QLabel;

namespace UI {

class SettingsLocked : public QDialog {
  Q_OBJECT

 public:
  explicit SettingsLocked(QWidget* parent = nullptr);
  ~SettingsLocked() override;

  void setQuizMode(bool quiz);
  QLabel* message() const;

 private:
  std::unique_ptr<Ui_SettingsLocked> m_ui;
};

}  // namespace UI
