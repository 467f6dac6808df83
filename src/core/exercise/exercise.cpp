#include "src/core/exercise/exercise.h"

#include <QDebug>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <limits>
#include <utility>

#include "src/common/assertion.h"
#include "src/core/exercise/analysis/answer_check.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/exercise/midi_answer_listener.h"
#include "src/core/exercise/questions/question_choice.h"
#include "src/core/midi/error.h"
#include "src/core/midi/midi_connector.h"
#include "src/core/midi/midi_stream_device.h"
#include "src/core/midi/platform/sound_controller.h"
#include "src/core/midi/timeline.h"
#include "src/core/settings/settings_manager.h"

namespace Core {

namespace {

// Section lengths come from a settings file the user may edit: they are kept small enough that
// no product or sum of them leaves the range of an int.
constexpr long long MaxSectionTicks = std::numeric_limits<int>::max() / 16;

int Saturated(long long value) {
  return static_cast<int>(std::clamp<long long>(value, -std::numeric_limits<int>::max(),
                                                std::numeric_limits<int>::max()));
}

}  // namespace

Exercise::Exercise() {
  m_emptyQuestion.GClef = false;
}

Exercise::~Exercise() {
  Shutdown();
}

void Exercise::Shutdown() {
  {
    LessonLocker lock(LessonMutex());
    if (m_shutDown) return;
    m_shutDown = true;
  }
  // A listener's destruction waits for an event it is still handing over, and that event waits
  // for the lesson lock: so no lock here.
  std::vector<std::shared_ptr<MidiAnswerListener>> listeners;
  std::shared_ptr<MidiInStreamDeviceAuto> player;
  std::shared_ptr<MidiDeviceConnector> connector;
  {
    LessonLocker lock(LessonMutex());
    listeners = std::move(m_retiredListeners);
    if (m_listener) listeners.push_back(std::move(m_listener));
    for (auto& listener : listeners) listener->Detach();
    if (m_player) {
      m_player->RemoveObserver(this);
      // Waits for a replay pass under way, so the connector is not called once released.
      m_player->Reset();
    }
    player = std::move(m_player);
    connector = std::move(m_connector);
  }
  listeners.clear();
  std::shared_ptr<TimeLine> timeline = TakeTimeline();
  // Unregistering from the timer waits for a pass under way; that pass may be waiting for the
  // lesson lock, which is free here.
  connector.reset();
  player.reset();
  timeline.reset();

  if (!m_statistics) return;
  try {
    m_statistics->Save();
  } catch (const Error& error) {
    qWarning().noquote() << "The statistics could not be saved:" << error.GetMessage();
  } catch (const std::exception& error) {
    qWarning().noquote() << "The statistics could not be saved:" << error.what();
  }
}

void Exercise::Reset() {
  if (HasTimeline()) GetTimeline().Stop();
  // The new timeline and player register with the timer, the old ones unregister: both outside
  // the lesson lock.
  LessonBase::Reset();
  auto player = std::make_shared<MidiInStreamDeviceAuto>(std::make_shared<MidiStream>());
  std::shared_ptr<MidiInStreamDeviceAuto> oldPlayer;
  std::shared_ptr<MidiDeviceConnector> oldConnector;
  {
    LessonLocker lock(LessonMutex());
    m_weightedPicking = true;
    m_state.store(ES_READY);
    m_currentSection = 0;
    m_answers.clear();
    m_sections.clear();
    m_progress = ExerciseProgress();
    m_untimedSlot = 0;
    m_endReached = false;
    m_questionStart = 0;
    m_answerStream.Clear();
    m_playbackCut = false;

    DoCreateSections(m_sections);
    TimeLine& timeline = GetTimeline();
    for (const SectionInfo& section : m_sections) timeline.AddSection(section.Name, 50);

    m_asked.clear();
    m_pools.clear();
    for (unsigned long i = 0; i < m_sections.size(); ++i) {
      m_pools.emplace_back();
      DoCreateQuestionPool(i, m_pools.back());
      if (m_commonSettings.Sections.size() < i + 1) m_commonSettings.Sections.resize(i + 1);
    }
    timeline.SetInterval(TickMs);
    ApplyDurationSettings();

    if (m_player) {
      m_player->RemoveObserver(this);
      m_player->Reset();
    }
    oldPlayer = std::exchange(m_player, player);
    m_player->AddObserver(this);
    if (m_connector) {
      oldConnector = std::exchange(m_connector, std::make_shared<MidiDeviceConnector>(
                                                    m_player, m_connector->GetMidiOutDevice()));
    }

    m_lastQuestionId = -1;
    m_progress.SectionQuestions = static_cast<int>(QuestionCount(0));
    m_progress.SectionAsked = 0;
    m_progress.SectionRight = 0;
  }
  oldConnector.reset();
  oldPlayer.reset();
}

void Exercise::SetSoundController(std::shared_ptr<SoundController> controller) {
  LessonLocker lock(LessonMutex());
  LessonBase::SetSoundController(std::move(controller));
  ReconnectDevices();
}

std::shared_ptr<MidiOutDevice> Exercise::SelectedOutput() const {
  std::shared_ptr<SoundController> controller = GetSoundController();
  if (!controller) return nullptr;
  if (std::shared_ptr<MidiOutDevice> selected = controller->GetOutputMidiDevice()) return selected;
  if (controller->GetOutputMidiDeviceCount() > 0) return controller->GetOutputMidiDevice(0);
  return nullptr;
}

void Exercise::StopMidi() {
  LessonLocker lock(LessonMutex());
  if (m_player) m_player->Reset();
  if (std::shared_ptr<MidiOutDevice> output = SelectedOutput()) output->Stop();
}

void Exercise::RetireListener() {
  if (!m_listener) return;
  m_listener->Detach();
  m_retiredListeners.push_back(std::move(m_listener));
}

void Exercise::ReconnectDevices() {
  LessonLocker lock(LessonMutex());
  // Also waits for a replay pass under way, so the old connector below is not in use.
  StopMidi();

  std::shared_ptr<SoundController> controller = GetSoundController();
  const unsigned long input =
      controller ? controller->GetSelectedInputMidiDevice() : SoundController::NoSelection;
  const bool hasInput = controller && input != SoundController::NoSelection &&
                        input < controller->GetInputMidiDeviceCount();
  if (!hasInput || m_exerciseId == 2 || !CanUseMidiIn()) {
    RetireListener();
  } else {
    std::shared_ptr<MidiInDevice> device = controller->GetInputMidiDevice(input);
    if (m_listener)
      m_listener->SetDevice(device);
    else
      m_listener = std::make_shared<MidiAnswerListener>(this, device);
  }

  std::shared_ptr<MidiOutDevice> output = SelectedOutput();
  if (!output || !m_player) return;
  std::shared_ptr<MidiDeviceConnector> old =
      std::exchange(m_connector, std::make_shared<MidiDeviceConnector>(m_player, output));
  old.reset();
}

void Exercise::SetQuizMode(bool quiz) {
  LessonLocker lock(LessonMutex());
  m_quizMode = quiz;
  ApplyDurationSettings();
}

bool Exercise::IsQuizMode() const {
  LessonLocker lock(LessonMutex());
  return m_quizMode;
}

void Exercise::SetSettings(const SettingsManager* settings) {
  {
    LessonLocker lock(LessonMutex());
    m_settings = settings;
  }
  ApplySettings();
}

const SettingsManager* Exercise::GetSettingsManager() const {
  LessonLocker lock(LessonMutex());
  return m_settings;
}

const ExerciseCommonSettings& Exercise::GetCommonSettings() const {
  LessonLocker lock(LessonMutex());
  return m_commonSettings;
}

void Exercise::ApplySectionSettings(std::initializer_list<ExerciseDuration> durations) {
  const SettingsManager* manager = GetSettingsManager();
  if (!manager) return;
  ExerciseCommonSettings common = GetCommonSettings();
  if (common.Sections.size() < durations.size()) common.Sections.resize(durations.size());
  auto section = common.Sections.begin();
  for (const ExerciseDuration& duration : durations) {
    section->QuestionCount = static_cast<unsigned int>(std::max(duration.questions, 0));
    section->TimePerQuestion = Saturated(duration.seconds * 1000LL);
    ++section;
  }
  common.Instrument = static_cast<unsigned char>(manager->globalSettings.midiInstrument);
  SetCommonSettings(common);
}

void Exercise::SetCommonSettings(const ExerciseCommonSettings& settings) {
  LessonLocker lock(LessonMutex());
  m_commonSettings = settings;
  if (m_commonSettings.Sections.size() < m_sections.size())
    m_commonSettings.Sections.resize(m_sections.size());
  ApplyDurationSettings();
  HandleSettingsChange();
}

void Exercise::HandleSettingsChange() {
  LessonLocker lock(LessonMutex());
  ReconnectDevices();
  if (GetState() == ES_AWAITING_ANSWER) {
    CompleteQuestion(false);
    if (GetPlaybackState() == PS_PLAYING && GetState() == ES_READY) NextQuestion();
  }
}

int Exercise::TimePerQuestion(unsigned long section) const {
  return section < m_commonSettings.Sections.size()
             ? m_commonSettings.Sections[section].TimePerQuestion
             : ExerciseSectionCommonSettings().TimePerQuestion;
}

unsigned int Exercise::QuestionCount(unsigned long section) const {
  return section < m_commonSettings.Sections.size()
             ? m_commonSettings.Sections[section].QuestionCount
             : ExerciseSectionCommonSettings().QuestionCount;
}

bool Exercise::IsUntimed(unsigned long section) const {
  const int time = TimePerQuestion(section);
  return time > -TickMs && time < TickMs;
}

int Exercise::TicksPerQuestion(unsigned long section) const {
  return IsUntimed(section)
             ? UntimedSlotTicks
             : static_cast<int>(std::abs(static_cast<long long>(TimePerQuestion(section))) /
                                TickMs);
}

void Exercise::ApplyDurationSettings() {
  LessonLocker lock(LessonMutex());
  if (!HasTimeline()) return;
  TimeLine& timeline = GetTimeline();
  const unsigned long count =
      std::min<unsigned long>(m_sections.size(), timeline.GetSectionCount());
  for (unsigned long i = 0; i < count; ++i) {
    const int duration = static_cast<int>(std::min<long long>(
        static_cast<long long>(QuestionCount(i)) * TicksPerQuestion(i), MaxSectionTicks));
    if (timeline.GetSectionDuration(i) != duration) timeline.SetSectionDuration(i, duration);
  }
}

ExerciseState Exercise::GetState() const {
  return static_cast<ExerciseState>(m_state.load());
}

void Exercise::SetState(ExerciseState state) {
  LessonLocker lock(LessonMutex());
  m_state.store(state);
  Subject<LessonBaseObserver>::Notify(
      [state](LessonBaseObserver* observer) { observer->OnStateChanged(state); });
}

unsigned long Exercise::GetCurrentSection() const {
  LessonLocker lock(LessonMutex());
  return m_currentSection;
}

const Question& Exercise::GetCurrentQuestion() const {
  LessonLocker lock(LessonMutex());
  if (m_currentSection < m_asked.size() && !m_asked[m_currentSection].empty())
    return m_asked[m_currentSection].back();
  return m_emptyQuestion;
}

ExerciseProgress Exercise::GetProgress() const {
  LessonLocker lock(LessonMutex());
  return m_progress;
}

// Statistics.

void Exercise::SetStatistics(std::shared_ptr<ExerciseStatistics> statistics, int exerciseId) {
  LessonLocker lock(LessonMutex());
  m_statistics = std::move(statistics);
  m_exerciseId = exerciseId;
}

int Exercise::GetExerciseId() const {
  LessonLocker lock(LessonMutex());
  return m_exerciseId;
}

void Exercise::GetStatistics(int section, std::vector<ExStat>& records) {
  if (!m_statistics) return;
  if (m_globalStatistics)
    m_statistics->GetTotalSummary(m_exerciseId, section, records);
  else
    m_statistics->GetLocalSummary(m_exerciseId, section, records);
}

void Exercise::SetGlobalStatistics(bool global) {
  m_globalStatistics = global;
}

bool Exercise::IsGlobalStatistics() const {
  return m_globalStatistics;
}

void Exercise::ClearGlobalStatistics() {
  LessonLocker lock(LessonMutex());
  if (m_statistics) m_statistics->ClearTotal(m_exerciseId);
}

void Exercise::ClearLocalStats() {
  LessonLocker lock(LessonMutex());
  if (m_statistics) m_statistics->ClearLocal(m_exerciseId);
}

void Exercise::LoadLocalStats() {
  LessonLocker lock(LessonMutex());
  if (!m_statistics) return;
  m_statistics->LoadLocal();
  std::vector<ExStat> records;
  m_statistics->GetLocalSummary(m_exerciseId, records);
  for (const ExStat& record : records) {
    m_progress.QuestionsAsked =
        AddCounts(m_progress.QuestionsAsked, AddCounts(record.Correct, record.Wrong));
    m_progress.RightAnswers = AddCounts(m_progress.RightAnswers, record.Correct);
  }
  m_progress.Answered = m_progress.QuestionsAsked;
}

void Exercise::AddStats(const Question& question, const Answer&, bool right) {
  LessonLocker lock(LessonMutex());
  if (!m_statistics || question.CorrectVariant >= question.VariantData.size()) return;
  ExStat record;
  record.Id = question.VariantData[question.CorrectVariant].Id;
  record.ExerciseId = m_exerciseId;
  record.SectionIndex = static_cast<int>(m_currentSection);
  record.Correct = right ? 1 : 0;
  record.Wrong = right ? 0 : 1;
  m_statistics->AddEntry(record);
}

// Question choice and answer checking for the trainers.

int Exercise::GenerateQuestionData(const AllowedIds& allowed, std::vector<int>& ids,
                                   QVariantProvider* provider) {
  LessonLocker lock(LessonMutex());
  return Core::GenerateQuestionData(allowed, ids, provider, m_weightedPicking, m_statistics.get(),
                                    m_exerciseId, static_cast<int>(m_currentSection),
                                    m_lastQuestionId);
}

void Exercise::MakeSimultaneous(QuestionData& variant, double noteLength) {
  Core::MakeSimultaneous(variant, noteLength);
}

int Exercise::CompareChords(const MidiStream& expected, const MidiStream& played, bool ordered,
                            bool anyOctave) const {
  return Core::CompareChords(expected, played, ordered, anyOctave);
}

void Exercise::AnalyseAnswer(const Question& question, const Answer& answer, std::string& rmn,
                             std::vector<NoteWAnalysis>& notes, bool sequence, int& firstWrong) {
  // The answer may come from the screen: a variant that does not exist or carries no notes
  // (a picture question) has nothing to analyse.
  const auto hasNotes = [&question](unsigned long index) {
    return index < question.VariantData.size() && question.VariantData[index].Stream;
  };
  if (!hasNotes(question.CorrectVariant)) return;
  if (answer.Kind == AK_VARIANT && !hasNotes(answer.ChosenVariant)) return;
  Core::AnalyseAnswer(question, answer, rmn, notes, sequence, firstWrong);
}

// What the trainers refine.

unsigned int Exercise::GetSupportedAnswerMethods(const Question&) {
  return 0;
}

bool Exercise::CanUseMidiIn() {
  return true;
}

unsigned int Exercise::GetNoteById(int, int) {
  return static_cast<unsigned int>(-1);
}

QString Exercise::GetQuestionTextById(int, int) {
  return QString();
}

bool Exercise::CompareQuestionGroup(int, int id1, int id2) {
  return id1 == id2;
}

QString Exercise::GetGroupTextById(int, int) {
  return QString();
}

void Exercise::GetQuestionGroups(int, std::vector<int>&) {}

void Exercise::GetRazidAnswer(unsigned long, const Question&, const Answer&, std::string&,
                              std::vector<NoteWAnalysis>&, int&) {}

void Exercise::ApplySettings() {}

}  // namespace Core
