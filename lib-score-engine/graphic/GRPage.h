#pragma once

#include <memory>

#include "Fraction.h"
#include "GREvent.h"
#include "GRSystem.h"
#include "NVRect.h"
#include "kf_ilist.h"

class ARMusic;
class ARPageFormat;
class GRMusic;
class GRStaffManager;
class ScoreSymbolMap;
struct RazidOnDrawDesc;
struct RazidPageFormat;

// A page of the score: its size and margins in layout units (237.10631 per centimetre), its
// systems stacked from the top of the inner area, and the page texts among its elements. Drawing
// the page fills its symbol map, which answers for the page until the next draw.
class GRPage : public GREvent {
 public:
  // A page of the music starting at startDate, of the previous page's format, else A4 with
  // margins of 2 cm.
  GRPage(GRMusic* music, GRStaffManager* manager, Fraction const& startDate,
         GRPage const* previous);
  // A page outside any music, for elements placed on a page of a given format.
  GRPage(float width, float height, float marginLeft, float marginTop, float marginRight,
         float marginBottom);
  ~GRPage() override;

  // Reports the page, then draws its elements and the systems that overlap the clip rectangle
  // into map; the device's origin is back where it was afterwards.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  // A whole draw: the page's own map starts over, and is finished into its tree at the end.
  virtual void OnDraw(VGDevice& device) const;
  // Scales the page into the request's drawing area keeping its proportions, scrolls it and
  // clips to the update region, then draws it.
  virtual void OnDraw(VGDevice& device, RazidOnDrawDesc const& desc) const;
  virtual void NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const;
  virtual void trace(VGDevice& device) const;
  // The systems and page elements, grown by the margins.
  void updateBoundingBox() override;
  // "\open_page<width,height>", the page's elements and systems, "\close_page"; the offsets
  // are 0 afterwards.
  void GGSOutput() const override;

  // Places the system under the previous one: at the one-shot distance when *distance is
  // positive (which is then used up), else at the default system distance. The page owns it.
  bool addSystem(GRSystem* system, float* distance);
  // Whether the system still goes below the page's systems with at least leastGap between any
  // two once the page is spread: the line breaker chose the page from estimated heights, and
  // the systems as built can stand taller.
  bool hasRoomFor(GRSystem const& system, float leastGap) const;
  // Spreads the systems over the inner height as the distribution setting says, then finishes
  // every system.
  void finishPage(bool lastPage);
  // The page takes the size of its content plus its margins.
  void adjustPageSize();
  // Not supported: the page finishes its systems itself and they space themselves. Both stop
  // the program.
  void systemFinished();
  void setHorizontalSpacing();

  void setPageFormat(ARPageFormat const* format);
  void getPageFormat(RazidPageFormat* format) const;
  // Scales the device so that the page fits width x height, keeping its proportions.
  void setScaling(VGDevice& device, float width, float height) const;
  bool DPtoLPRect(VGDevice const& device, float left, float top, float right, float bottom,
                  NVRect* out) const;

  float getPageWidth() const { return mWidth; }
  float getPageHeight() const { return mHeight; }
  float getMarginLeft() const { return mLeft; }
  float getMarginTop() const { return mTop; }
  float getMarginRight() const { return mRight; }
  float getMarginBottom() const { return mBottom; }
  float getInnerWidth() const { return mWidth - mLeft - mRight; }
  float getInnerHeight() const { return mHeight - mTop - mBottom; }
  float getPageWidthCm() const;
  float getPageHeightCm() const;
  float getInnerWidthCm() const;
  float getInnerHeightCm() const;
  // The four margins in centimetres.
  void getMarginsCm(float* left, float* top, float* right, float* bottom) const;

  Fraction const& getStartDate() const { return mStartDate; }
  float getUsedHeight() const { return mUsedHeight; }
  // The height the page's systems take stacked at the distances they were added with, before
  // finishing spreads them: what a page still has room for is measured against it.
  float getStackedHeight() const { return mStackedHeight; }
  GRMusic* getGRMusic() const { return mMusic; }
  ARMusic* getARMusic() const;
  GRStaffManager* getStaffManager() const { return mStaffManager; }
  KF_IPointerList<GRSystem> const& getSystems() const { return mSystems; }
  ScoreSymbolMap& getSymbolMap() const { return *mSymbolMap; }

 private:
  void spreadSystems(float gap);

  Fraction mStartDate;
  GRStaffManager* mStaffManager = nullptr;
  GRMusic* mMusic = nullptr;
  float mLeft;
  float mTop;
  float mRight;
  float mBottom;
  float mWidth;
  float mHeight;
  float mUsedHeight = 0;
  float mStackedHeight = 0;
  // Where the last system stands when stacked so.
  float mStackedY = 0;
  std::unique_ptr<ScoreSymbolMap> mSymbolMap;
  KF_IPointerList<GRSystem> mSystems{1};
  // The place in mSystems of the last system finished; those up to it have not moved since.
  void* mFinishedSystem = nullptr;
};

// The clip rectangle of the draw under way, in the coordinates of the systems being drawn.
extern NVRect gClipRect;
