// Equality as the difficulty levels see it: only what a level defines takes part.

#include "src/core/settings/exercise_settings.h"

namespace Core {

namespace {

bool SameRange(const NotesDiapason& a, const NotesDiapason& b) {
  return a.minimum == b.minimum && a.maximum == b.maximum &&
         a.chromatic.white == b.chromatic.white && a.chromatic.black == b.chromatic.black;
}

bool SameClefs(const CleffSettings& a, const CleffSettings& b) {
  return a.gClef == b.gClef && a.fClef == b.fClef;
}

bool SameSingleNotes(const SingleNotesSettings& a, const SingleNotesSettings& b) {
  return SameRange(a.diapason, b.diapason) && SameClefs(a.cleff, b.cleff);
}

bool SameIntervals(const IntervalSettings& a, const IntervalSettings& b) {
  return a.intervalStart == b.intervalStart && a.intervalEnd == b.intervalEnd &&
         SameRange(a.diapason, b.diapason) && SameClefs(a.cleff, b.cleff) &&
         a.arpeggiated == b.arpeggiated;
}

bool SameTempo(const TempoSettings& a, const TempoSettings& b) {
  return a.Largo == b.Largo && a.Adagio == b.Adagio && a.Andante == b.Andante &&
         a.Allegro == b.Allegro && a.Moderato == b.Moderato && a.Presto == b.Presto &&
         a.Prestissimo == b.Prestissimo && a.Vivace == b.Vivace;
}

bool SameLengths(const LengthSettings& a, const LengthSettings& b) {
  return a.Whole == b.Whole && a.Half == b.Half && a.Quarter == b.Quarter && a.Eights == b.Eights &&
         a.Sixteenth == b.Sixteenth && a.ThirtySecond == b.ThirtySecond &&
         a.SixtyFourth == b.SixtyFourth && a.HundredTwentyEight == b.HundredTwentyEight &&
         a.Rests == b.Rests;
}

// Piano and Pianississimo are left to the learner at every level.
bool SameLoudness(const LoudnessSettings& a, const LoudnessSettings& b) {
  return a.Pianissimo == b.Pianissimo && a.MezzoPiano == b.MezzoPiano &&
         a.MezzoForte == b.MezzoForte && a.Forte == b.Forte && a.Fortissimo == b.Fortissimo &&
         a.Fortississimo == b.Fortississimo && a.Sforzando == b.Sforzando &&
         a.Crescendo == b.Crescendo && a.Diminuendo == b.Diminuendo;
}

}  // namespace

bool operator==(const ChordSettings& a, const ChordSettings& b) {
  return a.MajorTriad == b.MajorTriad && a.MinorTriad == b.MinorTriad &&
         a.MajorSixth == b.MajorSixth && a.MinorSixth == b.MinorSixth &&
         a.MajorSeventh == b.MajorSeventh && a.MinorSeventh == b.MinorSeventh &&
         a.DominantSeventh == b.DominantSeventh && a.Suspended2 == b.Suspended2 &&
         a.Suspended4 == b.Suspended4 && a.SuspendedSixth2 == b.SuspendedSixth2 &&
         a.SuspendedSixth4 == b.SuspendedSixth4 && a.SuspendedSeventh2 == b.SuspendedSeventh2 &&
         a.SuspendedSeventh4 == b.SuspendedSeventh4 && a.Augmented == b.Augmented &&
         a.AugmentedSixth == b.AugmentedSixth && a.AugmentedSeventh == b.AugmentedSeventh &&
         a.Diminished == b.Diminished && a.DiminishedSeventh == b.DiminishedSeventh &&
         a.FirstInversion == b.FirstInversion && a.SecondInversion == b.SecondInversion &&
         a.Arpeggiated == b.Arpeggiated && a.ChordNotation == b.ChordNotation &&
         SameRange(a.diapason, b.diapason) && SameClefs(a.cleff, b.cleff);
}

bool operator==(const ScalesSettings& a, const ScalesSettings& b) {
  return a.NaturalMaj == b.NaturalMaj && a.NaturalMin == b.NaturalMin &&
         a.PentatonicMaj == b.PentatonicMaj && a.PentatonicMin == b.PentatonicMin &&
         a.Harmonic == b.Harmonic && a.MelodicMin == b.MelodicMin && a.Diminished == b.Diminished &&
         a.Blues == b.Blues && a.Augmented == b.Augmented && a.WholeTone == b.WholeTone &&
         a.ApplyDifferentScaleModes == b.ApplyDifferentScaleModes && a.Ascending == b.Ascending &&
         a.Descending == b.Descending && SameRange(a.diapason, b.diapason) &&
         SameClefs(a.cleff, b.cleff);
}

bool operator==(const KeySignaturesSettings& a, const KeySignaturesSettings& b) {
  return a.CMaj == b.CMaj && a.AMaj == b.AMaj && a.GMaj == b.GMaj && a.EMaj == b.EMaj &&
         a.DMaj == b.DMaj && a.BMaj == b.BMaj && a.FMaj == b.FMaj && a.GbMaj == b.GbMaj &&
         a.EbMaj == b.EbMaj && a.DbMaj == b.DbMaj && a.BbMaj == b.BbMaj && a.AbMaj == b.AbMaj;
}

// Stacatto is left to the learner at every level.
bool operator==(const NoteModifiersSettings& a, const NoteModifiersSettings& b) {
  return a.Fermata == b.Fermata && a.Tremolo == b.Tremolo && a.Stacattissimo == b.Stacattissimo &&
         a.Trill == b.Trill && a.EngagePedal == b.EngagePedal && a.ReleasePedal == b.ReleasePedal &&
         a.Acent == b.Acent && a.Tie == b.Tie && a.OttavaAlto == b.OttavaAlto &&
         a.Marcato == b.Marcato && a.OttavaBasso == b.OttavaBasso && a.Natural == b.Natural &&
         a.Flat == b.Flat && a.Sharp == b.Sharp && a.RepeatSigns == b.RepeatSigns &&
         a.VoltaBracket == b.VoltaBracket && a.Appogiatura == b.Appogiatura &&
         a.DoubleFlat == b.DoubleFlat && a.DoubleSharp == b.DoubleSharp &&
         a.Arpeggio == b.Arpeggio && a.Tenuto == b.Tenuto && a.Slur == b.Slur &&
         a.Acciaccatura == b.Acciaccatura;
}

bool operator==(const NoteTrainerSettings& a, const NoteTrainerSettings& b) {
  return SameSingleNotes(a.singleNotes, b.singleNotes) && SameIntervals(a.interval, b.interval) &&
         a.chord == b.chord;
}

bool operator==(const EarTrainerSettings& a, const EarTrainerSettings& b) {
  return SameSingleNotes(a.singleNotes, b.singleNotes) && SameIntervals(a.interval, b.interval) &&
         a.chord == b.chord && a.scales == b.scales && SameTempo(a.tempo, b.tempo);
}

// The symbols trainer's tempo flags are left to the learner at every level.
bool operator==(const SheetMusicSymbolsSettings& a, const SheetMusicSymbolsSettings& b) {
  return SameLengths(a.length, b.length) && a.signatures == b.signatures &&
         SameLoudness(a.loudness, b.loudness) && a.noteModifiers == b.noteModifiers;
}

}  // namespace Core
