#include "test_panel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "src/core/settings/settings_manager.h"
#include "src/ui/application.h"
#include "src/ui/controls/settings_binders.h"

namespace Testing {

TestPanel::TestPanel(QWidget* parent) : UI::SettingsControl(parent) {
  setObjectName("test_panel");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(40, 40, 40, 40);
  layout->setSpacing(0);
  tabs = new QWidget(this);
  tabs->setObjectName("TabsContainer");
  tabs->setFixedHeight(48);
  auto* tabLayout = new QHBoxLayout(tabs);
  trainerTab = new QToolButton(tabs);
  trainerTab->setText("Single Notes");
  generalTab = new QToolButton(tabs);
  generalTab->setText("General");
  for (QToolButton* tab : {trainerTab, generalTab}) tabLayout->addWidget(tab);
  tabLayout->addStretch();
  auto* apply = new QToolButton(tabs);
  apply->setText("Apply");
  apply->hide();
  content = new QWidget(this);
  content->setObjectName("ContentWidget");
  auto* contentLayout = new QVBoxLayout(content);
  contentLayout->setContentsMargins(0, 0, 0, 0);
  pages = new QStackedWidget(content);
  auto* trainerPage = new QWidget;
  auto* trainerLayout = new QVBoxLayout(trainerPage);
  range = new UI::GkcRangeSelectorControl(trainerPage);
  duration = new UI::DurationControl(trainerPage);
  trainerLayout->addWidget(range);
  trainerLayout->addWidget(duration);
  trainerLayout->addStretch();
  general = new UI::GeneralSettingsTab;
  pages->addWidget(trainerPage);
  pages->addWidget(general);
  contentLayout->addWidget(pages);
  layout->addWidget(tabs);
  layout->addWidget(content);
  connect(general, &UI::GeneralSettingsTab::refreshGui, this, &TestPanel::Data2Gui);
  connect(trainerTab, &QToolButton::clicked, this, [this] { SetPage(0); });
  connect(generalTab, &QToolButton::clicked, this, [this] { SetPage(1); });
  apply->setObjectName("Apply");
}

void TestPanel::setVisible(bool visible) {
  if (visible && !m_lockerInstalled) {
    m_lockerInstalled = true;
    InstallSettingsLocker(pages, tabs, findChild<QWidget*>("Apply"));
  }
  UI::SettingsControl::setVisible(visible);
}

void TestPanel::SetPage(int page) {
  pages->setCurrentIndex(page);
  UI::SettingsControl::SetPage(page == pages->count() - 1 ? 0 : page + 1);
}

void TestPanel::Gui2Data() {
  Application* app = Application::instance();
  Core::ExcersisesSettings settings = app->GetSettings()->GetExcersiseSettings();
  Core::SingleNotesSettings& notes = settings.noteTrainer.singleNotes;
  UI::diapUi2Data(notes.diapason, range);
  UI::durationUI2Data(notes.duration, duration);
  general->Gui2Data(settings.noteTrainer.onWrongAnswer);
  app->SetExcerciseSettings(settings);
}

void TestPanel::Data2Gui() {
  Core::ExcersisesSettings settings =
      Application::instance()->GetSettings()->GetExcersiseSettings();
  Core::SingleNotesSettings& notes = settings.noteTrainer.singleNotes;
  UI::Data2diapUi(notes.diapason, range);
  UI::Data2durationUI(notes.duration, duration);
  general->Data2Gui(settings.noteTrainer.onWrongAnswer);
}

}  // namespace Testing
