#pragma once

// The process-wide pools of note, interval, chord and scale questions. A question is named by its
// index in its pool (its id, also the id of its statistics record). Each getter builds its pool on
// first use and returns the same vector for the rest of the process; building a pool also fills
// its lists of ids by root key, which the similar-variant providers draw from.
//
// Pool layouts (id of an entry):
//   notes      88    the key 0..87
//   intervals  1066  IntervalsBegin[size] + root, size 0..12, root 0..87 - size
//   chords     4099  running count over inversion 0..2, type 0..17, root 0..MaxChordNote[type][inv]
//   scales     760   type * 76 + root, type 0..9, root 0..75
//
// Every MIDI event built here is on channel 0 with velocity 96 and 0 pulses, timed in seconds;
// piano key k sounds as MIDI note k + 21.

#include <array>
#include <vector>

#include "src/core/exercise/questions/question_shapes.h"
#include "src/core/exercise/records/question.h"

namespace Core {

// Ids of pool entries by root key, in pool order.
using QuestionsByRootNote = std::array<std::vector<int>, PianoKeyCount>;

extern QuestionsByRootNote IntervalQuestionsByRootNote;
extern QuestionsByRootNote ChordQuestionsByRootNote;
extern QuestionsByRootNote ScaleQuestionsByRootNote;

// Key names are written with sharps. Unless sustained, the note stops after half a second.
QuestionNoteData GenerateNote(unsigned int key, bool sustained);
// Root then root + size, played one after the other, half a second each.
QuestionChordData GenerateInterval(unsigned int root, unsigned int size);
// Keys sorted ascending, played as an arpeggio from the lowest up, half a second each. The top
// note must be on the keyboard (root <= MaxChordNote[type][inversion]).
QuestionChordData GenerateChord(unsigned int root, unsigned int type, unsigned int inversion);
// Both directions, legato, one note every half second; the melodic minor descends as the natural
// minor.
QuestionScaleData GenerateScale(unsigned int root, unsigned int type);

const std::vector<QuestionNoteData>& GetNotesPoolSharp();
const std::vector<QuestionNoteData>& GetNotesPoolSustained();
const std::vector<QuestionChordData>& GetIntervalPool();
const std::vector<QuestionChordData>& GetChordPool();
const std::vector<QuestionScaleData>& GetScalePool();

// One representative id per question group, as the statistics views show them: one per interval
// size, one per chord type. Appended to `groups`.
void GetIntervalGroups(std::vector<int>& groups);
void GetChordGroups(std::vector<int>& groups);

}  // namespace Core
