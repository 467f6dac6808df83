#include "tests/src/core/score_builder/trainer_scores.h"

#include <memory>
#include <set>
#include <utility>

#include "src/core/exercise/analysis/answer_check.h"
#include "src/core/exercise/ear_trainer.h"
#include "src/core/exercise/note_trainer.h"
#include "src/core/exercise/questions/question_pools.h"
#include "src/core/score_provider/score_provider.h"

namespace ScoreOverlaps {

namespace {

using namespace Core;

constexpr int LowestPianoNote = 21;  // MIDI note of key 0

// A question of a pool as the trainers ask it.
struct PoolQuestion {
  std::string name;
  std::vector<unsigned int> keys;      // as the score writes them
  std::shared_ptr<MidiStream> stream;  // as it sounds
  bool noteTrainer;  // asked by the note trainer too, which chooses its clef otherwise
};

std::vector<PoolQuestion> PoolOf(Section section) {
  std::vector<PoolQuestion> questions;
  switch (section) {
    case Section::SingleNotes:
      for (const QuestionNoteData& note : GetNotesPoolSustained())
        questions.push_back({"note " + std::to_string(note.Key), {note.Key}, note.Stream, true});
      break;
    case Section::Intervals:
      for (const QuestionChordData& interval : GetIntervalPool())
        questions.push_back(
            {"interval " + std::to_string(interval.Id), interval.Keys, interval.Stream, true});
      break;
    case Section::Chords:
      for (const QuestionChordData& chord : GetChordPool())
        questions.push_back({"chord " + std::to_string(chord.Id), chord.Keys, chord.Stream, true});
      break;
    case Section::Scales:
      for (const QuestionScaleData& scale : GetScalePool()) {
        const std::string name = "scale " + std::to_string(scale.Id);
        questions.push_back({name + " up", scale.Keys, scale.Stream, false});
        questions.push_back({name + " down", scale.DescendingKeys, scale.DescendingStream, false});
      }
      break;
  }
  return questions;
}

// The clefs (true for treble) the trainers draw the question in: the note trainer takes
// either clef that can show its lowest key, the ear trainer the one its average note picks.
std::set<bool> ClefsOf(const PoolQuestion& question) {
  Question asked;
  asked.VariantData.resize(1);
  asked.VariantData[0].Stream = question.stream;
  SetGKey(asked);
  std::set<bool> clefs = {asked.GClef};
  if (question.noteTrainer) {
    const bool previous = PrevGKey;
    for (CleffSettings only : {CleffSettings{true, false}, CleffSettings{false, true}})
      clefs.insert(ChooseNoteTrainerClef(only, question.keys.front()));
    PrevGKey = previous;
  }
  return clefs;
}

ScoreProvider::ScoreType TypeOf(Section section) {
  switch (section) {
    case Section::SingleNotes:
      return ScoreProvider::ST_NOTE;
    case Section::Intervals:
      return ScoreProvider::ST_INTERVAL;
    case Section::Chords:
      return ScoreProvider::ST_CHORD;
    case Section::Scales:
      break;
  }
  return ScoreProvider::ST_SEQUENCE;
}

// Intervals and scales are answered note after note, notes and chords at once.
bool AnsweredInSequence(Section section) {
  return section == Section::Intervals || section == Section::Scales;
}

std::string Describe(const PoolQuestion& question, bool treble, bool flat) {
  return question.name + (treble ? " treble" : " bass") + (flat ? " flats" : " sharps");
}

// Calls `each` with every clef and spelling of every question.
template <class Each>
void ForEachAsked(const std::vector<PoolQuestion>& pool, Each&& each) {
  for (const PoolQuestion& question : pool)
    for (bool treble : ClefsOf(question))
      for (bool flat : {false, true}) each(question, treble, flat);
}

MidiStream Played(const std::vector<int>& notes) {
  MidiStream stream;
  double time = 0;
  for (int note : notes) {
    const auto key = static_cast<unsigned char>(note);
    stream.AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, key, 96), 0, time));
    stream.AddEvent(MidiEvent(MidiMessage(MidiNoteOff, 0, key, 0), 0, time + 0.5));
    time += 0.5;
  }
  return stream;
}

struct Playing {
  std::string name;
  std::vector<int> notes;  // MIDI notes
};

// What a learner may play for the expected notes: all of them, some, or some a semitone off.
std::vector<Playing> PlayingsOf(const std::vector<int>& expected, bool sequence) {
  std::vector<Playing> playings = {{"right", expected}, {"first only", {expected.front()}}};
  std::vector<int> lastOff = expected;
  lastOff.back() += 1;
  playings.push_back({"last a semitone high", lastOff});
  if (sequence) {
    playings.push_back({"first a semitone high", {expected.front() + 1}});
    const size_t middle = expected.size() / 2;
    if (middle > 0 && middle + 1 < expected.size()) {
      std::vector<int> middleOff(expected.begin(), expected.begin() + long(middle) + 1);
      middleOff.back() -= 1;
      playings.push_back({"middle a semitone low", middleOff});
    }
  } else {
    std::vector<int> allOff = expected;
    for (int& note : allOff) note -= 1;
    playings.push_back({"all a semitone low", allOff});
  }
  return playings;
}

void Keep(std::vector<TrainerScore>& scores, std::set<std::string>& seen, std::string source,
          std::string rmn) {
  if (seen.insert(rmn).second) scores.push_back({std::move(source), std::move(rmn)});
}

}  // namespace

std::vector<TrainerScore> QuestionScores(Section section) {
  std::vector<TrainerScore> scores;
  std::set<std::string> seen;
  ForEachAsked(PoolOf(section), [&](const PoolQuestion& question, bool treble, bool flat) {
    Keep(scores, seen, Describe(question, treble, flat),
         ScoreProvider::GetQuestionScoreNotes(question.keys, treble, flat, TypeOf(section)));
  });
  return scores;
}

std::vector<TrainerScore> AnswerScores(Section section) {
  std::vector<TrainerScore> scores;
  std::set<std::string> seen;
  const bool sequence = AnsweredInSequence(section);
  ForEachAsked(PoolOf(section), [&](const PoolQuestion& question, bool treble, bool flat) {
    Question asked;
    asked.Type = QT_NOTE;
    asked.AnswerMethods = AM_NOTES | (section == Section::Scales ? AM_IN_ORDER : 0u);
    asked.GClef = treble;
    asked.Flat = flat;
    asked.VariantData.resize(1);
    asked.VariantData[0].Stream = question.stream;
    std::vector<int> expected;
    for (unsigned int key : question.keys) expected.push_back(int(key) + LowestPianoNote);
    for (const Playing& playing : PlayingsOf(expected, sequence)) {
      Answer answer;
      answer.Kind = AK_NOTES;
      answer.Notes = Played(playing.notes);
      std::string rmn;
      std::vector<NoteWAnalysis> notes;
      int firstWrong = -1;
      AnalyseAnswer(asked, answer, rmn, notes, sequence, firstWrong);
      Keep(scores, seen, Describe(question, treble, flat) + ", " + playing.name, rmn);
    }
  });
  return scores;
}

}  // namespace ScoreOverlaps
