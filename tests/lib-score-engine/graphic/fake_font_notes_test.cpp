// Notes on fonts of known widths, for exact arithmetic of accidentals, heads and stems.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "ARAcc.h"
#include "ARAccent.h"
#include "ARBembel.h"
#include "ARBreathMark.h"
#include "ARChord.h"
#include "ARDotFormat.h"
#include "ARFermata.h"
#include "ARMarcato.h"
#include "ARNote.h"
#include "ARNoteFormat.h"
#include "ARRest.h"
#include "ARShareStem.h"
#include "ARStaccato.h"
#include "GRAccidental.h"
#include "GRBembel.h"
#include "GRBreathMark.h"
#include "GRChord.h"
#include "GRFlag.h"
#include "GRGlobalStem.h"
#include "GRNoteDot.h"
#include "GRPage.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRStdNoteHead.h"
#include "GRStem.h"
#include "lib-score-engine/given_parameters.h"
#include "note_scene.h"

namespace {

using EngineTesting::FakeFontNotes;
using EngineTesting::Given;
using EngineTesting::GlyphWidthSystem;
using Strings = std::vector<std::string>;

// Heads (88) are 60 wide, the sharp (35) 40 and the half-note head (69) 80.
class NoteArithmetic : public FakeFontNotes {
 protected:
  void SetUp() override {
    glyphs.widths = {{35, 40}, {69, 80}};
    device.setVGSystem(&glyphs);
    FakeFontNotes::SetUp();
  }
  GlyphWidthSystem glyphs;

  // A note format of the given parameters, kept by the scene.
  ARNoteFormat* Format(Given given) {
    auto* format = Own(new ARNoteFormat);
    format->setTagParameterList(given.list());
    return format;
  }
  bool Drawn(std::string const& symbol) const {
    Strings const symbols = Symbols();
    return std::find(symbols.begin(), symbols.end(), symbol) != symbols.end();
  }
  static int Dots(GREvent const* event) {
    GRNoteDot const* dot = event->getDot();
    return dot ? dot->getNumDots() : 0;
  }
};

TEST_F(NoteArithmetic, SharpStandsLeftOfTheHeadAndWidensTheNote) {
  GRSingleNote* note = Note({"g", 1, 1}, Frac_1_4);
  KF_IPointerList<GRAccidental> accidentals(0);
  note->extractAccidentals(&accidentals);
  ASSERT_EQ(accidentals.GetCount(), 1);
  GRAccidental const* sharp = accidentals.GetHead();
  EXPECT_EQ(sharp->getPosition().x, 160);
  EXPECT_EQ(sharp->getOffset().x, -60);
  EXPECT_EQ(note->getLeftSpace(), 90);
  Draw();
  EXPECT_NE(std::find(device.calls.begin(), device.calls.end(),
                      "DrawMusicSymbol(80,150,35) font=Razid2@200 color=rgba(0,0,0,255) align=17"),
            device.calls.end());
  auto const records = Records(2, 13);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].left, 10);
  EXPECT_EQ(records[0].top, 100);
  EXPECT_EQ(records[0].right, 120);
  EXPECT_EQ(records[0].bottom, 200);
}

TEST_F(NoteArithmetic, FlagsDotsAndStemLengthsFollowTheLengthShown) {
  struct Case {
    Fraction length;
    unsigned int flag;
    int flags, dots;
    float stem;
  } const cases[] = {
      {Fraction(3, 16), 106, 1, 1, 175},
      {Fraction(7, 32), 106, 1, 2, 175},
      {Frac_1_32, 221, 3, 0, 200},
      {Frac_1_64, 115, 4, 0, 225},
      {Fraction(3, 8), 0, 0, 1, 175},
      // Dotted values show the flags of their undotted part; 1/128 has five flags.
      {Fraction(3, 64), 221, 3, 1, 200},
      {Fraction(7, 128), 221, 3, 2, 200},
      {Fraction(3, 128), 115, 4, 1, 225},
      {Frac_1_128, 246, 5, 0, 275},
      {Fraction(3, 256), 246, 5, 1, 275},
      {Fraction(7, 512), 246, 5, 2, 275},
      // 1/256, the shortest value, has six flags and the longest stem.
      {Fraction(1, 256), 248, 6, 0, 325},
      {Fraction(3, 512), 248, 6, 1, 325},
      {Fraction(7, 1024), 248, 6, 2, 325},
      // Shorter than any flag shows, or no note value with dots: no flag, no dot.
      {Fraction(1, 512), 0, 0, 0, 175},
      {Fraction(3, 1024), 0, 0, 0, 175},
      {Fraction(5, 64), 0, 0, 0, 175},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.length.getValue());
    GRSingleNote* note = Note({"g", 1}, c.length);
    EXPECT_EQ(note->getFlag()->getSymbol(), c.flag);
    EXPECT_EQ(note->getNumFaehnchen(), c.flags);
    EXPECT_EQ(Dots(note), c.dots);
    EXPECT_EQ(note->getStemLength(), c.stem);
    // The flag hangs at the stem's end.
    EXPECT_EQ(note->getFlag()->getOffset().y, -c.stem);
  }
}

