#pragma once

#include "NVPoint.h"

class ARMusicalTag;
class GRStaff;
class NVstring;

// The display settings every graphical tag takes from its abstract tag: colour, size, offset,
// font, spring constant, and whether it is a voice, staff, system or page tag.
class GRTag {
 public:
  enum TagType { VOICETAG = 0, STAFFTAG = 1, SYSTEMTAG = 2, PAGETAG = 3 };

  // Without a tag every setting keeps its default. dx and dy convert with lineSpace; dy counts
  // upwards, the page downwards.
  explicit GRTag(ARMusicalTag const* tag = nullptr, float lineSpace = 50);
  GRTag(GRTag const&) = delete;
  GRTag& operator=(GRTag const&) = delete;
  virtual ~GRTag();

  virtual bool operator!=(GRTag const& other) const { return !(*this == other); }
  virtual bool operator==(GRTag const&) const { return false; }
  virtual NVPoint const& getOffset() const { return offset; }
  virtual float getSize() const { return size; }
  virtual float getSConst() const { return sconst; }
  virtual NVstring const* getFont() const { return font; }
  virtual NVstring const* getFontAttrib() const { return fontAttrib; }
  virtual int getFontSize() const { return fontSize; }
  virtual unsigned char const* getColRef() const { return colRef; }
  virtual void setSConst(float value) { sconst = value; }
  virtual void StaffFinished(GRStaff*) {}
  virtual void StaffBegin(GRStaff*) {}
  virtual void RangeEnd(GRStaff*) {}

  int getError() const { return error; }
  void setError(int value) { error = value; }
  int getTagType() const { return tagType; }
  void setTagType(int type) { tagType = type; }
  bool IsStateTag() const { return tagType == STAFFTAG; }
  bool getIsAuto() const { return isAutoTag != 0; }

 protected:
  int error = 0;
  int tagType = VOICETAG;
  int isAutoTag = 0;
  float sconst = 20;
  unsigned char* colRef = nullptr;
  NVstring* font = nullptr;
  NVstring* fontAttrib = nullptr;
  int fontSize = 75;
  float size = 1;
  NVPoint offset;
};
