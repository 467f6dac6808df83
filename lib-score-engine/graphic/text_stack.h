#pragma once

#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "GRText.h"

class GRBowing;
class GRNotationElement;
class GRStaff;
class GRSystem;

// The texts under one line of staves stacked one under the other, below the dynamic marks,
// wedges, tuplets, octava figures, slurs and ties they meet. A text the score places stays where it
// is written; the others keep their order from the top (texts, fingerings, then each verse of
// syllables), and the syllables of one lyrics range move as one row.
class TextStack {
 public:
  // How low the texts under the staff alone reach, stacked where its elements stand now.
  static float bottomUnder(GRStaff const& staff);
  // The text an element of a staff stands for: itself, or the text a placeholder carries on
  // from the line before; null for any other element.
  static GRText const* textOf(GRNotationElement const* element);

  // Takes in an element of the line, held by that staff, as it stands in that system.
  void add(GRNotationElement const* element, GRStaff const* staff, GRSystem const* system);
  // Stacks what was taken in.
  void place();

  // Where each text is drawn (staff coordinates).
  std::unordered_map<GRText const*, float> const& textYs() const { return mTextYs; }
  // The lowest point the texts reach; minus infinity without any.
  float bottom() const { return mBottom; }
  // The ink of the slurs and ties of the line, in slices no wider than kCurveSlice, sorted by
  // their left ends once placed; their bottoms keep a text's air under them.
  static constexpr float kCurveSlice = 25;
  std::vector<NVRect> const& curveInk() const { return mCurveInk; }

 private:
  struct Box {
    float left, right, top, bottom;
  };
  // Takes in the ink of a slur's or tie's piece on the line, once.
  void addCurve(GRBowing const* curve, GRStaff const* staff, GRSystem const* system);
  struct Text {
    GRText const* text;
    GRText::Placement at;
  };

  std::vector<Box> mObstacles;
  // The slurs and ties taken in, and where their ink stands: a text written over the staff
  // stays where it is, the curve passing under it.
  std::unordered_set<GRBowing const*> mCurves;
  std::vector<NVRect> mCurveInk;
  std::vector<Text> mTexts;
  std::vector<float> mXs;
  std::unordered_map<GRText const*, float> mTextYs;
  float mBottom = -std::numeric_limits<float>::infinity();
  // Marks stand across the line at their dates rather than at their places.
  bool mByDate = false;
  // The reach of the notes of the line, when the texts are not yet in a system that knows it.
  GRText::NotesReach const* mNotes = nullptr;
};
