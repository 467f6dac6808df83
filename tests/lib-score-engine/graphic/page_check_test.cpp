// The learner pieces and made-up pieces of 16 to 48 bars, on one staff and two, with no verse,
// one or two, laid out on A4: no line is crammed, and no piece takes more pages than the fewest
// on which every line keeps room. Each piece's pages and bars per line are listed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "GRSpaceForceFunction2.h"
#include "room_checked_score.h"

namespace {

using EngineTesting::Listed;

// A line keeps room where it is set no tighter than half the optimum force (less what the
// breaker's sums round off), and the heads, signs, dots and ledger lines of neighbouring events
// stand 0.15 space apart (less rounding), the syllables of a verse apart; the optimum force,
// less rounding, sets short notes as close as it sets them.
constexpr float kTightestShare = 0.495f;
constexpr float kOptimumShare = 0.995f;
constexpr float kLeastEventRoom = 7.4f;
constexpr float kLeastSyllableRoom = 0;
// The line breaker measures the heads and ledger lines of an event from its place, not from
// their ink: lines set evenly on fewer pages show that they keep room only with this much more
// air between their events.
constexpr float kMeasuredAir = 5;

struct Piece {
  std::string name;
  std::string text;
};

// The learner pieces, as the score builder's tests keep them.
std::vector<Piece> LearnerPieces() {
  std::vector<std::filesystem::path> files;
  for (auto const& entry : std::filesystem::directory_iterator(
           MELVARIN_SOURCE_DIR "/tests/src/core/score_builder/learner_pieces"))
    if (entry.path().extension() == ".rmn") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<Piece> pieces;
  for (auto const& file : files) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    pieces.push_back({file.stem().string(), text.str()});
  }
  return pieces;
}

// Bars a learner's song or piece is made of: seconds and leaps, eighths and sixteenths, chords,
// signs, dots and ledger lines. The melody holds no rest, so that every event takes a syllable.
std::vector<std::string> const kMelodyBars = {"e2/4 d2 c2 h1",
                                              "c2/8 h1 a1 h1 c2 d2 e2 f2",
                                              "g1/4. a1/8 h1/4 c2",
                                              "f#1/4 g1 a1 h1",
                                              "{c2/4, e2} {d2, f2} {e2/2, g2}",
                                              "a2/8 g2 f2 e2 d2/2",
                                              "c3/4 h2 a2 g2",
                                              "e1/8 f1 g1 a1 h1 c2 d2 e2",
                                              "d2/2. c2/4",
                                              "c1/4 d1 e1 f1",
                                              "h1/8 c#2 d2 e2 f#2/4 g2",
                                              "g2/16 f2 e2 d2 c2/8 d2 e2/4 f2",
                                              "a2/1",
                                              "e&2/4 d2 c2 h&1",
                                              "a2/4 c3 e3 a3"};
std::vector<std::string> const kBassBars = {
    "c0/2 g-1", "{c-1/1, g-1}",    "c-1/8 g-1 e0 g-1 c-1 g-1 e0 g-1", "a-1/4 e-1 a-2 e-1",
    "f-1/2 c0", "g-1/4 d0 h-1 d0", "e-1/8 f#-1 g-1 a-1 h-1/2",        "c-2/1"};
std::vector<std::string> const kWords = {"la",     "sing",    "the",       "morn-ing", "star",
                                         "ev-er",  "gent-ly", "wa-ter",    "home",     "a-way",
                                         "bright", "o",       "shine-ing", "hap-py",   "through"};

struct Dice {
  std::uint32_t seed;
  int Below(int count) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>(((seed & 0x7fffffffu) >> 16) % static_cast<std::uint32_t>(count));
  }
};

// As many syllables as the melody's events, of words drawn at random.
std::string Verse(int events, Dice& dice) {
  std::string verse;
  int syllables = 0;
  while (syllables < events) {
    std::string const& word = kWords[dice.Below(static_cast<int>(kWords.size()))];
    verse += (verse.empty() ? "" : " ") + word;
    syllables += 1 + static_cast<int>(std::count(word.begin(), word.end(), '-'));
  }
  return verse;
}

// The events of a bar: its notes and chords.
int EventsOf(std::string const& bar) {
  int events = 0;
  bool inChord = false;
  std::istringstream tokens(bar);
  for (std::string token; tokens >> token;) {
    if (!inChord) ++events;
    if (token.front() == '{') inChord = true;
    if (token.back() == '}') inChord = false;
  }
  return events;
}

