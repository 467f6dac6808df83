#include "TagParameterString.h"

#include <cstdio>
#include <cstring>

#include "src/common/assertion.h"

TagParameterString::TagParameterString(char const* theString) {
  MELVARIN_ASSERT(theString);
  mValue = new NVstring(theString);
}

TagParameterString::TagParameterString(TagParameterString const& other) : TagParameter(other) {
  if (!other.mValue) MELVARIN_ASSERT(false);
  mValue = new NVstring(*other.mValue);
}

TagParameterString::~TagParameterString() {
  delete mValue;
}

void TagParameterString::set(TagParameterString const& other) {
  TagParameter::set(other);
  if (!other.mValue) return;
  auto* copy = new NVstring(*other.mValue);
  delete mValue;
  mValue = copy;
}

TagParameter* TagParameterString::getCopy() const {
  return new TagParameterString(*this);
}

bool TagParameterString::copyValue(TagParameter* other) {
  if (!other || !other->isString()) return false;
  auto* source = static_cast<TagParameterString*>(other);
  if (!source->mValue) {
    delete mValue;
    mValue = nullptr;
    return false;
  }
  setValue(source->mValue->c_str());
  return true;
}

void TagParameterString::setValue(char const* text) {
  if (!mValue)
    mValue = new NVstring(text);
  else
    mValue->assign(text);
}

char const* TagParameterString::getValue() const {
  return mValue ? mValue->c_str() : NVstring::nullstr;
}

bool TagParameterString::operator==(char const* text) const {
  return mValue ? mValue->equal(text) : NVstring().equal(text);
}

bool TagParameterString::getRGB(unsigned char* rgba) const {
  if (!mValue) return false;
  mValue->to_lower();
  rgba[0] = 0;
  rgba[1] = 0;
  rgba[2] = 0;
  rgba[3] = 255;

  // Hexadecimal components are scanned into unsigned ints and narrowed; a component the scan
  // did not reach stays 0.
  char const* text = mValue->c_str();
  const size_t length = mValue->length();
  if ((length == 8 || length == 10) && std::strncmp(text, "0x", 2) == 0) {
    unsigned int parts[4] = {0, 0, 0, 0};
    if (length == 8) {
      std::sscanf(text, "0x%2x%2x%2x", &parts[0], &parts[1], &parts[2]);
      parts[3] = 255;
    } else {
      std::sscanf(text, "0x%2x%2x%2x%2x", &parts[0], &parts[1], &parts[2], &parts[3]);
    }
    for (int i = 0; i < 4; ++i) rgba[i] = static_cast<unsigned char>(parts[i]);
    return true;
  }

  struct Named {
    char const* name;
    unsigned char red, green, blue;
  };
  static constexpr Named kColours[] = {
      {"red", 200, 0, 0}, {"green", 0, 200, 0},     {"blue", 0, 0, 200},
      {"black", 0, 0, 0}, {"white", 255, 255, 255}, {"yellow", 200, 200, 0},
  };
  for (Named const& colour : kColours) {
    if (mValue->equal(colour.name)) {
      rgba[0] = colour.red;
      rgba[1] = colour.green;
      rgba[2] = colour.blue;
      return true;
    }
  }
  return false;
}
