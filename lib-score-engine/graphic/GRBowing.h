#pragma once

#include <optional>

#include "GDirection.h"
#include "GRPTagARNotationElement.h"
#include "curve_band.h"
#include "curve_ink.h"

class ARBowing;
class GRGlobalStem;
class GRStdNoteHead;

// What slurs and ties share: per system piece the notes at both ends, whether the curve lies
// above or below them, two anchors and one middle control point, drawn as one filled band.
class GRBowing : public GRPTagARNotationElement {
 public:
  struct GRBowingSaveStruct : GRPositionTag::GRSaveStruct {
    int numoffsets = 3;
    // Start anchor, middle control point and end anchor, relative to position.
    NVPoint offsets[3];
    NVPoint position;  // the start anchor
    float inflexion = 6.0f;
  };
  // What one update knows about the ends of its piece.
  struct GRBowingContext {
    GRStaff* staff = nullptr;
    bool openRight = false;  // the piece goes on on the next system
    bool openLeft = false;   // the piece comes from the previous system
    GRStdNoteHead* topLeftHead = nullptr;
    GRStdNoteHead* bottomLeftHead = nullptr;
    GRStdNoteHead* topRightHead = nullptr;
    GRStdNoteHead* bottomRightHead = nullptr;
    GDirection stemDirLeft = dirOFF;
    GDirection stemDirRight = dirOFF;
    GRGlobalStem* leftStem = nullptr;
    GRGlobalStem* rightStem = nullptr;
    int curveDir = 1;  // 1 above the notes, -1 below
  };

  // ownsAR for a bowing the engine makes without a tag of the text.
  GRBowing(GRStaff* staff, ARBowing* ar, bool ownsAR = false);
  // The staves have removed every piece (DeleteStaff) by now.
  ~GRBowing() override;

  GRSaveStruct* getNewGRSaveStruct() override { return new GRBowingSaveStruct; }
  void addAssociation(GRNotationElement* element) override;
  void removeAssociation(GRNotationElement* element) override;
  void tellPosition(GObject* caller, NVPoint const& point) override;
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  virtual void updateBoundingBox();

  GRNotationElement* getStartElement(GRStaff const* staff) const;
  GRNotationElement* getEndElement(GRStaff const* staff) const;
  // Where the piece of that system stands, from its anchors to its control point; false
  // without a piece there.
  bool pieceBox(GRSystem const* system, NVRect& box) const;
  // The band the piece of that system draws; none without a piece there.
  std::optional<CurveBand> bandOn(GRSystem const* system) const;

  // Places the piece on the system again once the music of its line stands where it is drawn:
  // an automatic piece keeps clear of the ink it passes. The ink then holds the piece as well.
  void placeClearOf(CurveInk& ink, GRSystem const* system);

 protected:
  virtual void updateBow(GRStaff* staff);
  virtual void automaticCurveDirection(GRBowingContext& context, GRSystemStartEndStruct* sse);
  // Where voices share the staff, a curve lies on its voice's side, that of its stems, clear of
  // the other voice; false where the notes tell no such side.
  static bool voiceCurveDirection(GRBowingContext& context, GRSystemStartEndStruct const* sse);
  // The notes' own anchor points; ties and slurs look further.
  virtual void automaticAnchorPoints(GRBowingContext& context, GRSystemStartEndStruct* sse);
  virtual void automaticControlPoints(GRBowingContext& context, GRSystemStartEndStruct* sse);
  void manualAnchorPoints(GRBowingContext& context, GRSystemStartEndStruct* sse);
  void manualControlPoints(GRBowingContext& context, GRSystemStartEndStruct* sse);
  void applyAnchorPointsOffsets(GRBowingContext& context, GRSystemStartEndStruct* sse);
  // Keeps the anchors in the piece's record and tells the abstract tag its curve.
  void setAnchors(GRBowingContext const& context, GRSystemStartEndStruct* sse, NVPoint start,
                  NVPoint end);
  ARBowing* getARBowing() const { return mBowing; }
  static GRBowingSaveStruct* saveOf(GRSystemStartEndStruct const* sse);
  // From the anchors to the control point's height.
  static NVRect PieceBox(GRBowingSaveStruct const& save);

  // What the piece passes while it is placed clear of it; null otherwise.
  CurveInk const* passedInk() const { return mInk; }
  // Moves an automatic piece clear of the ink it passes; sideFree where neither the text nor the
  // piece that began the curve chose its side.
  virtual void keepClear(GRBowingContext& context, GRSystemStartEndStruct* sse, bool sideFree);
  // How far the piece must move away from its notes to keep air from the ink it passes, beside
  // the heads, stems and dots its ends stand at; 0 where it keeps clear.
  // With marks, the dynamic marks and wedges it meets count as well.
  float intrusion(GRBowingContext const& context, GRSystemStartEndStruct const* sse,
                  bool withMarks = false) const;
  // How far the piece reaches, by the air, into the ink it passes of one kind, wherever it
  // stands: 0 where it keeps clear of all of it.
  float intrusionInto(GRBowingContext const& context, GRSystemStartEndStruct const* sse,
                      CurveInk::Kind kind) const;
  // Raises the middle of a piece over its notes (lowers it under them) until it keeps clear of
  // the ink it passes, or by most at the middle.
  void bendClear(GRBowingContext const& context, GRSystemStartEndStruct* sse, float most);
  // Where the curve keeps its air from the ink it passes.
  static float Air(GRBowingContext const& context);
  // Once the piece on the system stands where it is drawn: moves the marks of its notes that
  // must keep clear of it, in the ink as well. A slur holds them; it moves none.
  virtual void clearMarksOf(CurveInk& /*ink*/, GRSystem const* /*system*/) {}

 private:
  void getBowBeginingContext(GRBowingContext& context, GRSystemStartEndStruct* sse) const;
  void getBowEndingContext(GRBowingContext& context, GRSystemStartEndStruct* sse) const;

  ARBowing* mBowing;
  CurveInk const* mInk = nullptr;
  // The side the piece that begins the curve took: 1 above, -1 below, 0 not placed yet.
  int mFirstPieceCurveDir = 0;
};