Piece MadeUpPiece(int bars, bool twoStaves, int verses, std::uint32_t seed) {
  Dice dice{seed};
  std::string melody, bass;
  int events = 0;
  for (int bar = 0; bar < bars; ++bar) {
    std::string const& upper = kMelodyBars[dice.Below(static_cast<int>(kMelodyBars.size()))];
    melody += upper + " | ";
    events += EventsOf(upper);
    bass += kBassBars[dice.Below(static_cast<int>(kBassBars.size()))] + " | ";
  }
  std::string const meter = "\\meter<\"4/4\"> ";
  if (verses >= 2) melody = "\\lyrics<\"" + Verse(events, dice) + "\", dy=-6>( " + melody + ") ";
  if (verses >= 1) melody = "\\lyrics<\"" + Verse(events, dice) + "\">( " + melody + ") ";
  std::string text = "[ " + std::string(twoStaves ? "\\staff<1> " : "") + meter + melody + "]";
  if (twoStaves) text = "{ " + text + ", [ \\staff<2> \\clef<\"bass\"> " + meter + bass + "] }";
  std::string const name = std::to_string(bars) + " bars, " +
                           (twoStaves ? "two staves" : "one staff") + ", " +
                           std::to_string(verses) + " verses, seed " + std::to_string(seed);
  return {name, text};
}

std::vector<Piece> MadeUpPieces() {
  std::vector<Piece> pieces;
  for (int n = 0; n < 18; ++n)
    pieces.push_back(MadeUpPiece(16 + n * 32 / 17, n % 2 == 1, n / 2 % 3, 7 + n));
  return pieces;
}

// The text with the line broken so that its bars stand evenly on that many lines: a new line
// after the bar lines that part them so in each staff. Empty where the text breaks its lines
// itself, or its staves write bar lines of their own count, or none.
std::string OnEvenLines(std::string const& text, int lines) {
  for (char const* tag : {"\\newSystem", "\\newPage", "\\newLine"})
    if (text.find(tag) != std::string::npos) return "";
  // Where each staff writes its bar lines, outside quotes.
  std::vector<std::vector<size_t>> staves;
  bool quoted = false;
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '"') quoted = !quoted;
    if (quoted) continue;
    if (text[at] == '[') staves.emplace_back();
    if (text[at] == '|' && !staves.empty()) staves.back().push_back(at);
  }
  if (staves.empty() || staves.front().empty()) return "";
  for (auto const& staff : staves)
    if (staff.size() != staves.front().size()) return "";
  const int barLines = static_cast<int>(staves.front().size());
  // The music after the last bar line is a bar of its own where it holds more than the ends of
  // ranges and the staff.
  const size_t end = text.find_first_not_of(" \n\t)", staves.front().back() + 1);
  const int bars = barLines + (end != std::string::npos && text[end] != ']' ? 1 : 0);
  std::vector<size_t> breaks;
  for (int line = 1; line < lines; ++line) {
    const int after = std::min(barLines, (line * bars + lines / 2) / lines);
    for (auto const& staff : staves)
      if (after > 0) breaks.push_back(staff[after - 1] + 1);
  }
  std::sort(breaks.begin(), breaks.end());
  breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
  std::string broken = text;
  for (auto at = breaks.rbegin(); at != breaks.rend(); ++at) broken.insert(*at, " \\newSystem");
  return broken;
}

class PageCheckTest : public EngineTesting::RoomCheckedScore {
 protected:
  // Whether every line of the drawn piece keeps room; says where one does not. A line is
  // crammed where it is set tighter than its force allows, where its syllables run into each
  // other, or where the marks of neighbouring events come closer than their air on a line set
  // tighter than the optimum (from the optimum on, short notes stand as close as the spacing
  // sets them on any page). The last line may stand at its own width, unstretched, and a piece
  // on one line stands on it however close its shortest notes come: its halves would be looser
  // than a line may be.
  bool KeepsRoom(std::string const& name, bool report, float leastEventRoom = kLeastEventRoom) {
    bool keeps = true;
    std::vector<LineRoom> const lines = LinesRoom();
    for (size_t n = 0; n < lines.size(); ++n) {
      LineRoom const& line = lines[n];
      if (n + 1 == lines.size() && line.force == 0) continue;
      std::string fault;
      if (line.force < kTightestShare)
        fault = "set at " + std::to_string(line.force) + " of the optimum force";
      else if (line.events < leastEventRoom && line.force < kOptimumShare && lines.size() > 1)
        fault = "marks of neighbouring events " + std::to_string(line.events) + " apart";
      else if (line.syllables < kLeastSyllableRoom)
        fault = "syllables " + std::to_string(line.syllables) + " apart";
      if (fault.empty()) continue;
      keeps = false;
      if (report) ADD_FAILURE() << name << ": line " << n + 1 << " crammed, " << fault;
    }
    return keeps;
  }

