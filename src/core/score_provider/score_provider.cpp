#include "src/core/score_provider/score_provider.h"

#include "src/core/score_provider/note_text.h"
#include "src/core/score_provider/rmn_fragments.h"

namespace Core {

namespace {

const char kScoreStart[] = "{ ";
const char kVoiceStart[] = "[ \\staff<1> ";
const char kVoiceSeparator[] = ", ";
const char kEmptyVoiceEnd[] = " ] }";
const char kScoreEnd[] = " }";

void BeginVoice(std::string& text, bool gClef) {
  text += kVoiceStart;
  text += gClef ? GCleffC : FCleffC;
  text += StemsAuto;
}

// One chord body: notes joined by commas.
class ChordBody {
 public:
  bool Empty() const { return m_text.empty(); }
  const std::string& Text() const { return m_text; }

  std::string& Next() {
    if (!m_text.empty()) m_text += comma;
    return m_text;
  }

 private:
  std::string m_text;
};

}  // namespace

std::string ScoreProvider::GetQuestionScoreNotes(std::vector<unsigned int> keys, bool gClef,
                                                 bool flat, ScoreType scoreType) {
  const bool chord = scoreType == ST_CHORD;
  // Black keys in a chord are spelled against their white neighbours in the same chord.
  const std::vector<unsigned int> chordKeys = chord ? keys : std::vector<unsigned int>();

  std::string text = kScoreStart;
  BeginVoice(text, gClef);
  bool first = true;
  for (unsigned int key : keys) {
    const int k = static_cast<int>(key);
    if (key > 0x7FFFFFFFu || !HasRazidName(k)) continue;
    if (first) {
      text += chord ? startChord : whitespace;
      first = false;
    } else {
      text += chord ? comma : whitespace;
    }
    noteToRazid(text, k, flat, chordKeys);
  }
  if (chord && !first) text += finishChord;
  text += finishStaff;
  text += kVoiceSeparator;
  BeginVoice(text, gClef);
  text += kEmptyVoiceEnd;
  return text;
}

std::string ScoreProvider::GetQuestionScoreAnswerNotes(std::vector<NoteWAnalysis> notes, bool gClef,
                                                       bool flat) {
  std::vector<unsigned int> wrongKeys;
  std::vector<unsigned int> otherKeys;
  for (const NoteWAnalysis& note : notes) {
    if (!HasRazidName(note.Key)) continue;
    (note.NoteColor == NoteWAnalysis::CL_WRONG ? wrongKeys : otherKeys)
        .push_back(static_cast<unsigned int>(note.Key));
  }

  ChordBody wrong;
  ChordBody other;
  for (const NoteWAnalysis& note : notes) {
    if (!HasRazidName(note.Key)) continue;
    if (note.NoteColor == NoteWAnalysis::CL_WRONG) {
      if (!validate5Bars(gClef, note.Key)) continue;
      noteToRazid(wrong.Next(), note.Key, flat, wrongKeys);
    } else {
      std::string& body = other.Next();
      noteColor(body, note.NoteColor);
      noteToRazid(body, note.Key, flat, otherKeys);
    }
  }

  std::string text = kScoreStart;
  BeginVoice(text, gClef);
  if (!wrong.Empty()) {
    text += startChord;
    text += wrongFormat;
    text += wrong.Text();
    text += finishChord;
  }
  text += startChord;
  text += other.Text();
  text += finishChord;
  text += finishStaff;
  text += kScoreEnd;
  return text;
}

std::string ScoreProvider::GetQuestionScoreAnswerNotesSequence(std::vector<NoteWAnalysis> notes,
                                                               bool gClef, bool flat) {
  std::string text = kScoreStart;
  BeginVoice(text, gClef);
  for (const NoteWAnalysis& note : notes) {
    if (!validate5Bars(gClef, note.Key)) continue;
    noteColor(text, note.NoteColor);
    noteToRazid(text, note.Key, flat);
  }
  text += finishStaff;
  text += kScoreEnd;
  return text;
}

}  // namespace Core
