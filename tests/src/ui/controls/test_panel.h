#pragma once

// A small settings panel built the way the trainer panels are: a tab strip, a page stack with one
// trainer page (a key range and a section length for single notes) and the general page last.

#include <QStackedWidget>
#include <QToolButton>

#include "src/ui/controls/duration_control.h"
#include "src/ui/controls/general_settings_tab.h"
#include "src/ui/controls/settings_control.h"
#include "src/ui/range_selectors.h"

namespace Testing {

class TestPanel : public UI::SettingsControl {
  Q_OBJECT

 public:
  explicit TestPanel(QWidget* parent = nullptr);

  void Gui2Data() override;
  void Data2Gui() override;
  void SetPage(int page) override;
  void setVisible(bool visible) override;

  QWidget* tabs;
  QToolButton* trainerTab;
  QToolButton* generalTab;
  QWidget* content;
  QStackedWidget* pages;
  UI::GkcRangeSelectorControl* range;
  UI::DurationControl* duration;
  UI::GeneralSettingsTab* general;

 protected:
  void paintEvent(QPaintEvent*) override { doPaint(content); }

 private:
  bool m_lockerInstalled = false;
};

}  // namespace Testing