TEST_F(NoteArithmetic, StemsReachTheMiddleLineAndStandBesideTheirOwnHead) {
  GRSingleNote* low = Note({"a", 0}, Frac_1_4, 200);   // two ledger lines below: stem up
  GRSingleNote* high = Note({"e", 3}, Frac_1_4, 400);  // three ledger lines above: stem down
  Note({"g", 1}, Frac_1_2, 600);                       // a head 80 wide
  Note({"g", 1}, Frac_1_4, 800);
  EXPECT_EQ(low->getStemLength(), 200);
  EXPECT_EQ(high->getStemLength(), 250);
  Draw();
  std::vector<float> stems;
  for (ScoreElementDesc const& stem : Records(2, 10)) stems.push_back(stem.refX);
  EXPECT_EQ(stems, (std::vector<float>{230, 370, 640, 830}));
  // A length the text made endless draws the start glyph only.
  low->setStemLength(std::numeric_limits<float>::infinity());
  device.calls.clear();
  low->OnDraw(device, map);
  EXPECT_EQ(Symbols().size(), 4u);  // two ledger lines, head, stem start
  // A note format's size of 0 or below, whose stem segments would not advance, is read as the
  // smallest size, whose stem takes a few segments.
  for (float size : {0.0f, -1.0f}) {
    GRSingleNote* shrunk = Note({"g", 1}, Frac_1_4, 900, Format(Given().Float(size, "size")));
    device.calls.clear();
    shrunk->OnDraw(device, map);
    EXPECT_LE(Symbols().size(), 30u) << size;
    EXPECT_FLOAT_EQ(shrunk->getStem()->getSize(), 0.1f);
  }
}

TEST_F(NoteArithmetic, LedgerLinesStandAtStaffHeightsAndWidenNotesAboveOnly) {
  GRSingleNote* high = Note({"e", 3}, Frac_1_4, 200);
  GRSingleNote* low = Note({"c", 1}, Frac_1_4, 400);
  EXPECT_EQ(high->getNumHelplines(), 3);
  EXPECT_EQ(high->getLeftSpace(), 48);
  EXPECT_EQ(high->getRightSpace(), 48);
  EXPECT_EQ(low->getLeftSpace(), 30);
  Draw();
  for (char const* line : {"95@149,-50", "95@149,-100", "95@149,-150", "95@349,250"})
    EXPECT_TRUE(Drawn(line)) << line;
  Strings const symbols = Symbols();
  EXPECT_EQ(std::count_if(symbols.begin(), symbols.end(),
                          [](std::string const& s) { return s.rfind("95@", 0) == 0; }),
            4);
}

TEST_F(NoteArithmetic, HeadStylesPickGlyphsAndNoHeadsKeepsRoomButShowsNothing) {
  struct Case {
    char const* style;
    unsigned int head;
    float room;
  } const cases[] = {{"x", 191, 30}, {"diamond", 81, 30}, {"unknown", 0, 0}, {"noHeads", 88, 30}};
  for (Case const& c : cases) {
    SCOPED_TRACE(c.style);
    GRStdNoteHead const* head =
        Note({"g", 1}, Frac_1_4, 200, Format(Given().Text(c.style)))->getNoteHead();
    EXPECT_EQ(head->getSymbol(), c.head);
    EXPECT_EQ(head->getLeftSpace(), c.room);
    EXPECT_EQ(head->getBoundingBox().right, c.head ? 33 : 0);
  }
  device.calls.clear();
  elements.back()->OnDraw(device, map);
  Strings const drawn = Symbols(true);
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn[0], "88@170,150 font=Razid2@200 color=rgba(0,0,0,0) align=17");
  EXPECT_EQ(device.GetFontColor(), kOpaqueBlack);
}

