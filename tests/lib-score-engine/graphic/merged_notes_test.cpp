#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ARNote.h"
#include "GRBar.h"
#include "GRSingleNote.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRTie.h"
#include "laid_out_fixture.h"

namespace {

class MergedNotesTest : public EngineTesting::LaidOutFixture {
 protected:
  // The first staff's notes with their shown length ("e/2"), "~" per tie leaving, "|" per bar
  // line; merged notes after the first, shown with no length, give only their ties.
  std::string Drawn() const {
    std::string out;
    for (GRSystem* system : Systems())
      for (void* at = system->getSlices().GetHeadPosition(); at;) {
        GRStaff const* staff = system->getSlices().GetNext(at)->getStaff(1);
        if (!staff) continue;
        std::multiset<GRNotationElement const*> tied;
        for (void* pos = staff->getElements().GetHeadPosition(); pos;)
          if (auto const* tie = dynamic_cast<GRTie const*>(staff->getElements().GetNext(pos)))
            tied.insert(tie->getStartElement(staff));
        for (void* pos = staff->getElements().GetHeadPosition(); pos;) {
          GRNotationElement const* element = staff->getElements().GetNext(pos);
          if (auto const* note = dynamic_cast<GRSingleNote const*>(element)) {
            Fraction shown = note->getDurTemplate();
            shown.normalize();
            std::string length = "/" + std::to_string(shown.getDenominator());
            if (shown.getNumerator() != 1)
              length = "*" + std::to_string(shown.getNumerator()) + length;
            if (shown > Frac_0)
              out += " " + std::string(note->getARNote()->getName().c_str()) + length;
            out += std::string(tied.count(note), '~');
          } else if (dynamic_cast<GRBar const*>(element)) {
            out += " |";
          }
        }
      }
    return out;
  }
};

TEST_F(MergedNotesTest, AMergeOverABarLineIsOneNoteInEachBarTiedAcrossIt) {
  struct Case {
    char const* rmn;
    char const* drawn;
  } const cases[] = {
      {R"([ \meter<"4/4"> c/4 d \merge( e/2 e/2 ) f/4 g a ])",
       " c/4 d/4 e/2~ | e/2 f/4 g/4 | a/4 |"},
      {R"([ \meter<"2/4"> \merge( e/4 e/4 e/4 e/4 e/4 e/4 ) f/2 ])", " e/2~ | e/2~ | e/2 | f/2 |"},
      // The bar line cut the merge's last note.
      {R"([ \meter<"4/4"> c/4 d \merge( e/4 e/2 ) f/4 g a ])", " c/4 d/4 e/2~ | e/4 f/4 g/4 a/4 |"},
      {R"([ \merge( e/4 e/4 \bar e/4 e/4 ) d/2 ])", " e/2~ | e/2 d/2 |"},
      // No single value draws the first bar's part: from there on the notes are tied.
      {R"([ \meter<"4/4"> c/8 c/4 \merge( d/8 d/8 d/8 d/8 d/8 d/8 d/8 ) g/8 a/4 h ])",
       " c/8 c/4 d/8~ d/8~ d/8~ d/8~ d/8~ | d/8~ d/8 g/8 a/4 h/4 |"},
      // A merge of one note leaves the notes after it be.
      {R"([ \meter<"4/4"> \merge( c ) d e ])", " c/4 d/4 e/4 |"},
      // A tie leads from the note drawn to the next one drawn, past the merged ones.
      {R"([ \meter<"4/4"> \tie( \merge( e/4 e/4 ) e/2 ) f/1 ])", " e/2~ e/2 | f/1 |"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.rmn);
    LayOut(c.rmn);
    EXPECT_EQ(Drawn(), c.drawn);
  }
}

}  // namespace
