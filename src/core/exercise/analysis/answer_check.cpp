#include "src/core/exercise/analysis/answer_check.h"

#include <algorithm>
#include <cstddef>

#include "src/common/assertion.h"
#include "src/core/score_provider/note_text.h"
#include "src/core/score_provider/score_provider.h"

namespace Core {

namespace {

// MIDI note of piano key 0 (A0).
constexpr int kLowestPianoNote = 21;

std::vector<int> AudibleNotes(const MidiStream& stream) {
  std::vector<int> notes;
  for (const MidiEvent& event : stream.GetEvents()) {
    if (event.GetMessage().IsNoteAudible()) notes.push_back(event.GetMessage().GetNote());
  }
  return notes;
}

bool Matches(int expected, int played, bool anyOctave) {
  // Same pitch class: comparing the notes mod 12 also holds below A0, where (note - 21) would be
  // negative.
  return anyOctave ? expected % 12 == played % 12 : expected == played;
}

// Removes and reports the expected note that `played` matches: the first remaining one only when
// the order counts, else the first match in order.
bool TakeMatch(std::vector<int>& expected, int played, bool ordered, bool anyOctave) {
  const size_t candidates = ordered ? std::min<size_t>(1, expected.size()) : expected.size();
  for (size_t i = 0; i < candidates; ++i) {
    if (Matches(expected[i], played, anyOctave)) {
      expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  }
  return false;
}

const MidiStream& StreamOf(const Question& question, unsigned long variant) {
  MELVARIN_ASSERT(variant < question.VariantData.size());
  const QuestionData& data = question.VariantData[variant];
  MELVARIN_ASSERT(data.Stream != nullptr);
  return *data.Stream;
}

void AnalyseAsChord(std::vector<int> expected, const std::vector<int>& played, bool ordered,
                    bool anyOctave, std::vector<NoteWAnalysis>& notes) {
  for (int note : played) {
    const bool right = TakeMatch(expected, note, ordered, anyOctave);
    notes.push_back(
        {note - kLowestPianoNote, right ? NoteWAnalysis::CL_RIGHT : NoteWAnalysis::CL_WRONG});
  }
  for (int note : expected)
    notes.push_back({note - kLowestPianoNote, NoteWAnalysis::CL_NOT_PLAYED});
}

// Walks the expected notes in order and stops matching at the first wrong played note, which is
// shown just before the note it should have been; played notes after it are not shown.
void AnalyseAsSequence(const std::vector<int>& expected, const std::vector<int>& played, bool gClef,
                       std::vector<NoteWAnalysis>& notes, int& firstWrong) {
  size_t next = 0;
  bool matching = true;
  for (size_t i = 0; i < expected.size(); ++i) {
    NoteWAnalysis entry{expected[i] - kLowestPianoNote, NoteWAnalysis::CL_NOT_PLAYED};
    if (matching) {
      if (next == played.size()) {
        matching = false;
      } else {
        const int playedKey = played[next] - kLowestPianoNote;
        if (playedKey == entry.Key) {
          entry.NoteColor = NoteWAnalysis::CL_RIGHT;
          ++next;
        } else {
          notes.push_back({playedKey, NoteWAnalysis::CL_WRONG});
          firstWrong = validate5Bars(gClef, playedKey) ? static_cast<int>(i) : -1;
          matching = false;
        }
      }
    }
    notes.push_back(entry);
  }
}

}  // namespace

int CompareChords(const MidiStream& expected, const MidiStream& played, bool ordered,
                  bool anyOctave) {
  std::vector<int> remaining = AudibleNotes(expected);
  const std::vector<int> playedNotes = AudibleNotes(played);
  if (remaining.size() < playedNotes.size()) return VerdictWrong;
  for (int note : playedNotes) {
    if (!TakeMatch(remaining, note, ordered, anyOctave)) return VerdictWrong;
  }
  return remaining.empty() ? VerdictRight : VerdictIncomplete;
}

void AnalyseAnswer(const Question& question, const Answer& answer, std::string& rmn,
                   std::vector<NoteWAnalysis>& notes, bool sequence, int& firstWrong) {
  const std::vector<int> expected = AudibleNotes(StreamOf(question, question.CorrectVariant));
  const std::vector<int> played = AudibleNotes(
      answer.Kind == AK_VARIANT ? StreamOf(question, answer.ChosenVariant) : answer.Notes);

  if (sequence) {
    AnalyseAsSequence(expected, played, question.GClef, notes, firstWrong);
    rmn = ScoreProvider::GetQuestionScoreAnswerNotesSequence(notes, question.GClef, question.Flat);
  } else {
    AnalyseAsChord(expected, played, question.Accepts(AM_IN_ORDER), question.Type == QT_CHORD_NAME,
                   notes);
    rmn = ScoreProvider::GetQuestionScoreAnswerNotes(notes, question.GClef, question.Flat);
  }
}

}  // namespace Core
