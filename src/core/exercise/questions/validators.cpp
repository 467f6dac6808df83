#include "src/core/exercise/questions/validators.h"

#include <algorithm>

#include "src/core/exercise/questions/question_shapes.h"
#include "src/core/exercise/theory/tempo.h"
#include "src/core/midi/midi.h"

namespace Core {

namespace {

constexpr int KeyCount = static_cast<int>(PianoKeyCount);

bool IsBlackKey(int key) {
  return key >= 0 && key < KeyCount && IsMidiChromatic(static_cast<unsigned char>(key + 21));
}

bool HoldsBlackKey(int lo, int hi) {
  for (int key = std::max(lo, 0); key < std::min(hi, KeyCount); ++key)
    if (IsBlackKey(key)) return true;
  return false;
}

}  // namespace

bool ValidateNoteQuestion(unsigned long key, const NotesDiapason* range) {
  if (key >= PianoKeyCount) return false;
  // Stored bounds may be anything; outside the keyboard they mean its ends, which keeps the
  // widening below short and its arithmetic free of overflow.
  int lo = std::clamp(range->minimum, 0, KeyCount);
  int hi = std::clamp(range->maximum, 0, KeyCount);
  const bool white = range->chromatic.white;
  const bool black = range->chromatic.black;

  if (black && lo >= 1 && IsBlackKey(lo - 1)) --lo;

  if (hi - lo <= 2 && black && !white) {
    while (!HoldsBlackKey(lo, hi) && (hi < KeyCount || lo > 0)) {
      if (hi < KeyCount)
        ++hi;
      else
        --lo;
    }
  }

  const int k = static_cast<int>(key);
  if (k < lo || k >= hi) return false;
  return IsBlackKey(k) ? black : white;
}

bool ValidateIntervalQuestion(unsigned long id, const IntervalSettings* settings) {
  if (id >= IntervalPoolSize) return false;
  int size = 0;
  while (IntervalsBegin[static_cast<std::size_t>(size) + 1] <= id) ++size;
  if (size < settings->intervalStart || size > settings->intervalEnd) return false;
  return ValidateNoteQuestion(id - IntervalsBegin[static_cast<std::size_t>(size)],
                              &settings->diapason);
}

bool ValidateChordQuestion(unsigned long id, const ChordSettings* settings) {
  if (id >= ChordPoolSize) return false;
  unsigned int inversion = 0;
  while (ChordInversionBegin[inversion + 1] <= id) ++inversion;
  if (inversion == 1 && !settings->FirstInversion) return false;
  if (inversion == 2 && !settings->SecondInversion) return false;

  unsigned long rest = id - ChordInversionBegin[inversion];
  unsigned int type = 0;
  while (rest > MaxChordNote[type][inversion]) {
    rest -= MaxChordNote[type][inversion] + 1;
    ++type;
  }
  if (!isOn(type, settings)) return false;
  return ValidateNoteQuestion(rest, &settings->diapason);
}

bool ValidateScaleQuestion(unsigned long id, const ScalesSettings* settings) {
  if (id >= ScalePoolSize) return false;
  // By scale type; the flags are stored in another order.
  const bool flags[ScaleTypeCount] = {
      settings->NaturalMaj,    settings->NaturalMin,    settings->Harmonic,   settings->MelodicMin,
      settings->PentatonicMaj, settings->PentatonicMin, settings->Diminished, settings->Blues,
      settings->Augmented,     settings->WholeTone};
  if (!flags[id / ScaleRootCount]) return false;
  return ValidateNoteQuestion(id % ScaleRootCount, &settings->diapason);
}

bool ValidateTempoQuestion(unsigned long id, const TempoSettings* settings) {
  switch (id / MaxMelodiesPerTempo) {
    case TEMPO_ADAGIO:
      return settings->Adagio;
    case TEMPO_ALLEGRO:
      return settings->Allegro;
    case TEMPO_ANDANTE:
      return settings->Andante;
    case TEMPO_LARGO:
      return settings->Largo;
    case TEMPO_MODERATO:
      return settings->Moderato;
    case TEMPO_PRESTO:
      return settings->Presto;
    case TEMPO_VIVACE:
      return settings->Vivace;
    default:
      return false;
  }
}

bool SameSelection(const NotesDiapason& a, const NotesDiapason& b) {
  return a.minimum == b.minimum && a.maximum == b.maximum &&
         a.chromatic.white == b.chromatic.white && a.chromatic.black == b.chromatic.black;
}

bool SameSelection(const IntervalSettings& a, const IntervalSettings& b) {
  return a.intervalStart == b.intervalStart && a.intervalEnd == b.intervalEnd &&
         SameSelection(a.diapason, b.diapason);
}

bool SameSelection(const ChordSettings& a, const ChordSettings& b) {
  for (unsigned int type = 0; type < ChordTypeCount; ++type)
    if (isOn(type, &a) != isOn(type, &b)) return false;
  return a.FirstInversion == b.FirstInversion && a.SecondInversion == b.SecondInversion &&
         SameSelection(a.diapason, b.diapason);
}

bool SameSelection(const ScalesSettings& a, const ScalesSettings& b) {
  return a.NaturalMaj == b.NaturalMaj && a.NaturalMin == b.NaturalMin &&
         a.PentatonicMaj == b.PentatonicMaj && a.PentatonicMin == b.PentatonicMin &&
         a.Harmonic == b.Harmonic && a.MelodicMin == b.MelodicMin && a.Diminished == b.Diminished &&
         a.Blues == b.Blues && a.Augmented == b.Augmented && a.WholeTone == b.WholeTone &&
         SameSelection(a.diapason, b.diapason);
}

bool SameSelection(const TempoSettings& a, const TempoSettings& b) {
  for (unsigned long tempo = 0; tempo < TempoTypeCount; ++tempo) {
    const unsigned long id = tempo * MaxMelodiesPerTempo;
    if (ValidateTempoQuestion(id, &a) != ValidateTempoQuestion(id, &b)) return false;
  }
  return true;
}

bool ChordValid(unsigned long root, unsigned long type, unsigned long inversion) {
  return type < ChordTypeCount && inversion < ChordInversionCount &&
         root <= MaxChordNote[type][inversion];
}

bool isOn(unsigned int type, const ChordSettings* settings) {
  switch (type) {
    case 0:
      return settings->MajorTriad;
    case 1:
      return settings->MinorTriad;
    case 2:
      return settings->MajorSixth;
    case 3:
      return settings->MinorSixth;
    case 4:
      return settings->MajorSeventh;
    case 5:
      return settings->MinorSeventh;
    case 6:
      return settings->DominantSeventh;
    case 7:
      return settings->Suspended2;
    case 8:
      return settings->Suspended4;
    case 9:
      return settings->SuspendedSixth2;
    case 10:
      return settings->SuspendedSixth4;
    case 11:
      return settings->SuspendedSeventh2;
    case 12:
      return settings->SuspendedSeventh4;
    case 13:
      return settings->Augmented;
    case 14:
      return settings->AugmentedSixth;
    case 15:
      return settings->AugmentedSeventh;
    case 16:
      return settings->Diminished;
    case 17:
      return settings->DiminishedSeventh;
    default:
      return false;
  }
}

}  // namespace Core
