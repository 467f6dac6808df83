#pragma once

#include <vector>

#include "ARMusicalVoiceState.h"
#include "Fraction.h"

class ARAuto;
class ARMusicalObject;
class ARMusicalVoice;

// Walks one voice in step with the other voices of the music along one time line, for the
// music's line-break pass: tells where the voice stands against a date, how good a line break at
// a date would be for it, and inserts the breaks the pass decides on.
class ARVoiceManager {
 public:
  // Answers of Iterate.
  enum Code {
    kAheadAtTag = 1,    // the voice is later than the date; its next object is a tag
    kAheadAtEvent = 2,  // the same, its next object an event
    kConsumedBeforeEvent = 3,
    kConsumedBeforeTag = 4,
    kConsumedToEnd = 5,
    kAtEvent = 6,    // tag mode: the next object takes time
    kNewSystem = 7,  // tag mode: the next object is a system break
    kNewPage = 8,    // tag mode: the next object is a page break
    kFinished = 9,
  };

  // Worth of a break at a bar line, and between the events of a stretch without bar lines.
  static constexpr float kBarBreakWorth = 1.5f;
  static constexpr float kUnbarredBreakWorth = 0.5f;

  // The value of a possible break between the beats of a bar, below that of every other: the
  // layout takes it only for a bar wider than its line.
  static constexpr float kBetweenBeatsBreakWorth = -0.5f;

  // Walking between beats, the voice already holds the other breaks: it only notes them.
  explicit ARVoiceManager(ARMusicalVoice* voice, bool betweenBeats = false);
  virtual ~ARVoiceManager() = default;

  // In tag mode consumes one object without duration at the date; otherwise the next event,
  // moving the date to its end. A voice already later moves the date to its own time.
  int Iterate(Fraction& tp, int tagMode);
  // The worth of a line break at tp for this voice; higher is better, below 0 unwanted.
  float CheckBreakPosition(Fraction const& tp) const;
  // Whether the voice begins an event at tp, a beat or more after its last break.
  bool BeginsBetweenBeats(Fraction const& tp) const;
  // Whether the voice holds a rest across tp, on a beat of its bar and a beat or more after its
  // last break: a break there parts the rest in two. With notesToo, a note held so is taken as
  // well, when both its parts are drawn as one value each: the break parts it in two tied notes.
  bool HoldsAcrossBeat(Fraction const& tp, bool notesToo = false) const;
  // Inserts an automatic break at tp (2 page, 1 system, otherwise a possible break of that
  // value), cutting the event that spans tp; always 0.
  int InsertBreak(Fraction const& tp, int breakType, float value);

  ARAuto const* getCurAuto() const { return mCurrVoiceState.getCurAuto(); }

 private:
  int CodeOfNext() const;
  void* InsertAtBreakPlace(ARMusicalObject* tag);
  // The place of a repeat begin among the tags at the walk's date that no bar line precedes,
  // or null.
  void* repeatBeginHere() const;
  // Where the objects of the walk's date begin, past the event before them.
  void* firstOfDate() const;

  // Between beats, a break the voice holds is where the next break is counted from.
  void passOver(ARMusicalObject const* object);

  ARMusicalVoiceState mCurrVoiceState;
  Fraction lastbreaktp;
  // Where the event the last break cut ends: its second part, from the break, is not cut again.
  Fraction partedEnd;
  bool mBetweenBeats = false;
  ARMusicalVoice* voice;
  // Whether tp lies in a stretch of the voice so long without a bar line that its lines must
  // break between events.
  bool unbarredAt(Fraction const& tp) const;

  // Times of the voice's repeat begins, in order: a repeat begin is a good place for a break.
  std::vector<Fraction> repeatBeginTimes;
  // Times of the voice's bar lines, in order.
  std::vector<Fraction> barTimes;
};
