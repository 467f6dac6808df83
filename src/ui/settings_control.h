#pragma once

// Stand-ins for the three trainer settings panels until the real ones are written: the panel
// base with no pages, and a Close button that asks to leave the panel.

#include "src/ui/controls/settings_control.h"

class QLabel;

namespace UI {

class SettingsPanelStandIn : public SettingsControl {
  Q_OBJECT

 public:
  SettingsPanelStandIn(QWidget* parent, const QString& name, const QString& title);

  void Gui2Data() override {}
  void Data2Gui() override;
  void SetPage(int page) override { m_page = page; }
  int Page() const { return m_page; }

 private:
  int m_page = 0;
  QLabel* m_label;
  QString m_title;
};

class SettingsNoteControl : public SettingsPanelStandIn {
  Q_OBJECT
 public:
  explicit SettingsNoteControl(QWidget* parent)
      : SettingsPanelStandIn(parent, "settings_note_control", tr("Note trainer settings")) {}
};

class SettingsSymbolControl : public SettingsPanelStandIn {
  Q_OBJECT
 public:
  explicit SettingsSymbolControl(QWidget* parent)
      : SettingsPanelStandIn(parent, "settings_symbol_control",
                             tr("Music symbols trainer settings")) {}
};

}  // namespace UI
