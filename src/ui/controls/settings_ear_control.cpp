#include "src/ui/controls/settings_ear_control.h"

#include <QRadioButton>
#include <QToolButton>

#include <algorithm>

#include "src/core/settings/settings_manager.h"
#include "src/ui/application.h"
#include "src/ui/controls/ear_settings_binding.h"
#include "src/ui/controls/key_colour_binders.h"
#include "ui_settings_ear_control.h"

namespace UI {

SettingsEarControl::SettingsEarControl(QWidget* parent)
    : SettingsControl(parent), m_ui(std::make_unique<Ui_settings_ear_trainer_control>()) {
  m_ui->setupUi(this);
  SetTexts();
  for (const EarKeyRange& range : EarKeyRanges(*m_ui)) {
    connect(range.white, &QRadioButton::clicked, this, &SettingsEarControl::onWhiteClick);
    connect(range.black, &QRadioButton::clicked, this, &SettingsEarControl::onBlackClick);
    connect(range.both, &QRadioButton::clicked, this, &SettingsEarControl::onBlackAndWhiteClick);
  }
  // Intervals, chords and scales are asked from a root that leaves room for the notes above it.
  m_ui->Gkc->SetLimited(false);
  m_ui->GkcInterval->SetLimited(true);
  m_ui->GkcChord->SetLimited(true);
  m_ui->GkcScaleRange->SetLimited(true);
  // The form opens on another page; the panel opens on the first section's.
  SetPage(SingleNotesPage);
  for (const auto& entry : ScaleTypeBoxes(*m_ui)) m_scaleGroup.AddCheck(entry.box);
  for (const auto& entry : ChordTypeBoxes(*m_ui)) m_chordGroup.AddCheck(entry.box);
  for (const auto& entry : TempoBoxes(*m_ui)) m_tempoGroup.AddCheck(entry.box);
  connect(m_ui->exEarGeneralArea, &GeneralSettingsTab::refreshGui, this,
          &SettingsEarControl::Data2Gui);
  m_ui->Apply->hide();
  m_ui->exEarGeneralArea->setExerciseType(Core::EarTrainerExercise);
}

SettingsEarControl::~SettingsEarControl() = default;

void SettingsEarControl::setVisible(bool visible) {
  // Each panel installs its own lock, so a panel built for a later main window is locked too.
  if (visible && !lockerInstalled())
    InstallSettingsLocker(m_ui->earStackedTabs, m_ui->TabsContainer, m_ui->Apply);
  SettingsControl::setVisible(visible);
}

void SettingsEarControl::paintEvent(QPaintEvent*) {
  doPaint(m_ui->ContentWidget);
}

void SettingsEarControl::SetPage(int page) {
  // The page must be one the stack has, or the lock would follow a page that is not shown.
  page = std::clamp(page, int(SingleNotesPage), int(GeneralPage));
  m_ui->earStackedTabs->setCurrentIndex(page);
  QToolButton* tabs[] = {m_ui->earExTabNotes,  m_ui->earExTabIntervals, m_ui->earExTabChords,
                         m_ui->earExTabScales, m_ui->earExTabTempo,     m_ui->earExTabGeneral};
  // The tabs are exclusive: checking one clears the others.
  tabs[page]->setChecked(true);
  SettingsControl::SetPage(page == GeneralPage ? 0 : page + 1);
}

GkcRangeSelectorControl* SettingsEarControl::CurrentGKC() const {
  const int page = m_ui->earStackedTabs->currentIndex();
  if (page < SingleNotesPage || page > ScalesPage) return nullptr;
  return EarKeyRanges(*m_ui)[size_t(page)].selector;
}

void SettingsEarControl::ApplyKeyColours(bool black, bool white) {
  if (GkcRangeSelectorControl* selector = CurrentGKC()) ApplyChromatic(selector, black, white);
}

void SettingsEarControl::Data2Gui() {
  const Core::ExcersisesSettings settings =
      Application::instance()->GetSettings()->GetExcersiseSettings();
  m_ui->exEarGeneralArea->Data2Gui(settings.noteTrainer.onWrongAnswer);
  EarSettings2Gui(settings.earTrainer, *m_ui);
  // Boxes set by program emit no click: a group whose only box is now set must disable it.
  m_scaleGroup.onChange();
  m_chordGroup.onChange();
  m_tempoGroup.onChange();
}

void SettingsEarControl::Gui2Data() {
  Application* app = Application::instance();
  Core::ExcersisesSettings settings = app->GetSettings()->GetExcersiseSettings();
  m_ui->exEarGeneralArea->Gui2Data(settings.noteTrainer.onWrongAnswer);
  Gui2EarSettings(*m_ui, settings.earTrainer);
  app->SetExcerciseSettings(settings);
}

}  // namespace UI
