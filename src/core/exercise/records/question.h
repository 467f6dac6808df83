#pragma once

// A question as it is asked: its kind, the answers it accepts, its six answer variants and which
// of them is right. Pools hold the variant records; a question copies the six it needs.

#include <QString>

#include <memory>
#include <string>
#include <vector>

#include "src/core/midi/midi.h"

namespace Core {

// What kind of question it is: decides whether it is played before the answer is awaited and how
// played notes are compared with the expected ones.
enum QuestionType : unsigned int {
  QT_NONE = 0,
  QT_EAR = 1,         // heard, exact notes
  QT_TEMPO = 2,       // heard without a leading program change
  QT_NOTE = 3,        // note score, played too
  QT_SILENT = 4,      // not played
  QT_SYMBOL = 5,      // picture or symbol, not played
  QT_CHORD_NAME = 6,  // chord shown by name: any octave, never in order
};

// Bits of Question::AnswerMethods. No bit set accepts nothing: every answer is then wrong.
enum AnswerMethod : unsigned int {
  AM_NOTES = 1,     // MIDI keyboard or on-screen piano
  AM_VARIANT = 4,   // multiple choice
  AM_IN_ORDER = 8,  // notes must come in the given order
};

// One answer variant. Variants travel inside a question as this base class only; the subclasses'
// extra fields stay with the pools that build them.
class QuestionData {
 public:
  QuestionData() = default;
  QuestionData(const QuestionData&) = default;
  QuestionData(QuestionData&&) = default;
  QuestionData& operator=(const QuestionData&) = default;
  QuestionData& operator=(QuestionData&&) = default;
  virtual ~QuestionData();

  // The notes played for the correct variant and compared with MIDI answers; empty for variants
  // that are never played.
  std::shared_ptr<MidiStream> Stream;
  std::string Rmn;  // score text of this variant
  QString Picture;  // resource path of a picture shown instead of a score; may be empty
  QString Text;     // button label; for chord-name questions the part before the first line break
  int Id = 0;       // index in the variant's pool; the correct variant's id names the statistics
};

class QuestionNoteData : public QuestionData {
 public:
  unsigned int Key = 0;  // piano key index, 0 = A0
};

// Chords and intervals.
class QuestionChordData : public QuestionData {
 public:
  std::vector<unsigned int> Keys;  // piano key indices, 0 = A0
  unsigned int Inversion = 0;      // 0, 1, 2; always 0 for intervals
  unsigned int Kind = 0;           // chord type 0..17, or the interval size in semitones 0..12
  unsigned int Root = 0;
};

// The inherited keys and stream play the scale upwards; these play it downwards.
class QuestionScaleData : public QuestionChordData {
 public:
  std::vector<unsigned int> DescendingKeys;
  std::shared_ptr<MidiStream> DescendingStream;
};

class QuestionTempoData : public QuestionData {
 public:
  QString Description;  // what the tempo term means, shown beside its name
};

struct Question {
  unsigned int Type = QT_NONE;
  unsigned int AnswerMethods = 0;
  std::vector<QuestionData> VariantData;  // six once the question is prepared
  unsigned long CorrectVariant = 0;       // index into VariantData
  bool GClef = true;                      // treble clef for the question's scores
  bool Flat = false;                      // accidentals written as flats

  bool Accepts(unsigned int method) const { return (AnswerMethods & method) != 0; }
};

}  // namespace Core