TEST_F(NoteArithmetic, AccTagAddsANaturalOrMovesTheSignsThereAre) {
  ARAcc acc;
  acc.setDX(new TagParameterFloat(-10));
  for (int accidentals : {0, 1}) {
    SCOPED_TRACE(accidentals);
    GRSingleNote* note = Note({"g", 1, accidentals}, Frac_1_4);
    note->addArticulation(&acc);
    KF_IPointerList<GRAccidental> signs(0);
    note->extractAccidentals(&signs);
    ASSERT_EQ(signs.GetCount(), 1);
    EXPECT_EQ(signs.GetHead()->getSymbol(), accidentals ? 35u : 110u);
    EXPECT_EQ(signs.GetHead()->getOffset().x, accidentals ? -70 : -80);
    EXPECT_TRUE(signs.GetHead()->getOffsetSet());
  }
}

TEST_F(NoteArithmetic, DotFormatRaisesDotsOfNotesOnLinesOnly) {
  ARDotFormat format;
  Given none;
  format.setTagParameterList(none.list());
  GRSingleNote* onLine = Note({"g", 1}, Fraction(3, 8));
  GRSingleNote* between = Note({"a", 1}, Fraction(3, 8));
  onLine->setDotFormat(&format);
  between->setDotFormat(&format);
  EXPECT_EQ(onLine->getDot()->getOffset().y, -20);
  EXPECT_EQ(between->getDot()->getOffset().y, 0);
}

TEST_F(NoteArithmetic, RestsTakeGlyphHeightAndDotsFromTheTable) {
  struct Case {
    Fraction length;
    int symbol;
    float y;
    int dots;
    float dotY;
  } const cases[] = {
      {Fraction(3, 8), 165, 100, 1, 100},
      {Fraction(3, 32), 64, 112.5f, 1, 100},
      {Fraction(3, 64), 174, 112.5f, 1, 50},
      {Fraction(7, 128), 174, 112.5f, 2, 50},
      {Fraction(3, 128), 108, 162.5f, 1, 50},
      {Fraction(3, 256), 47, 212.5f, 1, 50},
      {Frac_1_2, GRSingleRest::kHalfBar, 75, 0, 0},
      {Fraction(1, 256), 249, 262.5f, 0, 0},
      {Fraction(3, 512), 249, 262.5f, 1, 50},
      {Fraction(7, 1024), 249, 262.5f, 2, 50},
      {Fraction(1, 512), 0, 0, 0, 0},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.length.getValue());
    GRSingleRest* rest = Rest(c.length);
    EXPECT_EQ(rest->getRestSymbol(), c.symbol);
    EXPECT_EQ(rest->getPosition().y, c.y);
    EXPECT_EQ(Dots(rest), c.dots);
    if (c.dots && rest->getDot()) {
      EXPECT_EQ(rest->getDot()->getPosition().y, c.dotY);
    }
  }
}

TEST_F(NoteArithmetic, BarFillingRestStandsInTheMiddleOfItsBar) {
  GRSingleRest* rest = Rest(Frac_1, 0);
  GRNotationElement* start = Note({"g", 1}, Frac_1_4, 100);
  GRNotationElement* end = Note({"g", 1}, Frac_1_4, 500);
  rest->setFillsBar(true, start, end);
  rest->tellPosition(end, end->getPosition());
  EXPECT_EQ(rest->getPosition().x, 300);
  // Anything else moves it only while no spring places it.
  rest->tellPosition(start, NVPoint{700, 0});
  EXPECT_EQ(rest->getPosition().x, 300);
  EXPECT_EQ(GRSingleRest(staff, Own(new ARRest(Frac_0)), Frac_0, Frac_0).getNeedsSpring(), 0);
}

TEST_F(NoteArithmetic, PagesSystemsAndSlicesAreEventsDrawingTheirElements) {
  GRSystemSlice slice(nullptr, Frac_1_2);
  EXPECT_TRUE(slice.isGREventClass());
  EXPECT_EQ(slice.getRelativeTimePosition(), Frac_1_2);
  GRPage page(2100, 2970, 100, 100, 100, 100);
  page.AddTail(new GRSingleRest(staff, Frac_1_4));
  page.OnDraw(device, map);
  EXPECT_EQ(Records(1, 11).size(), 1u);
}

