#include "src/core/score_builder/lesson_score_provider.h"

#include <algorithm>

#include "Razid.h"

namespace Core {

namespace {

const std::string SecondVoiceMarker = ", [ \\staff<2>";

struct MappedNote {
  float x = 0;
  float headX = 0;
  float y = 0;
};

QVector<MappedNote> SingleNotesBelow(CScoreElement* root) {
  constexpr int MapEvent = 1;
  constexpr int SingleNote = 10;
  QVector<MappedNote> notes;
  for (int n = 1;; ++n) {
    CScoreElement* event = RazidMapFindDeepNthElementOfType(root, MapEvent, n);
    if (!event) break;
    if (RazidMapGetElementSubType(event) != SingleNote) continue;
    MappedNote note;
    float headY = 0;
    RazidMapGetElementRefPoint(event, &note.x, &note.y);
    RazidMapGetHeadPoint(event, &note.headX, &headY);
    notes.append(note);
  }
  return notes;
}

}  // namespace

void LessonScoreProvider::Reset() {
  voiceNotes.clear();
  rmn.clear();
}

std::string LessonScoreProvider::GetRazidScores(unsigned int hand) const {
  if (hand == 2) return rmn;
  const std::string::size_type marker = rmn.find(SecondVoiceMarker);
  // A text with one voice has nothing to cut: every hand sees it whole.
  if (marker == std::string::npos) return rmn;
  if (hand == 0) return rmn.substr(0, marker) + " }";
  const std::string::size_type secondVoice = marker + SecondVoiceMarker.size() + 1;
  return "{ [ \\staff<1> " + (secondVoice < rmn.size() ? rmn.substr(secondVoice) : std::string());
}

double LessonScoreProvider::GetMeasureSize() const {
  if (measureDivisor == 0) return 0;
  return double(measureFactor * 384 / measureDivisor);
}

void LessonScoreProvider::MapRazidNotePositions(void* root, int voice, int part, int page,
                                                QVector<NoteDesc>& out) const {
  if (!root || voice < 0 || voice >= voiceNotes.size()) return;
  const QList<QVector<NoteDesc>>& parts = voiceNotes[voice];
  if (part < 0 || part >= parts.size()) return;

  QVector<MappedNote> mapped = SingleNotesBelow(static_cast<CScoreElement*>(root));
  std::stable_sort(mapped.begin(), mapped.end(), [](const MappedNote& a, const MappedNote& b) {
    return a.x < b.x || (a.x == b.x && a.y > b.y);
  });
  const QVector<NoteDesc>& stored = parts[part];
  const qsizetype steps = std::min(stored.size(), mapped.size());
  for (qsizetype i = 0; i < steps; ++i) {
    NoteDesc note = stored[i];
    note.x = mapped[i].x;
    note.headX = mapped[i].headX;
    note.y = mapped[i].y;
    note.page = page;
    out.append(note);
  }
  SortNotePositions(out);
}

}  // namespace Core
