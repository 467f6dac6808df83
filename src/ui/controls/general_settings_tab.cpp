#include "src/ui/controls/general_settings_tab.h"

#include "src/core/midi/platform/sound_controller.h"
#include "src/core/settings/instrument_table.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/application.h"
#include "src/ui/controls/settings_control.h"
#include "src/ui/window_stack_manager.h"
#include "ui_GeneralSettingsTab.h"

namespace UI {

GeneralSettingsTab::GeneralSettingsTab() : GeneralSettingsTab(nullptr) {}

GeneralSettingsTab::GeneralSettingsTab(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui_GeneralSettingsTab>()) {
  SetupUI();
}

GeneralSettingsTab::~GeneralSettingsTab() = default;

void GeneralSettingsTab::SetupUI() {
  m_ui->setupUi(this);
  m_delays = {1000, 3000, 5000};
  m_ui->delayTime->clear();
  m_ui->delayTime->addItem(tr("Wait: 1 second"));
  m_ui->delayTime->addItem(tr("Wait: 3 seconds"));
  m_ui->delayTime->addItem(tr("Wait: 5 seconds"));
  m_ui->playbackInstrument->clear();
  for (int i = 0; i < Core::InstrumentCount; ++i)
    m_ui->playbackInstrument->addItem(Core::InstrumentDisplayName(i));
  SetLabelsText();
  // Only the radios set the heights of the answer radios' rows, so the three stand evenly apart,
  // as the radios of the other rows do: the row's title, taller than a radio, stands beside all
  // three with its text level with the first, and the spacer beside the second takes no height.
  QGridLayout* grid = m_ui->gridLayout_3;
  QLabel* title = m_ui->Row1_Title_37;
  grid->removeWidget(title);
  grid->addWidget(title, 0, 0, 3, 1, Qt::AlignTop);
  title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  if (QLayoutItem* beside = grid->itemAtPosition(1, 2); beside && beside->spacerItem())
    beside->spacerItem()->changeSize(beside->sizeHint().width(), 0, QSizePolicy::Expanding,
                                     QSizePolicy::Minimum);
}

void GeneralSettingsTab::SetLabelsText() {
  auto fill = [](QWidget* widget, const QString& first, const QString& second = QString()) {
    QString text = widget->property("text").toString().arg(first);
    if (!second.isNull()) text = text.arg(second);
    widget->setProperty("text", text);
  };
  fill(m_ui->Row1_Title_18, tr("Midi Input"), tr("Device"));
  fill(m_ui->Row1_Title_19, tr("Difficulty Level"));
  fill(m_ui->Row1_Title_37, tr("Answer Input"));
  fill(m_ui->Row1_Title_21, tr("Midi Playback"), tr("Instrument"));
  fill(m_ui->Row1_Title_20, tr("Auto Continue"), tr("Mode"));
  fill(m_ui->DifficultyOnStartup, tr("Ask difficulty level before lesson starts"));
  fill(m_ui->useGkcNotes_2, tr("Use Graphical Piano"));
  fill(m_ui->useMultiChoiceNotes_2, tr("Use multiple choice buttons"));
  fill(m_ui->useMultiChoiceNotes_3, tr("Use Both"));
  fill(m_ui->pauseAfterMistake, tr("Pause after mistake"));
  fill(m_ui->autoContinue, tr("Continue after mistake"));
}

void GeneralSettingsTab::Gui2Data(Core::GlobalSectionSettings& policy) {
  Application* app = Application::instance();
  Core::GlobalSettings settings = app->GetSettings()->globalSettings;
  settings.inputDevice = DeviceBoxView::DeviceName;
  settings.midiInstrument = std::int8_t(m_ui->playbackInstrument->currentIndex());
  const bool both = m_ui->useMultiChoiceNotes_3->isChecked();
  settings.answerGkc = m_ui->useGkcNotes_2->isChecked() || both;
  settings.answerMultipleChoice = m_ui->useMultiChoiceNotes_2->isChecked() || both;
  if (!app->IsQuizMode()) settings.showDifficultyDialog = m_ui->DifficultyOnStartup->isChecked();
  app->SetGlobalSettings(settings);

  policy.autoContinue = m_ui->autoContinue->isChecked();
  // A stored wait the list does not offer leaves the list without a selection; it is kept.
  const int index = m_ui->delayTime->currentIndex();
  if (index >= 0 && index < m_delays.size()) policy.delay = m_delays[index];
}

void GeneralSettingsTab::Data2Gui(const Core::GlobalSectionSettings& policy) {
  Application* app = Application::instance();
  const Core::GlobalSettings settings = app->GetSettings()->globalSettings;
  ResetDeviceBox();
  // The stored number comes from a user-editable file; one outside the list selects nothing.
  const int instrument = settings.midiInstrument;
  m_ui->playbackInstrument->setCurrentIndex(
      instrument >= 0 && instrument < Core::InstrumentCount ? instrument : -1);
  if (policy.autoContinue)
    m_ui->autoContinue->setChecked(true);
  else
    m_ui->pauseAfterMistake->setChecked(true);
  m_ui->delayTime->setCurrentIndex(int(m_delays.indexOf(policy.delay)));
  if (settings.answerGkc && settings.answerMultipleChoice)
    m_ui->useMultiChoiceNotes_3->setChecked(true);
  else if (settings.answerGkc)
    m_ui->useGkcNotes_2->setChecked(true);
  else
    m_ui->useMultiChoiceNotes_2->setChecked(true);
  if (app->IsQuizMode()) {
    m_ui->DifficultyOnStartup->hide();
    m_ui->DifficultyLevelRow->setFixedHeight(160);
  } else {
    m_ui->DifficultyOnStartup->show();
    m_ui->DifficultyOnStartup->setChecked(settings.showDifficultyDialog);
  }
}

void GeneralSettingsTab::ResetDeviceBox() {
  auto sound = Application::instance()->GetSoundController();
  QVector<QString> names;
  const unsigned long count = sound->GetInputMidiDeviceCount();
  for (unsigned long i = 0; i < count; ++i) names.append(sound->GetInputMidiDevice(i)->GetName());
  // No selection reads as -1.
  const int selected = int(sound->GetSelectedInputMidiDevice());
  m_ui->DeviceBox->fillDeviceList(names, selected);
  DeviceBoxView::DeviceList = names;
  DeviceBoxView::CurrentDevice = selected;
}

void GeneralSettingsTab::setMidiDeviceVisible(bool visible) {
  m_ui->MidiDeviceRow->setVisible(visible);
  m_ui->MidiDeviceUnderline->setVisible(visible);
}

void GeneralSettingsTab::setAnswerTypeVisible(bool visible) {
  m_ui->AnswerTypeRow->setVisible(visible);
  m_ui->AnswerTypeUnderline->setVisible(visible);
}

void GeneralSettingsTab::selectDifficulty(int level) {
  QToolButton* buttons[] = {m_ui->Level1, m_ui->Level2, m_ui->Level3, m_ui->Level4, m_ui->Level5};
  for (int i = 0; i < 5; ++i) buttons[i]->setChecked(i + 1 == level);
}

void GeneralSettingsTab::ApplyLevel(int level) {
  selectDifficulty(level);
  update();
  Application::instance()->GetSettings()->SetDifficultyLevel(
      m_exerciseType, Core::DifficultyLevelPreset(level - 1));
  emit refreshGui();
}

void GeneralSettingsTab::showEvent(QShowEvent* event) {
  Application* app = Application::instance();
  const bool quiz = app->IsQuizMode();
  m_ui->DifficultyLevelRow->setVisible(!quiz);
  m_ui->DifficultyLevelRowSeperator->setVisible(!quiz);
  const bool keys = m_exerciseType != Core::SheetMusicSymbolsExercise;
  setMidiDeviceVisible(keys);
  setAnswerTypeVisible(keys);
  if (WindowStackManager* stack = app->windowStackManager()) {
    if (auto* panel = qobject_cast<SettingsControl*>(stack->GetCurrentWindow())) panel->Gui2Data();
  }
  selectDifficulty(int(app->GetSettings()->GetDifficultyLevel(m_exerciseType)) + 1);
  QWidget::showEvent(event);
}

}  // namespace UI
