#pragma once

#include "TagParameter.h"

// A number, optionally a length with a unit. With the unit flag set getValue converts the value
// into engine drawing units; an empty unit then means the current default unit of the units tag.
// Stored units are cut to two characters ("1.5inch" is 1.5 "in").
class TagParameterFloat : public TagParameter {
 public:
  explicit TagParameterFloat(float value);
  TagParameterFloat(TagParameterFloat const& other) = default;

  using TagParameter::set;
  TagParameter* getCopy() const override;
  bool copyValue(TagParameter* other) override;
  void setValue(char const* text) override;
  bool isFloat() const override { return true; }

  virtual void set(TagParameterFloat const& other);
  virtual float getUnitValue() const { return mValue; }
  virtual void setValue(float value) { mValue = value; }

  void setUnit(char const* unit);
  // The unit as written, at most two characters; empty for a plain number or the default unit.
  char const* getUnit() const { return mUnit; }
  // True for a length, which getValue converts.
  bool hasUnit() const { return mUnitFlag; }
  // A length written without a unit keeps the default unit in force where it was written: a
  // units tag further on changes only the lengths after it.
  void takeUnitInForce();
  // The unit getValue reads the length in: its own, else the one in force where it was written,
  // else (empty) the default unit in force now.
  char const* unitRead() const { return mUnit[0] ? mUnit : mUnitInForce; }
  void reset(float value, char const* unit);
  float getValue(float lspace) const;
  static float convertValue(float value, char const* unit, float lspace);

 protected:
  void StoreUnit(char const* unit);

  bool mUnitFlag = false;
  char mUnit[4] = {};
  char mUnitInForce[4] = {};
  float mValue;
};

// Converts a length between "mm", "cm", "m", "in", "pt" and "pc" through millimetres. An unknown
// source unit counts as millimetres; an unknown target gives -9.99999e99; equal unit texts give
// the value back unchanged.
double gd_convertUnits(double value, char const* from, char const* to);
