#pragma once

#include <cstdint>
#include <ostream>

#include "Fraction.h"
#include "kf_ilist.h"
#include "score_arena.h"

class GObject;

// The list of graphical elements that show an object never owns them: the layout deletes them.
template <>
void KF_IPointerList<GObject>::DeleteData(GObject* element);

// Time positions and durations are never negative.
inline constexpr Fraction MIN_TIMEPOSITION{};
inline constexpr Fraction DURATION_0{};

// Anything that stands in a voice at a time position: an event or a tag. It also lists the
// graphical elements that show it, from the moment the layout makes them until it is rebuilt.
class ARMusicalObject {
 public:
  ARMusicalObject() = default;
  explicit ARMusicalObject(Fraction const& relativeTimePosition);
  // Copies time position and duration; an object already shown by elements is never copied.
  ARMusicalObject(ARMusicalObject const& armo);
  ARMusicalObject& operator=(ARMusicalObject const&) = delete;
  virtual ~ARMusicalObject();

  // The objects a parse makes live in the arena of its music.
  static void* operator new(std::size_t size) {
    return ScoreArena::New(size, ScoreArena::kAbstract);
  }
  static void operator delete(void* object) { ScoreArena::Delete(object); }

  virtual ARMusicalObject* Copy() const;
  virtual void removeGRRepresentation(GObject* object);
  // Read for nearly every element of every walk, and never answered differently by a class of
  // its own, so they are plain reads.
  Fraction const& getDuration() const { return duration; }
  Fraction const& getRelativeTimePosition() const { return relativeTimePosition; }
  Fraction getRelativeEndTimePosition() const { return relativeTimePosition + duration; }
  // Writes the object as RMN text; only tags have any.
  virtual std::ostream& operator<<(std::ostream& os) const { return os; }
  virtual void print() const;
  virtual void setRelativeTimePosition(Fraction const& newRelativeTimePosition);
  virtual void setRelativeEndTimePosition(Fraction const& end);
  virtual void setDuration(Fraction const& newDuration) { duration = newDuration; }
  virtual GObject* getFirstGRRepresentation();
  virtual GObject* getLastGRRepresentation();
  virtual KF_IPointerList<GObject>* getGRRepresentation() { return mGrObject; }
  virtual void addGRRepresentation(GObject* object);
  // Forgets the elements without deleting them.
  virtual void resetGRRepresentation();
  // True for events (ARMusicalEvent and the classes derived from it).
  bool isEventClass() const { return mIsEvent; }

  // What a voice walk found out about the object's class the first time it stepped over it; 0
  // until then. The class of an object never changes, so neither does the answer, and the walks
  // ask it at every step (ARMusicalVoice::Step).
  std::uint8_t getWalkKind() const { return mWalkKind; }
  void setWalkKind(std::uint8_t kind) const { mWalkKind = kind; }

  // True when the denominator is a power of two (or 0), so the length can be drawn without a
  // tuplet.
  static bool IsPowerOfTwoDenom(Fraction const& value);

 protected:
  Fraction relativeTimePosition;
  Fraction duration;
  KF_IPointerList<GObject>* mGrObject = nullptr;
  // Set by the event constructors only.
  bool mIsEvent = false;

 private:
  mutable std::uint8_t mWalkKind = 0;
};

// The object's RMN text.
inline std::ostream& operator<<(std::ostream& os, ARMusicalObject const& object) {
  return object.operator<<(os);
}
