#include "src/core/exercise/questions/question_pools.h"

#include <algorithm>
#include <memory>

#include "src/common/assertion.h"
#include "src/core/exercise/theory/names.h"

namespace Core {

QuestionsByRootNote IntervalQuestionsByRootNote;
QuestionsByRootNote ChordQuestionsByRootNote;
QuestionsByRootNote ScaleQuestionsByRootNote;

namespace {

constexpr unsigned char Velocity = 96;
constexpr double NoteLength = 0.5;  // seconds

unsigned char MidiNote(unsigned int key) {
  return static_cast<unsigned char>(key + 21);
}

void AddNote(MidiStream& stream, unsigned int key, double on, double off) {
  stream.AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, MidiNote(key), Velocity), 0, on));
  stream.AddEvent(MidiEvent(MidiMessage(MidiNoteOff, 0, MidiNote(key), Velocity), 0, off));
}

// One key after the other, each sounding until the next begins.
std::shared_ptr<MidiStream> Legato(const std::vector<unsigned int>& keys) {
  auto stream = std::make_shared<MidiStream>();
  for (std::size_t i = 0; i < keys.size(); ++i)
    AddNote(*stream, keys[i], NoteLength * static_cast<double>(i),
            NoteLength * static_cast<double>(i + 1));
  return stream;
}

std::vector<QuestionNoteData> BuildNotesPool(bool sustained) {
  std::vector<QuestionNoteData> pool;
  pool.reserve(PianoKeyCount);
  for (unsigned int key = 0; key < PianoKeyCount; ++key)
    pool.push_back(GenerateNote(key, sustained));
  return pool;
}

std::vector<QuestionChordData> BuildIntervalPool() {
  std::vector<QuestionChordData> pool;
  pool.reserve(IntervalPoolSize);
  for (unsigned int size = 0; size < static_cast<unsigned int>(IntervalTypeCount); ++size) {
    for (unsigned int root = 0; root + size <= HighestKey; ++root) {
      QuestionChordData entry = GenerateInterval(root, size);
      entry.Id = static_cast<int>(IntervalsBegin[size] + root);
      IntervalQuestionsByRootNote[root].push_back(entry.Id);
      pool.push_back(std::move(entry));
    }
  }
  return pool;
}

std::vector<QuestionChordData> BuildChordPool() {
  std::vector<QuestionChordData> pool;
  pool.reserve(ChordPoolSize);
  for (unsigned int inversion = 0; inversion < ChordInversionCount; ++inversion) {
    for (unsigned int type = 0; type < ChordTypeCount; ++type) {
      for (unsigned int root = 0; root <= MaxChordNote[type][inversion]; ++root) {
        QuestionChordData entry = GenerateChord(root, type, inversion);
        entry.Id = static_cast<int>(pool.size());
        ChordQuestionsByRootNote[root].push_back(entry.Id);
        pool.push_back(std::move(entry));
      }
    }
  }
  return pool;
}

std::vector<QuestionScaleData> BuildScalePool() {
  std::vector<QuestionScaleData> pool;
  pool.reserve(ScalePoolSize);
  for (unsigned int type = 0; type < ScaleTypeCount; ++type) {
    for (unsigned int root = 0; root < ScaleRootCount; ++root) {
      QuestionScaleData entry = GenerateScale(root, type);
      entry.Id = static_cast<int>(type * ScaleRootCount + root);
      ScaleQuestionsByRootNote[root].push_back(entry.Id);
      pool.push_back(std::move(entry));
    }
  }
  return pool;
}

}  // namespace

QuestionNoteData GenerateNote(unsigned int key, bool sustained) {
  MELVARIN_ASSERT(key <= HighestKey);
  QuestionNoteData note;
  note.Key = key;
  note.Id = static_cast<int>(key);
  note.Text = GetNoteString(static_cast<unsigned char>(key), false);
  note.Stream = std::make_shared<MidiStream>();
  note.Stream->AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, MidiNote(key), Velocity), 0, 0.0));
  if (!sustained)
    note.Stream->AddEvent(
        MidiEvent(MidiMessage(MidiNoteOff, 0, MidiNote(key), Velocity), 0, NoteLength));
  return note;
}