TEST_F(NoteArithmetic, EventWithoutSharedStemHasNoStemOfItsOwn) {
  GRSingleRest* rest = Rest(Frac_1_4);
  EXPECT_EQ(rest->getStemDirection(), 0);
  EXPECT_EQ(rest->getStemLength(), 0);
  EXPECT_EQ(rest->getNumFaehnchen(), 0);
  EXPECT_EQ(rest->getStemStartPos(), (NVPoint{0, 0}));
  EXPECT_EQ(rest->getStemEndPos(), (NVPoint{rest->getBoundingBox().right, 0}));
}

TEST_F(NoteArithmetic, ArticulationsStackOutsideTheHeadInTheirOrder) {
  GRSingleNote* down = Note({"h", 1}, Frac_1_4, 200);
  GRSingleNote* up = Note({"g", 1}, Frac_1_4, 400);
  // The abstract tags outlive the elements that show them, as in a score.
  auto* breath = Own(new ARBreathMark);
  down->addArticulation(Own(new ARStaccato));
  down->addArticulation(Own(new ARAccent));
  up->addArticulation(breath);
  up->addArticulation(Own(new ARMarcato));
  up->addArticulation(Own(new ARFermata));
  Draw();
  // The free-standing breath mark and bembel draw where their springs put them.
  GRBreathMark mark(breath);
  GRBembel bembel(Own(new ARBembel));
  mark.setHPosition(600);
  bembel.setPosition(NVPoint{800, 0});
  mark.OnDraw(device, map);
  bembel.OnDraw(device, map);
  // Every glyph here is 60 wide: drawn 30 left of where it stands. The fermata keeps half a
  // space over the end of the stem (at -25).
  for (char const* placed : {"46@170,25", "62@170,-25", "44@445,-74.875", "118@370,306",
                             "85@370,-50", "44@527.5,-75", "164@770,0"})
    EXPECT_TRUE(Drawn(placed)) << placed;
}

TEST_F(NoteArithmetic, ChordHeadsAndSignsMakeRoomForSecondsAndUnisons) {
  auto const notes = NotesOf(Voice("[ { c1, dis1 } { g1, g1 } ]", {200, 500}));
  auto headX = [&](int i) { return notes.at(i)->getNoteHead()->getNoteHeadPosition().x; };
  EXPECT_EQ(headX(1), 260);
  EXPECT_EQ(headX(3), 560);
  KF_IPointerList<GRAccidental> signs(0);
  notes.at(1)->extractAccidentals(&signs);
  ASSERT_EQ(signs.GetCount(), 1);
  EXPECT_EQ(signs.GetHead()->getOffset().x, -120);
}

TEST_F(NoteArithmetic, ChordStemFollowsItsNotesAndLength) {
  struct Case {
    char const* chord;
    int direction;
    unsigned int flag;
  } const cases[] = {
      {"[ { c1/1, g1 } ]", 0, 0},        // whole notes: no stem, no flag
      {"[ { e1/8, f1, f2 } ]", 1, 106},  // even ends, mean below the middle
      {"[ { e1/8, e2, f2 } ]", -1, 74},  // even ends, mean above the middle
      {"[ { c2/4, e2 } ]", -1, 0},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.chord);
    GRGlobalStem const* stem = nullptr;
    for (GRNotationElement* tag : Voice(c.chord).tags)
      if (!stem) stem = dynamic_cast<GRGlobalStem*>(tag);
    ASSERT_NE(stem, nullptr);
    EXPECT_EQ(stem->getStemDir(), c.direction);
    EXPECT_EQ(stem->getGRFlag()->getSymbol(), c.flag);
  }
  Draw();
  EXPECT_EQ(Records(2, 10).size(), 3u);
}

