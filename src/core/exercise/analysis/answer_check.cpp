#include "src/core/exercise/analysis/answer_check.h"

#include <algorithm>
#include <cstddef>
#include <optional>

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

// Which expected notes the played ones stand for, paired as the judge pairs them (key for key),
// and the first played note that stands for none. In order, the pairing ends at that note; in any
// order a played note may stand for any expected note not yet taken.
struct SequencePairing {
  std::vector<bool> right;
  std::optional<int> firstWrong;
};

SequencePairing PairSequence(const std::vector<int>& expected, const std::vector<int>& played,
                             bool ordered) {
  SequencePairing pairing{std::vector<bool>(expected.size(), false), std::nullopt};
  for (size_t k = 0; k < played.size(); ++k) {
    size_t match = expected.size();
    if (ordered) {
      if (k < expected.size() && expected[k] == played[k]) match = k;
    } else {
      for (size_t i = 0; i < expected.size() && match == expected.size(); ++i)
        if (!pairing.right[i] && expected[i] == played[k]) match = i;
    }
    if (match < expected.size()) {
      pairing.right[match] = true;
      continue;
    }
    if (!pairing.firstWrong) pairing.firstWrong = played[k];
    if (ordered) break;
  }
  return pairing;
}

// Walks the expected notes in order; the first wrong played note is shown just before the first
// expected note it left unplayed, and any later wrong note is not shown.
void AnalyseAsSequence(const std::vector<int>& expected, const std::vector<int>& played,
                       bool ordered, bool gClef, std::vector<NoteWAnalysis>& notes,
                       int& firstWrong) {
  const SequencePairing pairing = PairSequence(expected, played, ordered);
  bool wrongShown = false;
  for (size_t i = 0; i < expected.size(); ++i) {
    const bool right = pairing.right[i];
    if (!right && pairing.firstWrong && !wrongShown) {
      const int playedKey = *pairing.firstWrong - kLowestPianoNote;
      notes.push_back({playedKey, NoteWAnalysis::CL_WRONG});
      firstWrong = validate5Bars(gClef, playedKey) ? static_cast<int>(i) : -1;
      wrongShown = true;
    }
    notes.push_back({expected[i] - kLowestPianoNote,
                     right ? NoteWAnalysis::CL_RIGHT : NoteWAnalysis::CL_NOT_PLAYED});
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
    AnalyseAsSequence(expected, played, question.Accepts(AM_IN_ORDER), question.GClef, notes,
                      firstWrong);
    rmn = ScoreProvider::GetQuestionScoreAnswerNotesSequence(notes, question.GClef, question.Flat);
  } else {
    AnalyseAsChord(expected, played, question.Accepts(AM_IN_ORDER), question.Type == QT_CHORD_NAME,
                   notes);
    rmn = ScoreProvider::GetQuestionScoreAnswerNotes(notes, question.GClef, question.Flat);
  }
}

}  // namespace Core