QuestionChordData GenerateInterval(unsigned int root, unsigned int size) {
  MELVARIN_ASSERT(size < static_cast<unsigned int>(IntervalTypeCount) && root + size <= HighestKey);
  QuestionChordData interval;
  interval.Keys = {root, root + size};
  interval.Kind = size;
  interval.Root = root;
  interval.Id = static_cast<int>(IntervalsBegin[size] + root);
  interval.Text = GetIntervalString(static_cast<int>(size), root, false);
  interval.Stream = Legato(interval.Keys);
  return interval;
}

QuestionChordData GenerateChord(unsigned int root, unsigned int type, unsigned int inversion) {
  MELVARIN_ASSERT(type < ChordTypeCount && inversion < ChordInversionCount);
  MELVARIN_ASSERT(root <= MaxChordNote[type][inversion]);
  QuestionChordData chord;
  for (unsigned int note = 0; note < ChordShapes[type].count; ++note)
    chord.Keys.push_back(root + InvertedOffset(type, inversion, note));
  std::sort(chord.Keys.begin(), chord.Keys.end());
  chord.Inversion = inversion;
  chord.Kind = type;
  chord.Root = root;
  chord.Text = GetChordString(type, root, static_cast<int>(inversion), false);
  chord.Stream = Legato(chord.Keys);
  return chord;
}

QuestionScaleData GenerateScale(unsigned int root, unsigned int type) {
  MELVARIN_ASSERT(type < ScaleTypeCount && root < ScaleRootCount);
  QuestionScaleData scale;
  const ScaleShape& shape = ScaleShapes[type];
  for (unsigned int note = 0; note < shape.count; ++note)
    scale.Keys.push_back(root + shape.offsets[note]);
  scale.Keys.push_back(root + 12);
  scale.DescendingKeys.assign(scale.Keys.rbegin(), scale.Keys.rend());
  if (type == MelodicMinorScale) {
    // Played downwards the melodic minor lowers its sixth and seventh again.
    scale.DescendingKeys[1] = root + 10;
    scale.DescendingKeys[2] = root + 8;
  }
  scale.Kind = type;
  scale.Root = root;
  scale.Id = static_cast<int>(type * ScaleRootCount + root);
  scale.Text = GetScaleString(type, root, false);
  scale.Stream = Legato(scale.Keys);
  scale.DescendingStream = Legato(scale.DescendingKeys);
  return scale;
}

const std::vector<QuestionNoteData>& GetNotesPoolSharp() {
  static const std::vector<QuestionNoteData> pool = BuildNotesPool(false);
  return pool;
}

const std::vector<QuestionNoteData>& GetNotesPoolSustained() {
  static const std::vector<QuestionNoteData> pool = BuildNotesPool(true);
  return pool;
}

const std::vector<QuestionChordData>& GetIntervalPool() {
  static const std::vector<QuestionChordData> pool = BuildIntervalPool();
  return pool;
}

const std::vector<QuestionChordData>& GetChordPool() {
  static const std::vector<QuestionChordData> pool = BuildChordPool();
  return pool;
}

const std::vector<QuestionScaleData>& GetScalePool() {
  static const std::vector<QuestionScaleData> pool = BuildScalePool();
  return pool;
}

void GetIntervalGroups(std::vector<int>& groups) {
  for (int size = 0; size < IntervalTypeCount; ++size)
    groups.push_back(static_cast<int>(IntervalsBegin[static_cast<std::size_t>(size)]) + 1);
}

void GetChordGroups(std::vector<int>& groups) {
  unsigned long first = 0;  // first root-position id of the type
  for (unsigned int type = 0; type < ChordTypeCount; ++type) {
    groups.push_back(static_cast<int>(first) + 1);
    first += MaxChordNote[type][0] + 1;
  }
}

}  // namespace Core