  int MostLinesOnAPage() const {
    int most = 0;
    for (auto const& page : BarsPerLine()) most = std::max(most, static_cast<int>(page.size()));
    return most;
  }

  // Draws the text with its bars set evenly on that many lines; false where it cannot be set so.
  // The line breaker still parts a line that holds more than the optimum spacing takes, where
  // two looser lines cost less: with half the optimum force it sets each line as asked, and each
  // line is judged against the force it would need at the optimum.
  bool DrawOnEvenLines(std::string const& text, int lines) {
    const std::string even = OnEvenLines(text, lines);
    if (even.empty()) return false;
    const float optimum = GRSpaceForceFunction2::getOptForce();
    GRSpaceForceFunction2::setOptForce(optimum / 2);
    Draw(even);
    GRSpaceForceFunction2::setOptForce(optimum);
    return true;
  }

  int Lines() const {
    int lines = 0;
    for (auto const& page : BarsPerLine()) lines += static_cast<int>(page.size());
    return lines;
  }

  // The piece keeps room on every line, and where it takes more than one page, its bars set
  // evenly on as many lines as its fullest page holds, on each page but one, do not keep room
  // on fewer pages.
  void Check(Piece const& piece) {
    Draw(piece.text);
    const int pages = Pages();
    std::cout << piece.name << ": " << pages << (pages == 1 ? " page, " : " pages, ")
              << Listed(BarsPerLine()) << "\n";
    KeepsRoom(piece.name, true);
    if (pages < 2) return;
    const int lines = (pages - 1) * MostLinesOnAPage();
    if (!DrawOnEvenLines(piece.text, lines)) return;
    std::cout << "  on " << lines << " even lines: " << Pages()
              << (Pages() == 1 ? " page, " : " pages, ") << Listed(BarsPerLine())
              << (KeepsRoom(piece.name, false) ? "" : ", crammed") << "\n";
    EXPECT_FALSE(Pages() < pages && Lines() == lines &&
                 KeepsRoom(piece.name, false, kLeastEventRoom + kMeasuredAir))
        << piece.name << ": " << lines << " lines of " << Listed(BarsPerLine()) << " bars on "
        << Pages() << " pages keep room";
  }
};

TEST_F(PageCheckTest, LearnerPiecesTakeTheFewestPagesOnWhichEveryLineKeepsRoom) {
  std::vector<Piece> const pieces = LearnerPieces();
  ASSERT_GE(pieces.size(), 46u);
  for (Piece const& piece : pieces) Check(piece);
}

TEST_F(PageCheckTest, MadeUpPiecesTakeTheFewestPagesOnWhichEveryLineKeepsRoom) {
  for (Piece const& piece : MadeUpPieces()) Check(piece);
}

// The check sets the bars evenly on as many lines as it asks for, staff by staff, and leaves
// alone a text that breaks its own lines or whose staves differ in bar lines.
TEST_F(PageCheckTest, SetsBarsEvenlyOnTheLinesAskedFor) {
  std::string const bar = "c2/4 d2 e2 f2 | ";
  std::string const nine = "[ \\meter<\"4/4\"> " + EngineTesting::Repeated(bar, 9) + "]";
  std::string const eight = "{ [ \\staff<1> " + EngineTesting::Repeated(bar, 8) +
                            "], [ \\staff<2> \\clef<\"bass\"> " +
                            EngineTesting::Repeated("c0/1 | ", 8) + "] }";
  struct Case {
    std::string text;
    int lines;
    std::string bars;  // per line; empty where the text cannot be set so
  } const cases[] = {
      {nine, 3, "3+3+3"},
      {nine, 2, "5+4"},
      {eight, 2, "4+4"},
      {"[ \\lyrics<\"a|b c d\">( c2/4 d2 | e2/2 | f2/2 | ) ]", 2, "2+1"},
      {"[ c2/4 d2 e2 f2 \\newPage g2/1 | a2/1 ]", 2, ""},
      {"{ [ c2/1 | d2/1 ], [ c0/1 d0/1 ] }", 2, ""},
      {"[ c2/1 d2/1 ]", 2, ""},
  };
  for (Case const& c : cases) {
    if (!DrawOnEvenLines(c.text, c.lines)) {
      EXPECT_EQ(c.bars, "") << c.text;
      continue;
    }
    EXPECT_EQ(Listed(BarsPerLine()), c.bars) << c.text;
  }
}

}  // namespace
