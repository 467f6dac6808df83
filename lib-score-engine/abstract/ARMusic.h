#pragma once

#include <ostream>
#include <utility>
#include <vector>

#include "ARMusicalEvent.h"
#include "NVstring.h"
#include "kf_ilist.h"
#include "score_arena.h"

class ARMusicalVoice;

// The root of the abstract representation: the score's voices in order (owned) and, as an event,
// the score's length.
class ARMusic : public KF_IPointerList<ARMusicalVoice>, public ARMusicalEvent {
 public:
  ARMusic();
  ~ARMusic() override;

  void AddTail(ARMusicalVoice* newMusicalVoice);

  // Brings every voice to the length of the longest and completes the voices for the layout:
  // the automatic passes of every voice, with the line-break candidates between their stages.
  // False when the passes would make more than their work allows (see TakeAutoTie).
  bool doAutoStuff();
  // Walks all voices together along time and inserts the breaks they ask for and the possible
  // breaks where a line may end.
  void doAutoBreaks();
  // Once, after a layout whose bar was wider than its line: possible breaks between the beats
  // of the bars, where every voice begins an event, and within the lines that were squeezed
  // (each from one date to the other) also where some voices rest across the beat; true when
  // they were not offered before.
  bool offerBreaksBetweenBeats(std::vector<std::pair<Fraction, Fraction>> const& squeezed);
  // After a layout with those breaks whose lines were still squeezed: within these lines also
  // where some voices hold a note across the beat, which the break parts in two tied notes.
  // Only lines that cannot do without have their notes parted so, as a note parted and not
  // broken between shows as tied notes on one line. A line still squeezed after that (half a
  // bar that is still too wide) is offered such breaks once more. True when a break was
  // offered.
  bool offerBreaksAcrossHeldNotes(std::vector<std::pair<Fraction, Fraction>> const& squeezed);
  // Lengthens every voice to newDuration.
  void adjustDuration(Fraction const& newDuration);
  // Deletes what the automatic passes inserted.
  void removeAutoTags();
  // Colours a stretch of the first voice with that number; nothing without one.
  void MarkVoice(int voiceNum, float date, float length);
  void MarkVoice(int voiceNum, int dateNum, int dateDenom, int lengthNum, int lengthDenom);
  void resetGRRepresentation() override;

  // Whether the automatic passes can take the music, asked in one walk over every voice:
  // - How many objects they could make at most, roughly; a short text can ask for millions (a
  //   huge note in a tiny meter, ranges nested thousands deep), so the factory refuses music
  //   above sMaxPassWork, 10 million by default: some six thousand measures of plain music on
  //   two staves pass, and a note of 32767 wholes, which the passes cut into as many tied
  //   pieces, with a 4/4 meter or without; two of them do not, nor a note of 100 wholes in
  //   1/800 time.
  // - Whether every date the passes and the layout can reach is a fraction with int parts. They
  //   add and compare dates exactly; dates rounded to fit an int no longer add up (a piece cut
  //   at a bar line would end elsewhere than the whole), so the factory refuses music whose
  //   note values and meters need a finer grid than that.
  bool FitsOneParse() const;
  static inline double sMaxPassWork = 1.0e7;
  // The share of the estimate that grows with what a voice holds: its objects and range tags,
  // the clef, key and bars the passes give every voice, and the range tags its parse has
  // searched already.
  static double ObjectWork(ARMusicalVoice const& voice);
  static constexpr double kWorkPerVoice = 256;
  static constexpr double kWorkPerObject = 64;
  static constexpr double kWorkPerRange = 32;
  static constexpr double kWorkPerParameter = 8;
  static constexpr double kWorkPerRangeMember = 4;
  // A measure makes a cut piece, a tie, a bar line and a break, each as costly as an object.
  static constexpr double kWorkPerMeasure = 4 * kWorkPerObject;

  // The next free tag id (for the ties the passes make); it stops at the largest int.
  int NextTagId();
  // Whether the tie pass may make one more tie. A tie range over many equal notes makes a tie
  // for every pair of them: each tie is two range tags, and the passes' work allows
  // sMaxPassWork / kWorkPerRange of those; beyond that the music is refused.
  bool TakeAutoTie();
  // Takes count ids at once, as count calls of NextTagId would, and gives the first: the i-th
  // of them is the first plus i, up to the largest int.
  long TakeTagIds(long count);

  // The voices' RMN forms between " { " and " } ", separated by " , ".
  void output(std::ostream& os, bool withAuto = true) const;
  std::ostream& operator<<(std::ostream& os) const override;
  void print() const override;

  // Highest tag id of the parse plus 1.
  // The music keeps the arena its parse made its objects in, for as long as they live.
  void KeepArena(ScoreArena arena) { mArena = std::move(arena); }

  long getMaxTagId() const { return mMaxTagId; }
  void setMaxTagId(long count) { mMaxTagId = count; }
  NVstring const& getName() const { return mName; }
  void setName(char const* name) { mName = name ? name : ""; }

 private:
  // Goes after the voices, which the destructor deletes first.
  ScoreArena mArena;
  long mMaxTagId = 0;
  long mAutoTiesLeft = static_cast<long>(sMaxPassWork / (2 * kWorkPerRange));
  // The break pass; between beats, only the breaks between the beats of bars, across held
  // notes too with notesToo. The number of breaks offered.
  int walkBreaks(bool betweenBeats, std::vector<std::pair<Fraction, Fraction>> const& squeezed = {},
                 bool notesToo = false);

  bool mRanOutOfWork = false;
  bool mBreaksBetweenBeats = false;
  // How often breaks across held notes were offered, and how often they may be.
  int mHeldNoteRounds = 0;
  static constexpr int kHeldNoteRounds = 2;
  NVstring mName;
};
