#pragma once

#include "NVstring.h"

// One parameter of a tag: a float with an optional unit, an int or a string, given by name, by
// position or not at all. The engine reads and writes name, state and required directly.
class TagParameter {
 public:
  // Values of state.
  static constexpr int SETBYPOSITION = 0;
  static constexpr int SETBYNAME = 1;
  static constexpr int NOTSET = 3;

  TagParameter() = default;
  TagParameter(TagParameter const& other) = default;
  TagParameter& operator=(TagParameter const&) = delete;
  virtual ~TagParameter() = default;

  // Copies name, state and required.
  virtual void set(TagParameter const& other) {
    mName = other.mName;
    mState = other.mState;
    mRequired = other.mRequired;
  }
  // A new parameter of the same kind, owned by the caller.
  virtual TagParameter* getCopy() const = 0;
  // Takes the value of other when the kinds fit; false (and no change) when they do not.
  virtual bool copyValue(TagParameter* other) = 0;
  virtual void setValue(char const*) {}
  virtual bool isString() const { return false; }
  virtual bool isInt() const { return false; }
  virtual bool isFloat() const { return false; }

  NVstring mName;  // empty for a parameter given by position
  int mState = NOTSET;
  bool mRequired = false;
};
