// Accidentals of notes sharing a spring move apart where they would overlap.
#include <gtest/gtest.h>

#include <vector>

#include "GRAccidental.h"
#include "GRSingleNote.h"
#include "GRSpring.h"
#include "kf_ilist.h"
#include "note_scene.h"

namespace {

using EngineTesting::FakeFontNotes;
using EngineTesting::NotePitch;

class SpringAccidentalsTest : public FakeFontNotes {
 protected:
  // The horizontal move of each note's first accidental when the notes share one spring.
  std::vector<float> Moves(std::vector<GRSingleNote*> const& notes) {
    GRSpring spring(Fraction(0, 1), Frac_1_4);
    std::vector<float> before;
    for (GRSingleNote* note : notes) {
      spring.addElement(note, nullptr);
      before.push_back(FirstAccidental(note) ? FirstAccidental(note)->getOffset().x : 0);
    }
    spring.checkAccidentalCollisions();
    std::vector<float> moves;
    for (size_t i = 0; i < notes.size(); ++i)
      moves.push_back(
          FirstAccidental(notes[i]) ? FirstAccidental(notes[i])->getOffset().x - before[i] : 0);
    return moves;
  }
  static GRAccidental* FirstAccidental(GRSingleNote* note) {
    KF_IPointerList<GRAccidental> list(0);
    note->extractAccidentals(&list);
    return list.GetHead();
  }
};

TEST_F(SpringAccidentalsTest, AccidentalsWithinReachStepLeftFromTheTopDown) {
  float const width = 2 * FirstAccidental(Note({"e", 1, 1}, Frac_1_4))->getRightSpace();
  ASSERT_GT(width, 0);
  struct Case {
    std::vector<NotePitch> notes;
    std::vector<float> moves;  // in widths, note by note
  } const cases[] = {
      // The highest keeps its place; each one below within reach moves one width further.
      {{{"c", 1, 1}, {"d", 1, 1}, {"e", 1, 1}}, {-2, -1, 0}},
      {{{"c", 1, 1}, {"c", 2, 1}}, {0, 0}},  // an octave (175 units) is out of reach
      {{{"c", 1, 1}, {"d", 1}}, {0, 0}},     // one accidental alone
  };
  for (Case const& c : cases) {
    std::vector<GRSingleNote*> notes;
    for (NotePitch const& pitch : c.notes) notes.push_back(Note(pitch, Frac_1_4));
    std::vector<float> const moves = Moves(notes);
    for (size_t i = 0; i < moves.size(); ++i) EXPECT_FLOAT_EQ(moves[i], c.moves[i] * width);
  }
  // An accidental placed by the score keeps its place.
  GRSingleNote* placed = Note({"c", 1, 1}, Frac_1_4);
  FirstAccidental(placed)->setOffsetX(FirstAccidental(placed)->getOffset().x);
  EXPECT_FLOAT_EQ(Moves({placed, Note({"d", 1, 1}, Frac_1_4)})[0], 0);
}

TEST_F(SpringAccidentalsTest, EachStaffOfASpringKeepsItsOwnColumns) {
  float const width = 2 * FirstAccidental(Note({"e", 1, 1}, Frac_1_4))->getRightSpace();
  // A second staff of the slice, its notes coming between the first staff's in the spring.
  GRStaff* first = staff;
  auto* second = new GRStaff(first->getGRSystemSlice());
  first->getGRSystemSlice()->addStaff(second, 1);
  GRSingleNote* low = Note({"c", 1, 1}, Frac_1_4);
  staff = second;
  GRSingleNote* otherLow = Note({"c", 1, 1}, Frac_1_4);
  GRSingleNote* otherHigh = Note({"d", 1, 1}, Frac_1_4);
  staff = first;
  GRSingleNote* middle = Note({"d", 1, 1}, Frac_1_4);
  GRSingleNote* high = Note({"e", 1, 1}, Frac_1_4);
  std::vector<float> const moves = Moves({low, otherLow, otherHigh, middle, high});
  std::vector<float> const expected = {-2, -1, 0, -1, 0};
  for (size_t i = 0; i < moves.size(); ++i) EXPECT_FLOAT_EQ(moves[i], expected[i] * width) << i;
}

}  // namespace
