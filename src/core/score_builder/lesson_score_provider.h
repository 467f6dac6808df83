#pragma once

// The RMN text of a two-staff lesson score with the stored note positions of its voices: cuts the
// text into the treble, bass and both-staves scores and places the stored notes on a drawn page
// through the page's symbol map. GUI thread only.

#include <QList>
#include <QVector>

#include <string>

#include "src/core/score_builder/score_records.h"

namespace Core {

class LessonScoreProvider {
 public:
  LessonScoreProvider() = default;
  void Reset();

  // hand 0 treble, 1 bass (the second voice moved to staff 1), 2 both.
  std::string GetRazidScores(unsigned int hand) const;
  bool HasGNotes() const { return hasGNotes; }
  bool HasFNotes() const { return hasFNotes; }
  bool HasBothHandsNotes() const { return hasGNotes && hasFNotes; }
  // measureFactor x 384 / measureDivisor in whole pulses; 0 without a divisor.
  double GetMeasureSize() const;

  // Gives the stored notes of voiceNotes[voice][part], in order, the positions of the single notes
  // below root (left to right, the lower head of a chord first) and appends them, with page, to
  // out, which is then sorted.
  void MapRazidNotePositions(void* root, int voice, int part, int page,
                             QVector<NoteDesc>& out) const;

  QList<QList<QVector<NoteDesc>>> voiceNotes;
  std::string rmn;  // the treble voice on staff 1, then ", [ \staff<2>" and the bass voice
  bool hasGNotes = false;
  bool hasFNotes = false;
  int measureFactor = 0;
  int measureDivisor = 0;
};

}  // namespace Core
