#pragma once

#include "TagParameter.h"

// A text parameter. Its value is an owned string, absent only after copyValue from a string
// parameter that had none.
class TagParameterString : public TagParameter {
 public:
  explicit TagParameterString(char const* theString);
  TagParameterString(TagParameterString const& other);
  ~TagParameterString() override;

  using TagParameter::set;
  virtual void set(TagParameterString const& other);
  TagParameter* getCopy() const override;
  bool copyValue(TagParameter* other) override;
  void setValue(char const* text) override;
  bool isString() const override { return true; }

  // The text; empty when there is none.
  char const* getValue() const;
  bool operator==(char const* text) const;

  // Reads a colour ("0xRRGGBB", "0xRRGGBBAA" or one of red, green, blue, black, white, yellow,
  // in any case) into red, green, blue and alpha. Lower-cases the text in place. False, with
  // 0, 0, 0, 255 written, when the text is no colour; false without writing when there is no
  // text.
  bool getRGB(unsigned char* rgba) const;

 private:
  NVstring* mValue;
};
