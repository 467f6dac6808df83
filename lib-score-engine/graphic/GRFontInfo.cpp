#include "GRFontInfo.h"

#include <cstring>

#include "NVstring.h"
#include "VGFont.h"

GRFontInfo::GRFontInfo(VGFont const* font, int size, NVstring const* name,
                       NVstring const* attributes)
    : mFont(font),
      mSize(size),
      mName(name ? new NVstring(*name) : nullptr),
      mAttributes(attributes ? new NVstring(*attributes) : nullptr) {}

GRFontInfo::~GRFontInfo() {
  delete mFont;
  delete mName;
  delete mAttributes;
}

namespace {
bool SameText(NVstring const* held, char const* asked) {
  if (!held || !asked) return !held && !asked;
  return std::strcmp(held->c_str(), asked) == 0;
}
}  // namespace

bool GRFontInfo::Compare(int size, char const* name, char const* attributes) const {
  return size == mSize && SameText(mName, name) && SameText(mAttributes, attributes);
}
