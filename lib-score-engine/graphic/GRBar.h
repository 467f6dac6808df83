#pragma once

#include "GRTagARNotationElement.h"

class ARBar;
class GRSystem;

// A measure line: on one staff, placed by its own spring, or across a system, where the system
// sets its vertical extent. Drawn bars report themselves to the map as a zero-width line.
class GRBar : public GRTagARNotationElement {
 public:
  GRBar(ARBar* bar, GRStaff* staff, Fraction const& time);
  GRBar(ARBar* bar, GRSystem* system, GRStaff* staff, Fraction const& time);

  // The settings of the constructors, for a bar made without them. Without a staff the size is
  // kept and so is the bottom.
  void InitGRBar(Fraction const& time, GRStaff* staff);
  void setPosFrom(float y) { mBoundingBox.top = y; }
  void setPosTo(float y) { mBoundingBox.bottom = y; }

  ARBar* getARBar() const;
  // Equal at the same time position, whatever the staff.
  bool operator==(GRBar const& other) const;
  bool operator==(GRTag const& other) const override;
  // Follows the x told only.
  void tellPosition(GObject* caller, NVPoint const& point) override;
  // Takes the height of the staff the bar had before, or of staff when it had none.
  void setGRStaff(GRStaff* staff) override;
  NVPoint const& getReferencePosition() const override { return sRefPos; }
  // A staff bar draws its glyph once; a system bar repeats it every 150 units down to its end.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

 protected:
  void NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const;

 public:
  // The record every bar line and repeat sign sends: kind 3, a vertical line of the element's
  // height at its position.
  static void ReportBarLine(VGDevice& device, VScoreSymbolMap& map,
                            GRNotationElement const& element);

 private:
  void drawLines(VGDevice& device) const;

  static NVPoint sRefPos;
};
