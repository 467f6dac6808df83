#pragma once

#include <string>

#include "NVPoint.h"
#include "NVRect.h"
#include "score_arena.h"

class NVstring;
class VGDevice;
class VScoreSymbolMap;
struct VGColor;

// The root of everything drawable: a position in page coordinates after layout, a bounding box
// relative to it, and the drawing hooks.
class GObject {
 public:
  GObject();
  GObject(GObject const& other);
  GObject& operator=(GObject const&) = delete;
  virtual ~GObject();

  // The elements of a layout live in its arena.
  static void* operator new(std::size_t size) {
    return ScoreArena::New(size, ScoreArena::kGraphic);
  }
  static void operator delete(void* object) { ScoreArena::Delete(object); }

  virtual void addToOffset(NVPoint const&) {}
  virtual NVPoint const& getOffset() const { return sRefposNone; }
  virtual NVstring const* getFont() const { return nullptr; }
  virtual NVstring const* getFontAttrib() const { return nullptr; }
  // Red, green, blue, alpha; null draws black.
  virtual unsigned char const* getColRef() const { return nullptr; }
  virtual int getFontSize() const { return 75; }
  virtual float getSize() const { return 1.0f; }
  virtual NVPoint const& getReferencePosition() const { return sRefposNone; }
  virtual void setPosition(NVPoint const& point) { mPosition = point; }
  virtual void setHPosition(float x) { mPosition.x = x; }
  virtual void tellPosition(GObject*, NVPoint const&) {}
  virtual bool isGREventClass() const { return false; }
  virtual void OnDraw(VGDevice& device, VScoreSymbolMap& map) const = 0;
  virtual void DrawBoundingBox(VGDevice& device, VGColor const& color) const;
  // What the object tells a graphical editor about itself; nothing by default.
  virtual std::string getGGSInfo(int) const { return {}; }
  virtual void GGSOutput() const {}

  NVPoint const& getPosition() const { return mPosition; }
  NVRect const& getBoundingBox() const { return mBoundingBox; }
  void setBoundingBox(NVRect const& box) { mBoundingBox = box; }

  // The width of a music-font glyph, measured once on the registered device with the start-up
  // music font and kept for every later element; 0 (also kept) without a device.
  static float GetSymbolExtent(unsigned int symbol);
  static bool positionIsOnStaffLine(float pos, float lineSpace);
  // How many staff steps (half line spaces) lie between two heights on a staff of that line
  // space. Heights on a staff whose space is no whole number of units carry rounding, so two
  // heads a third apart may lie a hair less than a space apart: the count is rounded.
  static int StaffStepsApart(float y1, float y2, float lineSpace);
  // Forgets every measured width.
  static void ResetSymbolExtents();
  static int GetInstanceCount() { return sInstanceCount; }

 protected:
  NVPoint mPosition;
  NVRect mBoundingBox;
  // The object's own address, for debug output only.
  void const* mId;

  static NVPoint const sRefposNone;

 private:
  // A first object after all others are gone starts with nothing measured, since the device or
  // font may have changed meanwhile.
  static void NotifyNewInstance();

  static float sSymbolExtentMap[256];
  static int sInstanceCount;
};
