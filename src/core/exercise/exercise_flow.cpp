// The question flow of an exercise: asking, playing, judging, completing, and following the
// timeline through timed and untimed sections.

#include <algorithm>
#include <cstdlib>

#include "src/common/assertion.h"
#include "src/core/exercise/exercise.h"
#include "src/core/midi/midi_connector.h"
#include "src/core/midi/midi_stream_device.h"
#include "src/core/midi/timeline.h"
#include "src/core/settings/instrument_table.h"

namespace Core {

namespace {

bool IsPlayed(unsigned int type) {
  return type == QT_EAR || type == QT_TEMPO || type == QT_NOTE || type == QT_CHORD_NAME;
}

constexpr unsigned long NoSection = static_cast<unsigned long>(-1);

}  // namespace

void Exercise::EnterSection(unsigned long section) {
  m_currentSection = section;
  m_untimedSlot = 0;
  m_progress.SectionQuestions = static_cast<int>(QuestionCount(section));
  m_progress.SectionAsked = 0;
  m_progress.SectionRight = 0;
  const auto index = static_cast<unsigned int>(section);
  Subject<ExerciseObserver>::Notify(
      [index](ExerciseObserver* observer) { observer->OnSectionChanged(index); });
}

void Exercise::NextQuestion() {
  LessonLocker lock(LessonMutex());
  MELVARIN_ASSERT(GetState() == ES_READY);
  m_playbackCut = false;
  const unsigned long current = m_currentSection;
  TimeLine& timeline = GetTimeline();
  if (m_endReached || timeline.GetCurrentSectionIndex() != current || QuestionCount(current) == 0) {
    unsigned long next = current + 1;
    while (next < m_sections.size() && QuestionCount(next) == 0) ++next;
    if (m_endReached || next >= m_sections.size()) {
      SetState(ES_STOPPED);
      StopInternal(true);
      return;
    }
    EnterSection(next);
  }
  LoadNextQuestion();
  // The section the question is asked in decides: a timed section entered from an untimed one
  // must time its first question too.
  if (TimePerQuestion(m_currentSection) != 0 && GetPlaybackState() == PS_PLAYING &&
      GetState() == ES_AWAITING_ANSWER)
    timeline.Start();
}

void Exercise::LoadNextQuestion() {
  const unsigned long section = m_currentSection;
  if (m_asked.size() < section + 1) m_asked.resize(section + 1);
  const std::vector<Question>& pool = m_pools[section];
  MELVARIN_ASSERT(!pool.empty());
  Question question = pool[static_cast<unsigned long>(std::rand()) % pool.size()];
  DoPrepareQuestion(section, question);
  m_asked[section].push_back(std::move(question));
  // Notes played into an abandoned question do not count for this one.
  m_answerStream.Clear();

  const Question& asked = m_asked[section].back();
  TimeLine& timeline = GetTimeline();
  m_questionStart = timeline.GetPosition();
  if (IsPlayed(asked.Type)) {
    timeline.SetPosition(timeline.GetPosition() + 1);
    // A copy: the pool streams are shared by every question and may be read by the player.
    auto stream = std::make_shared<MidiStream>();
    if (asked.CorrectVariant < asked.VariantData.size() &&
        asked.VariantData[asked.CorrectVariant].Stream)
      stream->CopyFrom(*asked.VariantData[asked.CorrectVariant].Stream);
    if (asked.Type != QT_TEMPO) {
      const auto program =
          static_cast<unsigned char>(InstrumentProgram(m_commonSettings.Instrument));
      const MidiEvent change(MidiMessage(MidiProgramChange, 0, program), 0, -1.0);
      const QVector<MidiEvent>& events = stream->GetEvents();
      if (!events.isEmpty() && events.first().GetMessage().GetCommand() == MidiProgramChange)
        stream->ReplaceEvent(0, change);
      else
        stream->InsertEvent(0, change);
    }
    if (stream->GetEvents().isEmpty()) {
      // Nothing to play would never report its end.
      SetState(ES_AWAITING_ANSWER);
    } else {
      SetState(ES_PLAYING);
      StopMidi();
      m_player->SetStream(stream);
      m_player->Play();
    }
  } else {
    SetState(ES_AWAITING_ANSWER);
  }
  ++m_progress.QuestionsAsked;
  ++m_progress.SectionAsked;
}

void Exercise::OnPlaybackComplete() {
  LessonLocker lock(LessonMutex());
  if (!m_player || !HasTimeline()) return;
  // A notice from a stream that was cut off while a newer question started playing.
  if (m_player->IsPlaying()) return;
  if (GetState() != ES_PLAYING) return;
  AwaitAnswer();
}

void Exercise::AwaitAnswer() {
  SetState(ES_AWAITING_ANSWER);
  // Not while paused (a playback notice that waited for the lesson lock behind a pause): play
  // leaves this question behind, and its time must not run out behind the Play overlay.
  if (GetPlaybackState() != PS_PAUSED) GetTimeline().Start();
}

void Exercise::OnTimeLinePositionChanged(int position) {
  {
    LessonLocker lock(LessonMutex());
    if (!HasTimeline()) return;
    // The notice may have waited for the lesson lock while an answer, a resume or a seek moved
    // the timeline on, perhaps onto the slot where the next question now waits: a tick the
    // timeline has moved away from belongs to a question that is over and decides nothing. Nor
    // does one that waited while the exercise was paused: a time-out then would be judged behind
    // the Play overlay, and play would move on before the learner ever saw its verdict.
    const TimeLine& timeline = GetTimeline();
    if (position == timeline.GetPosition() && timeline.IsRunning()) HandleBoundary(position, false);
  }
  LessonBase::OnTimeLinePositionChanged(position);
}

void Exercise::OnTimeLineSectionChanged(unsigned long, unsigned long current) {
  if (current != NoSection) return;
  int total = 0;
  {
    LessonLocker lock(LessonMutex());
    if (!HasTimeline()) return;
    total = GetTimeline().GetTotalDuration();
    HandleBoundary(total, true);
  }
  LessonBase::OnTimeLinePositionChanged(total);
}

void Exercise::HandleBoundary(int position, bool atEnd) {
  TimeLine& timeline = GetTimeline();
  const unsigned long section = m_currentSection;
  // At its end the timeline stands at 0 again; the end is a boundary of every section.
  const int sectionPosition = atEnd ? 0 : timeline.GetSectionPosition();
  if (atEnd) m_endReached = true;
  if (IsUntimed(section)) {
    if (sectionPosition % UntimedSlotTicks == 0) timeline.Stop();
    return;
  }
  if (sectionPosition % TicksPerQuestion(section) != 0) return;
  const ExerciseState state = GetState();
  // The boundary a question was asked on starts its time: a tick there was raised before the
  // question, for the one before it, and ends nothing.
  if (!atEnd && (state == ES_PLAYING || state == ES_AWAITING_ANSWER) && position <= m_questionStart)
    return;
  if (state == ES_AWAITING_ANSWER) {
    ProvideAnswer(Answer());  // the time is up
  } else {
    CompleteQuestion(true);
  }
  timeline.Stop();
  if (atEnd) {
    SetState(ES_FINISHED);
    Stop();
  } else {
    SetState(ES_READY);
  }
}

int Exercise::Verdict(const Question& question, const Answer& answer) const {
  if (answer.Kind == AK_NONE || question.AnswerMethods == 0) return 0;
  if (answer.Kind == AK_VARIANT) return answer.ChosenVariant == question.CorrectVariant ? 1 : 0;
  if (answer.Kind != AK_NOTES) return 0;
  // A picture question has no notes to compare with: keys played to it are wrong.
  if (question.CorrectVariant >= question.VariantData.size()) return 0;
  const std::shared_ptr<MidiStream>& expected =
      question.VariantData[question.CorrectVariant].Stream;
  if (!expected) return 0;
  const bool ordered = question.Accepts(AM_IN_ORDER) && question.Type != QT_CHORD_NAME;
  const bool anyOctave = question.Type == QT_CHORD_NAME;
  return CompareChords(*expected, answer.Notes, ordered, anyOctave);
}

int Exercise::CheckAnswer(const Question& question, const Answer& answer) const {
  return Verdict(question, answer);
}

void Exercise::ProvideAnswer(const Answer& answer) {
  LessonLocker lock(LessonMutex());
  if (!HasTimeline()) return;
  const ExerciseState state = GetState();
  if (state != ES_PLAYING && state != ES_AWAITING_ANSWER) return;
  if (m_currentSection >= m_asked.size() || m_asked[m_currentSection].empty()) return;
  const Question& question = m_asked[m_currentSection].back();
  const int verdict = Verdict(question, answer);
  if (verdict < 0) return;  // right so far; more notes to come

  if (m_player->IsPlaying()) StopMidi();
  const bool right = verdict == 1;
  if (right) {
    ++m_progress.RightAnswers;
    ++m_progress.SectionRight;
  }
  ++m_progress.Answered;
  if (m_answers.size() < m_currentSection + 1) m_answers.resize(m_currentSection + 1);
  m_answers[m_currentSection].push_back(answer);
  Subject<ExerciseObserver>::Notify(
      [right, &answer](ExerciseObserver* observer) { observer->OnAnswerProvided(right, answer); });
  AddStats(question, answer, right);
  CompleteQuestion(true);
}

void Exercise::CompleteQuestion(bool advance) {
  TimeLine& timeline = GetTimeline();
  timeline.Stop();
  const unsigned long section = m_currentSection;
  const int total = timeline.GetTotalDuration();

  if (IsUntimed(section)) {
    // Each question owns one slot, however long its answer took: the section asks exactly its
    // question count. An abandoned question gives its slot to the next.
    if (advance) ++m_untimedSlot;
    const int target = timeline.GetSectionStartPosition(section) + m_untimedSlot * UntimedSlotTicks;
    if (target >= total) {
      m_endReached = true;
      timeline.SetPosition(std::max(total - 1, 0));
    } else {
      timeline.SetPosition(target);
    }
    SetState(ES_READY);
    return;
  }

  const int ticks = TicksPerQuestion(section);
  const int position = timeline.GetPosition();
  int offset = timeline.GetSectionPosition() % ticks;
  const ExerciseState state = GetState();
  // An unplayed question answered before its first tick stands at the start of its own slot,
  // not at the end of it: it still uses up that slot.
  const bool answeredAtOnce = advance && offset == 0 && !m_endReached &&
                              (state == ES_PLAYING || state == ES_AWAITING_ANSWER) &&
                              position == m_questionStart;
  if (offset == 0 && !answeredAtOnce) {
    SetState(ES_READY);
    return;
  }
  const int target = position - offset + (advance ? ticks : 0);
  if (target >= total) {
    timeline.SetPosition(std::max(total - 1, 0));
    SetState(ES_FINISHED);
    Stop();
  } else {
    timeline.SetPosition(target);
    SetState(ES_READY);
  }
}

void Exercise::AbortQuestion() {
  LessonLocker lock(LessonMutex());
  const ExerciseState state = GetState();
  if (state == ES_PLAYING || state == ES_AWAITING_ANSWER) CompleteQuestion(false);
  if (GetPlaybackState() == PS_PLAYING && GetState() == ES_READY) NextQuestion();
}

// Playback control.

void Exercise::Start() {
  SetPlaybackState(PS_PLAYING);
}

bool Exercise::Pause(bool pause) {
  LessonLocker lock(LessonMutex());
  if (GetState() == ES_FINISHED) return false;
  const bool changed = LessonBase::Pause(pause);
  if (changed) StopMidi();
  return changed;
}

void Exercise::StopInternal(bool immediately) {
  LessonBase::StopInternal(immediately);
  StopMidi();
}

void Exercise::SetPosition(int position) {
  LessonLocker lock(LessonMutex());
  m_endReached = false;
  // A resumed exercise brings its position from the settings file: one before the start means
  // the start (the timeline itself sends one past the end back to 0).
  LessonBase::SetPosition(std::max(position, 0));
}

void Exercise::SwitchToSection(unsigned long section) {
  LessonLocker lock(LessonMutex());
  if (section != m_currentSection) EnterSection(section);
}

void Exercise::SeekSection(unsigned long section, int sectionPosition) {
  LessonLocker lock(LessonMutex());
  // After its end the timeline stands at 0 while the exercise is still in its last section: a
  // move into the first section is then no section change for the timeline, but it is one here.
  if (section != m_currentSection) EnterSection(section);
  if (IsUntimed(m_currentSection)) {
    // The first slot boundary at or after the new position.
    m_untimedSlot = (sectionPosition + UntimedSlotTicks - 1) / UntimedSlotTicks;
    CompleteQuestion(false);
  } else {
    CompleteQuestion(true);
  }
}

void Exercise::MoveToSection(int section) {
  LessonLocker lock(LessonMutex());
  SetPosition(GetTimeline().GetSectionStartPosition(static_cast<unsigned long>(section)));
  Start();
}

// MIDI input.

void Exercise::ExternalMidiEvent(const MidiEvent& event) {
  InternalMidiEvent(event);
}

void Exercise::InternalMidiEvent(const MidiEvent& event) {
  const MidiMessage& message = event.GetMessage();
  std::shared_ptr<MidiOutDevice> thru;
  {
    LessonLocker lock(LessonMutex());
    // Checked under the lock: a note that arrives just after the question was decided must not
    // be kept for the next one. A question is answered from the moment it is asked, also while
    // it still sounds. A paused exercise takes no answer: play leaves its question behind.
    const ExerciseState state = GetState();
    if ((state == ES_PLAYING || state == ES_AWAITING_ANSWER) && GetPlaybackState() != PS_PAUSED &&
        message.IsStandardMessage()) {
      if (message.IsNoteAudible()) {
        if (!m_playbackCut) {
          StopMidi();
          m_playbackCut = true;
        }
        // The cut question will not report the end of its playback: its answer time starts now.
        if (state == ES_PLAYING) AwaitAnswer();
        // In the order played: a key of the on-screen piano has no time of its own.
        m_answerStream.GetEvents().append(event);
        Answer answer;
        answer.Kind = AK_NOTES;
        answer.Notes = m_answerStream;
        ProvideAnswer(answer);
        if (GetState() != ES_AWAITING_ANSWER) m_answerStream.Clear();
        const int note = message.GetNote();
        Subject<ExerciseObserver>::Notify(
            [note](ExerciseObserver* observer) { observer->OnNoteEvent(true, note); });
      } else if (message.IsNoteOff() || message.IsNoteOn()) {
        const int note = message.GetNote();
        Subject<ExerciseObserver>::Notify(
            [note](ExerciseObserver* observer) { observer->OnNoteEvent(false, note); });
      }
    }
    if (m_connector) thru = m_connector->GetMidiOutDevice();
  }
  // The played key sounds on the output whatever the state.
  if (thru) thru->SendMessage(message);
}

}  // namespace Core