TEST_F(NoteArithmetic, ChordOverTwoStavesIsPlacedOnceTheSystemIsPlaced) {
  GRSystemSlice* slice = grSystem->getFirstGRSystemSlice();
  auto* lower = new GRStaff(slice);
  slice->addStaff(lower, 1);
  lower->setPosition(NVPoint{0, 400});
  auto* stem = new GRGlobalStem(staff, Own(new ARShareStem), nullptr, nullptr, nullptr);
  tags.emplace_back(stem);
  for (GRStaff* on : {staff, lower}) {
    auto* note =
        new GRSingleNote(on, Own(new ARNote("c", 0, on == staff ? 2 : 1, 0, 1, 0)), Frac_0, Frac_0);
    elements.emplace_back(note);
    note->setGlobalStem(stem);
    note->doCreateNote(Frac_1_4);
    stem->addAssociation(note);
  }
  stem->RangeEnd(staff);
  EXPECT_EQ(stem->getTagType(), GRTag::SYSTEMTAG);
  for (auto const& note : elements) note->setPosition(NVPoint{300, note->getPosition().y});
  EXPECT_NE(stem->getGRStem()->getPosition().x, 300);  // not before the system is placed
  stem->checkPosition(grSystem.get());
  GRStem const* placed = stem->getGRStem();
  EXPECT_EQ(placed->getPosition().x, 300);
  EXPECT_EQ(placed->getStemDir(), dirUP);
  EXPECT_EQ(placed->getPosition().y, 650);  // c1 on the lower staff, in the upper one's terms
  EXPECT_EQ(placed->getStemLength(), 175 + 650 - 75);
}

TEST_F(NoteArithmetic, ChordAsOneEventTakesItsOwnStemAndPushesSecondsBy55) {
  struct Case {
    std::vector<EngineTesting::NotePitch> notes;
    int direction;
    std::vector<float> heads;
  } const cases[] = {
      {{{"c", 1}, {"e", 1}, {"g", 1}}, 1, {0, 0, 0}},
      {{{"c", 1}, {"d", 1}}, 1, {0, 55}},
      {{{"h", 1}, {"c", 2}}, -1, {-55, 0}},  // on the middle line and above: down
      {{{"g", 1}, {"g", 1}}, 1, {0, 55}},
      {{{"c", 3}, {"a", 0}}, -1, {0, 0}},  // even distances go down; ledger lines both ways
  };
  float x = 0;
  for (Case const& c : cases) {
    auto* ar = Own(new ARChord);
    for (auto const& n : c.notes) ar->AddTail(new ARNote(n.name, n.accidentals, n.octave, 1, 4, 0));
    auto* chord = new GRChord(staff, ar, Frac_0, Frac_1_4, Frac_1_4);
    elements.emplace_back(chord);
    chord->setHPosition(x += 300);
    EXPECT_EQ(chord->getStemDirection(), c.direction);
    std::vector<float> heads;
    for (void* pos = chord->First(); pos;)
      if (auto* head = dynamic_cast<GRStdNoteHead*>(chord->GetNext(pos)))
        heads.push_back(head->getOffset().x);
    EXPECT_EQ(heads, c.heads) << x;
  }
  auto const* first = static_cast<GRChord*>(elements.front().get());
  EXPECT_EQ(first->getStem()->getStemLength(), 275);
  EXPECT_EQ(first->getStem()->getPosition().y, 250);
  Draw();
  for (char const* line : {"95@1449,-50", "95@1449,-100", "95@1449,250", "95@1449,300"})
    EXPECT_TRUE(Drawn(line)) << line;
  EXPECT_TRUE(Records(1, 10).empty());
  EXPECT_EQ(Records(2, 10).size(), 5u);
}

// The second c3-d3 above the staff, stem down: c3 goes left of the stem and keeps its lines
// there, and d3 has the same two lines under it on the right.
TEST_F(NoteArithmetic, ChordAsOneEventDrawsLedgerLinesUnderEachSideOfItsStem) {
  auto* ar = Own(new ARChord);
  for (char const* name : {"c", "d"}) ar->AddTail(new ARNote(name, 0, 3, 1, 4, 0));
  auto* chord = new GRChord(staff, ar, Frac_0, Frac_1_4, Frac_1_4);
  elements.emplace_back(chord);
  chord->setHPosition(300);
  Draw();
  Strings const symbols = Symbols();
  EXPECT_EQ(std::count_if(symbols.begin(), symbols.end(),
                          [](std::string const& s) { return s.rfind("95@", 0) == 0; }),
            4);
  for (char const* line : {"95@249,-50", "95@249,-100", "95@194,-50", "95@194,-100"})
    EXPECT_TRUE(Drawn(line)) << line;
}

}  // namespace
