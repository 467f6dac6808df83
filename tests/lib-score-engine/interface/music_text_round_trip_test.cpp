// The music a laid-out score hands to its text hook parses back to the same music, object for
// object, for every text the trainers and the reference pages give the engine.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "GRMusic.h"
#include "music_dump.h"
#include "output_sink.h"
#include "parse_music.h"
#include "src/core/score_provider/score_provider.h"
#include "tools/layout/offline_engine.h"
#include "tools/reference-pictures/reference_pictures.h"

namespace {

using Core::NoteWAnalysis;
using Core::ScoreProvider;

std::string Listing(ParsedMusic const& parsed) {
  std::ostringstream listing;
  DumpMusic(parsed, listing);
  return listing.str();
}

// Lays the text out, asks the layout for its music as text and parses that: both parses must
// list the same. The layout goes first, since laying out changes the music (an octava moves its
// notes), which the text must not show.
void ExpectRoundTrip(std::string const& text) {
  ParsedMusic const original = ParseMusicText(text.c_str());
  ASSERT_EQ(original.result, 0) << text;
  std::string const parsed = Listing(original);
  EngineTesting::OutputSink sink;
  {
    Layout::OfflineEngine engine;
    GRMusic const layout(original.music.get(), nullptr);
    layout.getRazid();
  }
  ParsedMusic const again = ParseMusicText(sink.musicText.c_str());
  EXPECT_EQ(Listing(again), parsed) << text << "\nwritten as\n" << sink.musicText;
}

std::vector<std::string> QuestionTexts() {
  std::vector<std::string> texts;
  auto add = [&](std::vector<unsigned int> const& keys, ScoreProvider::ScoreType type) {
    for (bool treble : {true, false})
      for (bool flat : {true, false})
        texts.push_back(ScoreProvider::GetQuestionScoreNotes(keys, treble, flat, type));
  };
  for (unsigned int key = 0; key < 88; ++key) add({key}, ScoreProvider::ST_NOTE);
  for (unsigned int step = 0; step <= 12; ++step) add({39, 39 + step}, ScoreProvider::ST_INTERVAL);
  for (unsigned int root : {15u, 27u, 39u, 40u, 46u, 51u}) {
    add({root, root + 4, root + 7}, ScoreProvider::ST_CHORD);
    add({root, root + 3, root + 6, root + 9}, ScoreProvider::ST_CHORD);
    add({root, root + 1, root + 2}, ScoreProvider::ST_CHORD);  // seconds side by side
  }
  add({39, 41, 43, 44, 46, 48, 50, 51}, ScoreProvider::ST_SEQUENCE);
  add({40, 42, 45, 47, 49, 52}, ScoreProvider::ST_SEQUENCE);
  return texts;
}

std::vector<std::string> AnswerTexts() {
  constexpr auto kRight = NoteWAnalysis::CL_RIGHT;
  constexpr auto kWrong = NoteWAnalysis::CL_WRONG;
  constexpr auto kMissing = NoteWAnalysis::CL_NOT_PLAYED;
  std::vector<std::string> texts;
  for (std::vector<NoteWAnalysis> const& notes : std::vector<std::vector<NoteWAnalysis>>{
           {{39, kRight}, {43, kMissing}},
           {{40, kWrong}, {39, kRight}, {46, kRight}},
           {{41, kWrong}, {44, kWrong}, {42, kRight}, {49, kMissing}},
           {{20, kRight}, {22, kWrong}}})
    for (bool treble : {true, false})
      for (bool flat : {true, false}) {
        texts.push_back(ScoreProvider::GetQuestionScoreAnswerNotes(notes, treble, flat));
        texts.push_back(ScoreProvider::GetQuestionScoreAnswerNotesSequence(notes, treble, flat));
      }
  return texts;
}

TEST(MusicTextRoundTrip, QuestionAndAnswerScores) {
  for (std::string const& text : QuestionTexts()) ExpectRoundTrip(text);
  for (std::string const& text : AnswerTexts()) ExpectRoundTrip(text);
}

TEST(MusicTextRoundTrip, ReferencePictures) {
  for (ReferencePictures::Picture const& picture : ReferencePictures::AllPictures()) {
    if (picture.cells.isEmpty()) ExpectRoundTrip(picture.rmn.toStdString());
    for (QString const& cell : picture.cells)
      if (!cell.isEmpty()) ExpectRoundTrip(cell.toStdString());
  }
}

// What the parse and the passes build beyond those texts: chords whose notes have lengths of
// their own, dotted grace notes, a fermata over a note, notes under an octava, a tie the passes
// draw between chords, and ranges around a chord.
TEST(MusicTextRoundTrip, FormsThePassesBuild) {
  for (char const* text : {
           "[ {c1/2, e1/4, g1/4} {d1/8., f1/8.} ]",
           "[ \\grace(d2/8. e2/16) c2/4 ]",
           "[ \\fermata(c2/2) \\fermata d2/4 ]",
           "[ \\oct<1> c1/4 d1/4 \\oct<0> e1/4 ]",
           "[ \\tie({c1/2, e1/2} {c1/2, e1/2}) ]",
           "[ \\slur(c1/4 {d1/4, f1/4}) \\accent({c1/4, e1/4}) ]",
           "[ \\key<\"D\"> \\meter<\"6/8\"> c1/8 d1/8 e1/8 f1/4. c1/12 d1/12 e1/12 ]",
           "{ [ \\staff<1> c1 d1 ], [ \\staff<2> \\clef<\"f4\"> c0/2 empty/4 _/4 ] }",
       })
    ExpectRoundTrip(text);
}

}  // namespace
