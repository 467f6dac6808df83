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

TEST_F(SpringAccidentalsTest, CloseAccidentalsStepLeftFromTheTopDown) {
  GRSingleNote* cis = Note({"c", 1, 1}, Frac_1_4);
  GRSingleNote* dis = Note({"d", 1, 1}, Frac_1_4);
  GRSingleNote* e = Note({"e", 1, 1}, Frac_1_4);
  float const width = 2 * FirstAccidental(e)->getRightSpace();
  ASSERT_GT(width, 0);
  // The highest keeps its place; each one below within reach moves one width further.
  std::vector<float> const moves = Moves({cis, dis, e});
  EXPECT_FLOAT_EQ(moves[2], 0);
  EXPECT_FLOAT_EQ(moves[1], -width);
  EXPECT_FLOAT_EQ(moves[0], -2 * width);
}

TEST_F(SpringAccidentalsTest, FarApartSingleOrPlacedAccidentalsStay) {
  // An octave apart (175 units) is out of reach.
  std::vector<float> const apart =
      Moves({Note({"c", 1, 1}, Frac_1_4), Note({"c", 2, 1}, Frac_1_4)});
  EXPECT_EQ(apart, (std::vector<float>{0, 0}));
  std::vector<float> const single = Moves({Note({"c", 1, 1}, Frac_1_4), Note({"d", 1}, Frac_1_4)});
  EXPECT_EQ(single, (std::vector<float>{0, 0}));
  // An accidental placed by the score keeps its place; the next one still steps past it.
  GRSingleNote* placed = Note({"c", 1, 1}, Frac_1_4);
  GRSingleNote* top = Note({"d", 1, 1}, Frac_1_4);
  FirstAccidental(placed)->setOffsetX(FirstAccidental(placed)->getOffset().x);
  EXPECT_FLOAT_EQ(Moves({placed, top})[0], 0);
}

}  // namespace
