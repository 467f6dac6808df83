#pragma once

#include "ARMTParameter.h"
#include "NVstring.h"

// The key signature tag: sets the key from its time position on. A key is written as a key name
// ("G", "e", "F#", "B&"), as a number of sharps (positive) or flats (negative), or as a free key
// that lists an accidental and an octave shift per natural note ("free=f#c#", "free=b&-1").
class ARKey : public ARMTParameter {
 public:
  // Entries 0 to 6 of the free-key arrays stand for c, d, e, f, g, a, h; the rest stay 0.
  static constexpr int kEntries = 12;

  ARKey() = default;
  explicit ARKey(int keyNumber) : mKeyNumber(keyNumber) {}
  ARKey(ARKey const& other);

  ARMusicalObject* Copy() const override { return new ARKey(*this); }
  void print() const override;
  void PrintName(std::ostream& os) const override;
  // The key number, also for a free key, whose arrays are not written back.
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }
  void setTagParameterList(TagParameterList& given) override;

  // The same key number, free-key flag and arrays.
  virtual bool operator==(ARKey const& other) const;
  // Reads a free key, the text after "free=": the accidentals are set anew, octave shifts only
  // where the text gives them. Reading ends at the first group it cannot read.
  virtual void getKeyArray(NVstring text);
  // Copy the kEntries octave shifts and accidentals into out.
  virtual void getOctArray(int* out) const;
  virtual void getFreeKeyArray(int* out) const;

  int getKeyNumber() const { return mKeyNumber; }
  bool isFree() const { return mIsFree; }

  // Set on the copy that carries a voice's key to the start of a new line: it stands for the
  // key in force there, not for a change.
  void setCarried(bool carried) { mCarried = carried; }
  bool isCarried() const { return mCarried; }

 protected:
  // A key name, or "free=" and a free key.
  void ReadKeyText(char const* text);

  bool mIsFree = false;
  int mAccidentals[kEntries] = {};
  int mOctaves[kEntries] = {};
  int mKeyNumber = 0;
  bool mCarried = false;
};
