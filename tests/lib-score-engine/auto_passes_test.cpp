// The automatic passes through the whole parse: what the passes add to and change in the voices
// of a text, and the operations they are made of.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include <sstream>
#include <string>

#include "ARLyrics.h"
#include "ARMusic.h"
#include "ARMusicalTag.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARNote.h"
#include "ARPositionTag.h"
#include "ARVoiceLyrics.h"
#include "ARVoiceManager.h"
#include "engine_work.h"
#include "music_dump.h"
#include "parse_music.h"
#include "support/patience.h"

namespace {

std::string Rmn(ARMusicalObject const& object) {
  std::ostringstream text;
  object.operator<<(text);
  std::string rmn = text.str();
  while (!rmn.empty() && rmn.back() == ' ') rmn.pop_back();
  while (!rmn.empty() && rmn.front() == ' ') rmn.erase(0, 1);
  return rmn;
}

std::string Time(Fraction const& value) {
  return std::to_string(value.getNumerator()) + "/" + std::to_string(value.getDenominator());
}

// One voice in short: the event list, then after " | " the range tags; what the passes made is
// marked "~", tags carry their time after "@".
std::string Listing(ARMusicalVoice const& voice) {
  std::string out;
  auto add = [&](ARMusicalObject const& object) {
    auto const* tag = dynamic_cast<ARMusicalTag const*>(&object);
    if (!out.empty() && out.back() != ' ') out += ' ';
    if (tag && tag->getIsAuto()) out += '~';
    out += Rmn(object);
    if (!object.isEventClass()) out += '@' + Time(object.getRelativeTimePosition());
  };
  for (void* pos = voice.ARMusicalVoice::ObjectList::GetHeadPosition(); pos;)
    add(*voice.ARMusicalVoice::ObjectList::GetNext(pos));
  out += " |";
  if (auto const* tags = voice.getPositionTagList())
    for (void* pos = tags->GetHeadPosition(); pos;)
      add(*dynamic_cast<ARMusicalObject const*>(tags->GetNext(pos)));
  return out;
}

struct Parsed {
  ParsedMusic parsed;
  std::string out, err;
  std::string Voice(int index) const {
    void* pos = parsed.music->GetHeadPosition();
    for (int i = 1; i < index; ++i) parsed.music->GetNext(pos);
    return Listing(*parsed.music->GetAt(pos));
  }
};

Parsed Parse(std::string const& text) {
  Parsed result;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  result.parsed = ParseMusicText(text.c_str());
  result.out = testing::internal::GetCapturedStdout();
  result.err = testing::internal::GetCapturedStderr();
  return result;
}

struct PassCase {
  char const* text;
  char const* voice1;
  char const* voice2 = nullptr;
  char const* err = "";
};

class AutoPassesTest : public testing::TestWithParam<PassCase> {};

TEST_P(AutoPassesTest, CompleteTheVoicesForTheLayout) {
  PassCase const& c = GetParam();
  Parsed const p = Parse(c.text);
  ASSERT_EQ(p.parsed.result, 0) << c.text;
  EXPECT_EQ(p.Voice(1), c.voice1) << c.text;
  if (c.voice2) {
    EXPECT_EQ(p.Voice(2), c.voice2) << c.text;
  }
  EXPECT_EQ(p.err, c.err) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoPassesTest,
    testing::Values(
        PassCase{"[ \\meter<\"4/4\"> c d e f g ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"4/4\">@0/1 ~\\secGlue@0/1 c1*1/4 "
                 "d1*1/4 e1*1/4 f1*1/4 ~\\bar@1/1 ~\\pBreak<1.5>@1/1 g1*1/4 ~\\endBar@5/4 |"},
        PassCase{"[ \\meter<\"3/4\"> c/2 d/2 ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"3/4\">@0/1 ~\\secGlue@0/1 c1*1/2 "
                 "d1*1/4 ~\\bar@3/4 ~\\pBreak<1.5>@3/4 d1*1/4 ~\\endBar@1/1 | ~\\tieBegin:1@1/2 "
                 "~\\tieEnd:1@3/4"},
        PassCase{"[ c/12 d/12 e/12 ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 c1*1/12 d1*1/12 e1*1/12 "
                 "~\\endBar@1/4 | \\tupletBegin<\"-auto-\">@0/1 \\baseBegin<3,2,1,4>@0/1 "
                 "~\\dispDurBegin<1,8,0>@0/1 ~\\autobeamBegin@0/1 ~\\dispDurEnd@0/1 "
                 "~\\dispDurBegin<1,8,0>@1/12 ~\\dispDurEnd@1/12 ~\\dispDurBegin<1,8,0>@1/6 "
                 "~\\autobeamEnd@0/1 \\baseEnd@0/1 \\tupletEnd@0/1 ~\\dispDurEnd@1/6"},
        PassCase{"[ c*5/8 ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 c1*1/2 c1*1/8 ~\\endBar@5/8 "
                 "| ~\\tieBegin:1@0/1 ~\\tieEnd:1@1/2"},
        PassCase{
            "[ _*5/8 ]",
            "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 _*1/2 _*1/8 ~\\endBar@5/8 |"},
        PassCase{"[ c/8. d/16 ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 c1*1/8. d1*1/16 "
                 "~\\endBar@1/4 | ~\\autobeamBegin@0/1 ~\\autobeamEnd@0/1"},
        PassCase{
            "[ \\key<2> c \\key<0> d \\key<-1> e ]",
            "~\\clef<\"treble\">@0/1 \\key<2>@0/1 ~\\secGlue@0/1 c1*1/4 ~\\natkey@1/4 \\key<0>@1/4 "
            "d1*1/4 \\key<-1>@1/2 e1*1/4 ~\\endBar@3/4 |",
            nullptr, ""},
        PassCase{
            "{ [ \\staff<1> \\clef<\"g2\">  \\stemsAuto  { c1 , e1 , g1 }  ], [ \\staff<1> "
            "\\clef<\"g2\">  \\stemsAuto  ] }",
            "\\staff<1>@0/1 \\clef<\"g2\">@0/1 \\stemsAuto@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 "
            "empty-10*1/4 \\chordComma@1/4 c1*0/1 \\chordComma@1/4 e1*0/1 \\chordComma@1/4 g1*0/1 "
            "empty1*0/1 ~\\endBar@1/4 | ~\\autoChordBegin@0/1 ~\\shareLocationBegin@0/1 "
            "~\\dispDurBegin<1,4,0>@1/4 ~\\shareStemBegin@1/4 ~\\shareStemEnd@1/4 "
            "~\\dispDurEnd@1/4 ~\\shareLocationEnd@1/4 ~\\autoChordEnd@1/4"},
        PassCase{"[ \\slurBegin c d \\slurEnd ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 c1*1/4 d1*1/4 ~\\endBar@1/2 "
                 "| \\slurBegin@0/1 \\slurEnd@1/2"},
        PassCase{"[ \\meter<\"2/4\"> c*1 ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"2/4\">@0/1 ~\\secGlue@0/1 c1*1/2 "
                 "~\\bar@1/2 ~\\pBreak<1.5>@1/2 c1*1/2 ~\\endBar@1/1 | ~\\tieBegin:1@0/1 "
                 "~\\tieEnd:1@1/2"},
        PassCase{"[ \\meter<\"4/4\"> c d e f \\newSystem g ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"4/4\">@0/1 ~\\secGlue@0/1 c1*1/4 "
                 "d1*1/4 e1*1/4 f1*1/4 ~\\bar@1/1 \\newSystem@1/1 ~\\clef<\"treble\">@1/1 "
                 "~\\key<0>@1/1 ~\\secGlue@1/1 g1*1/4 ~\\endBar@5/4 |"},
        PassCase{"[ \\meter<\"4/4\"> c d e f \\bar g ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"4/4\">@0/1 ~\\secGlue@0/1 c1*1/4 "
                 "d1*1/4 e1*1/4 f1*1/4 \\bar@1/1 ~\\pBreak<1.5>@1/1 g1*1/4 ~\\endBar@5/4 |"},
        PassCase{"[ \\meter<\"4/4\"> c d e f \\clef<\"f4\"> g ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"4/4\">@0/1 ~\\secGlue@0/1 c1*1/4 "
                 "d1*1/4 e1*1/4 f1*1/4 \\clef<\"f4\">@1/1 ~\\bar@1/1 ~\\pBreak<1.5>@1/1 g1*1/4 "
                 "~\\endBar@5/4 |"},
        PassCase{"[ \\meter<\"4/4\"> c/8 d/8 e/8 f/8 ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"4/4\">@0/1 ~\\secGlue@0/1 c1*1/8 "
                 "d1*1/8 e1*1/8 f1*1/8 ~\\endBar@1/2 | ~\\autobeamBegin@0/1 ~\\autobeamEnd@0/1 "
                 "~\\autobeamBegin@1/4 ~\\autobeamEnd@0/1"},
        PassCase{"[ \\meter<\"6/8\"> c/8 d e f g a ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"6/8\">@0/1 ~\\secGlue@0/1 c1*1/8 "
                 "d1*1/8 e1*1/8 f1*1/8 g1*1/8 a1*1/8 ~\\endBar@3/4 | ~\\autobeamBegin@0/1 "
                 "~\\autobeamEnd@0/1 ~\\autobeamBegin@3/8 ~\\autobeamEnd@0/1"},
        PassCase{"[ \\meter<\"4/4\"> c/8. d/16 ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"4/4\">@0/1 ~\\secGlue@0/1 "
                 "c1*1/8. d1*1/16 ~\\endBar@1/4 | ~\\autobeamBegin@0/1 ~\\autobeamEnd@0/1"},
        PassCase{"[ \\beamsOff c/8 d/8 \\beamsAuto e/8 f/8 ]",
                 "\\beamsOff@0/1 ~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 c1*1/8 "
                 "d1*1/8 \\beamsAuto@1/4 e1*1/8 f1*1/8 ~\\endBar@1/2 | ~\\autobeamBegin@1/4 "
                 "~\\autobeamEnd@0/1"},
        PassCase{
            "[ \\tie( c c c ) ]",
            "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 c1*1/4 c1*1/4 c1*1/4 "
            "~\\endBar@3/4 | ~\\tieBegin:0@0/1 ~\\tieBegin:1@1/4 ~\\tieEnd:0@1/4 ~\\tieEnd:1@1/2"},
        PassCase{
            "[ \\tie( c d ) ]",
            "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 c1*1/4 d1*1/4 ~\\endBar@1/2 |"},
        PassCase{"[ \\tie( { c, e } { c, e } ) ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 empty-10*1/4 "
                 "\\chordComma@1/4 c1*0/1 \\chordComma@1/4 e1*0/1 empty1*0/1 empty-10*1/4 "
                 "\\chordComma@1/2 c1*0/1 \\chordComma@1/2 e1*0/1 empty1*0/1 ~\\endBar@1/2 | "
                 "~\\autoChordBegin@0/1 ~\\shareLocationBegin@0/1 ~\\dispDurBegin<1,4,0>@1/4 "
                 "~\\shareStemBegin@1/4 ~\\tieBegin:0@1/4 ~\\tieBegin:1@1/4 ~\\shareStemEnd@1/4 "
                 "~\\dispDurEnd@1/4 ~\\shareLocationEnd@1/4 ~\\autoChordEnd@1/4 "
                 "~\\autoChordBegin@1/4 ~\\shareLocationBegin@1/4 ~\\dispDurBegin<1,4,0>@1/2 "
                 "~\\shareStemBegin@1/2 ~\\tieEnd:0@1/2 ~\\tieEnd:1@1/2 ~\\shareStemEnd@1/2 "
                 "~\\dispDurEnd@1/2 ~\\shareLocationEnd@1/2 ~\\autoChordEnd@1/2"},
        PassCase{"[ \\merge( c c ) ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 c1*1/4 c1*1/4 ~\\endBar@1/2 "
                 "| \\merge(@0/1 ~\\dispDurBegin<1,2,0>@0/1 ~\\dispDurEnd@0/1 "
                 "~\\dispDurBegin<0,1,0>@1/4 ~\\dispDurEnd@1/4 )@1/2"},
        PassCase{"[ \\lyrics<\"hel-lo world\">( c d e f ) ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 c1*1/4 d1*1/4 e1*1/4 f1*1/4 "
                 "~\\endBar@1/1 | \\text<\"hel-lo world\",dy=-3>(@0/1 \\text<\"hel-\">(@0/1 )@1/4 "
                 "\\text<\"lo\">(@1/4 )@1/2 \\text<\"world\">(@1/2 )@3/4 )@1/1"},
        // A syllable for each note drawn: none for a grace note, one for a merge drawn as one
        // note, one for each note of a merge whose notes cannot be drawn as one.
        PassCase{
            "[ \\lyrics<\"a b c d\">( \\grace( d/16 ) \\merge( c/8 c ) e/4 \\merge( e/8 f ) ) ]",
            "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 d1*0/1 c1*1/8 c1*1/8 e1*1/4 "
            "e1*1/8 f1*1/8 ~\\endBar@3/4 | \\text<\"a b c d\",dy=-3>(@0/1 \\grace(@0/1 "
            "\\dispDurBegin<1,16,0>@0/1 \\dispDurEnd@0/1 )@0/1 \\merge(@0/1 \\text<\"a\">(@0/1 "
            "~\\dispDurBegin<1,4,0>@0/1 ~\\autobeamBegin@0/1 ~\\dispDurEnd@0/1 )@1/8 "
            "~\\dispDurBegin<0,1,0>@1/8 ~\\autobeamEnd@0/1 ~\\dispDurEnd@1/8 )@1/4 "
            "\\text<\"b\">(@1/4 )@1/2 \\text<\"c\">(@1/2 ~\\autobeamBegin@1/2 )@5/8 "
            "\\text<\"d\">(@5/8 ~\\autobeamEnd@0/1 )@3/4 )@3/4"},
        PassCase{
            "[ c-1 d-1 ]",
            "~\\clef<\"bass\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 c-1*1/4 d-1*1/4 ~\\endBar@1/2 |"},
        PassCase{
            "[ _ _ ]",
            "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 _*1/4 _*1/4 ~\\endBar@1/2 |"},
        PassCase{"[ \\meter<\"4/4\"> c d e f ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"4/4\">@0/1 ~\\secGlue@0/1 c1*1/4 "
                 "d1*1/4 e1*1/4 f1*1/4 ~\\endBar@1/1 |"},
        PassCase{"[ \\set<endBar=\"off\"> c ]",
                 "\\set<endBar=\"off\">@0/1 ~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 "
                 "c1*1/4 |"},
        // The end bar follows the last settings of the voice, and the last bar line.
        PassCase{"[ \\set<endBar=\"off\"> c \\set<endBar=\"on\"> d ]",
                 "\\set<endBar=\"off\">@0/1 ~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 "
                 "c1*1/4 \\set@1/4 d1*1/4 ~\\endBar@1/2 |"},
        PassCase{"[ \\set<endBar=\"on\"> c \\set<endBar=\"off\"> d ]",
                 "\\set@0/1 ~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 c1*1/4 "
                 "\\set<endBar=\"off\">@1/4 d1*1/4 |"},
        PassCase{"[ \\meter<\"2/4\"> c d \\set<endBar=\"on\"> e f g ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"2/4\">@0/1 ~\\secGlue@0/1 c1*1/4 "
                 "d1*1/4 ~\\bar@1/2 ~\\pBreak<1.5>@1/2 \\set@1/2 e1*1/4 f1*1/4 ~\\bar@1/1 "
                 "~\\pBreak<1.5>@1/1 g1*1/4 ~\\endBar@5/4 |"},
        PassCase{"[ \\clef<\"g2\"> ]", "\\clef<\"g2\">@0/1 |"},
        PassCase{"[ \\meter<\"4/4\"> c d e f \\bar ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"4/4\">@0/1 ~\\secGlue@0/1 c1*1/4 "
                 "d1*1/4 e1*1/4 f1*1/4 \\bar@1/1 |"},
        PassCase{
            "[ { c*7/2 , e } ]",
            "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 empty-10*1/1 \\chordComma@1/1 "
            "c1*0/1 \\chordComma@1/1 e1*0/1 empty1*0/1 empty-10*1/1 \\chordComma@2/1 c1*0/1 "
            "\\chordComma@2/1 e1*0/1 empty1*0/1 empty-10*3/2 \\chordComma@7/2 c1*0/1 "
            "\\chordComma@7/2 e1*0/1 empty1*0/1 ~\\endBar@7/2 | ~\\autoChordBegin@0/1 "
            "~\\shareLocationBegin@0/1 ~\\dispDurBegin<1,1,0>@7/2 ~\\shareStemBegin@7/2 "
            "~\\tieBegin:4@1/1 ~\\tieBegin:6@1/1 ~\\shareStemEnd@7/2 ~\\dispDurEnd@7/2 "
            "~\\shareLocationEnd@7/2 ~\\autoChordEnd@7/2 ~\\autoChordBegin@1/1 "
            "~\\shareLocationBegin@1/1 ~\\dispDurBegin<1,1,0>@1/1 ~\\shareStemBegin@1/1 "
            "~\\tieBegin:9@2/1 ~\\tieEnd:4@2/1 ~\\tieBegin:12@2/1 ~\\tieEnd:6@2/1 "
            "~\\shareStemEnd@7/2 ~\\dispDurEnd@7/2 ~\\shareLocationEnd@7/2 ~\\autoChordEnd@7/2 "
            "~\\autoChordBegin@2/1 ~\\shareLocationBegin@2/1 ~\\dispDurBegin<1,1,1>@2/1 "
            "~\\shareStemBegin@2/1 ~\\tieEnd:9@7/2 ~\\tieEnd:12@7/2 ~\\shareStemEnd@7/2 "
            "~\\dispDurEnd@7/2 ~\\shareLocationEnd@7/2 ~\\autoChordEnd@7/2"},
        PassCase{
            "[ \\meter<\"4/4\"> { c/2, e } { c*3/4, e } ]",
            "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"4/4\">@0/1 ~\\secGlue@0/1 "
            "empty-10*1/2 \\chordComma@1/2 c1*0/1 \\chordComma@1/2 e1*0/1 empty1*0/1 empty-10*1/2 "
            "\\chordComma@1/1 c1*0/1 \\chordComma@1/1 e1*0/1 empty1*0/1 ~\\bar@1/1 "
            "~\\pBreak<1.5>@1/1 empty-10*1/4 \\chordComma@5/4 c1*0/1 \\chordComma@5/4 e1*0/1 "
            "empty1*0/1 ~\\endBar@5/4 | ~\\autoChordBegin@0/1 ~\\shareLocationBegin@0/1 "
            "~\\dispDurBegin<1,2,0>@1/2 ~\\shareStemBegin@1/2 ~\\shareStemEnd@1/2 "
            "~\\dispDurEnd@1/2 ~\\shareLocationEnd@1/2 ~\\autoChordEnd@1/2 ~\\autoChordBegin@1/2 "
            "~\\shareLocationBegin@1/2 ~\\dispDurBegin<1,2,0>@5/4 ~\\shareStemBegin@5/4 "
            "~\\tieBegin:2@1/1 ~\\tieBegin:4@1/1 ~\\shareStemEnd@5/4 ~\\dispDurEnd@5/4 "
            "~\\shareLocationEnd@5/4 ~\\autoChordEnd@5/4 ~\\autoChordBegin@1/1 "
            "~\\shareLocationBegin@1/1 ~\\dispDurBegin<1,4,0>@1/1 ~\\shareStemBegin@1/1 "
            "~\\tieEnd:2@5/4 ~\\tieEnd:4@5/4 ~\\shareStemEnd@5/4 ~\\dispDurEnd@5/4 "
            "~\\shareLocationEnd@5/4 ~\\autoChordEnd@5/4"},
        PassCase{"[ \\meter<\"-3/4\"> c d e f ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 @0/1 ~\\secGlue@0/1 c1*1/4 d1*1/4 e1*1/4 "
                 "f1*1/4 ~\\endBar@1/1 |"},
        PassCase{"[ \\meter<\"4/4\"> \\key<1> c d e f \\newSystem g ]",
                 "~\\clef<\"treble\">@0/1 \\key<1>@0/1 \\meter<\"4/4\">@0/1 ~\\secGlue@0/1 c1*1/4 "
                 "d1*1/4 e1*1/4 f1*1/4 ~\\bar@1/1 \\newSystem@1/1 ~\\clef<\"treble\">@1/1 "
                 "\\key<1>@1/1 ~\\secGlue@1/1 g1*1/4 ~\\endBar@5/4 |",
                 nullptr, "Razid Warning: Meter set before key !\n"},
        PassCase{"{ [ \\meter<\"3/4\"> c/2 d/2 ], [ \\meter<\"3/4\"> e*1 ] }",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"3/4\">@0/1 ~\\secGlue@0/1 c1*1/2 "
                 "d1*1/4 ~\\bar@3/4 ~\\pBreak<1.5>@3/4 d1*1/4 ~\\endBar@1/1 | ~\\tieBegin:2@1/2 "
                 "~\\tieEnd:2@3/4"},
        // A meter after a break while a bar was due: the full measure keeps its bar in front of
        // the break, and the next due bar stands in front of the next break, not the past one.
        PassCase{"[ \\meter<\"2/4\"> c*1 \\newSystem \\meter<\"2/4\"> c*1 \\newSystem d/2 ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"2/4\">@0/1 ~\\secGlue@0/1 c1*1/2 "
                 "~\\bar@1/2 ~\\pBreak<1.5>@1/2 c1*1/2 ~\\bar@1/1 \\newSystem@1/1 "
                 "~\\clef<\"treble\">@1/1 "
                 "~\\key<0>@1/1 \\meter<\"2/4\">@1/1 ~\\secGlue@1/1 c1*1/2 ~\\bar@3/2 "
                 "~\\pBreak<1.5>@3/2 c1*1/2 ~\\bar@2/1 \\newSystem@2/1 ~\\clef<\"treble\">@2/1 "
                 "~\\key<0>@2/1 ~\\secGlue@2/1 d1*1/2 ~\\endBar@5/2 | ~\\tieBegin:2@0/1 "
                 "~\\tieEnd:2@1/2 ~\\tieBegin:4@1/1 ~\\tieEnd:4@3/2"},
        // A chord cut at a bar after a staff change inside it: the rest begins on the staff the
        // chord began on, and changes staff where the chord did.
        PassCase{"[ \\staff<1> \\meter<\"2/4\"> { c*3/4, \\staff<2> e*3/4 } d/4 ]",
                 "\\staff<1>@0/1 ~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"2/4\">@0/1 "
                 "~\\secGlue@0/1 empty-10*1/2 \\chordComma@1/2 c1*0/1 \\chordComma@1/2 "
                 "\\staff<2>@1/2 e1*0/1 empty1*0/1 ~\\bar@1/2 ~\\pBreak<1.5>@1/2 ~\\staff<1>@1/2 "
                 "empty-10*1/4 \\chordComma@3/4 c1*0/1 \\chordComma@3/4 \\staff<2>@3/4 e1*0/1 "
                 "empty1*0/1 d1*1/4 ~\\endBar@1/1 | ~\\autoChordBegin@0/1 "
                 "~\\shareLocationBegin@0/1 ~\\dispDurBegin<1,2,0>@3/4 ~\\shareStemBegin@3/4 "
                 "~\\tieBegin:2@1/2 ~\\tieBegin:4@1/2 ~\\shareStemEnd@3/4 ~\\dispDurEnd@3/4 "
                 "~\\shareLocationEnd@3/4 ~\\autoChordEnd@3/4 ~\\autoChordBegin@1/2 "
                 "~\\shareLocationBegin@1/2 ~\\dispDurBegin<1,4,0>@1/2 ~\\shareStemBegin@1/2 "
                 "~\\tieEnd:2@3/4 ~\\tieEnd:4@3/4 ~\\shareStemEnd@3/4 ~\\dispDurEnd@3/4 "
                 "~\\shareLocationEnd@3/4 ~\\autoChordEnd@3/4"},
        // A chord in a tuplet that no value draws is cut like one outside: its first part is
        // drawn as a half inside the triplet, the rest as an eighth, each note tied over.
        PassCase{"[ { c*5/12, e*5/12 } ]",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 empty-10*1/3 "
                 "\\chordComma@1/3 c1*0/1 \\chordComma@1/3 e1*0/1 empty1*0/1 empty-10*1/12 "
                 "\\chordComma@5/12 c1*0/1 \\chordComma@5/12 e1*0/1 empty1*0/1 ~\\endBar@5/12 | "
                 "~\\autoChordBegin@0/1 ~\\shareLocationBegin@0/1 ~\\dispDurBegin<1,3,0>@5/12 "
                 "~\\shareStemBegin@5/12 \\tupletBegin<\"-auto-\">@0/1 \\baseBegin<3,2,5,12>@0/1 "
                 "~\\dispDurBegin<1,2,0>@0/1 ~\\dispDurEnd@0/1 ~\\tieBegin:2@1/3 "
                 "~\\tieBegin:4@1/3 ~\\shareStemEnd@5/12 ~\\dispDurEnd@5/12 "
                 "~\\shareLocationEnd@5/12 ~\\autoChordEnd@5/12 ~\\autoChordBegin@1/3 "
                 "~\\shareLocationBegin@1/3 ~\\dispDurBegin<1,12,0>@1/3 ~\\shareStemBegin@1/3 "
                 "~\\dispDurBegin<1,8,0>@1/3 ~\\dispDurEnd@1/3 ~\\tieEnd:2@5/12 ~\\tieEnd:4@5/12 "
                 "~\\shareStemEnd@5/12 ~\\dispDurEnd@5/12 ~\\shareLocationEnd@5/12 "
                 "~\\autoChordEnd@5/12 \\tupletEnd@0/1 \\baseEnd@0/1"},
        // A composer written with a range keeps no duration: the break pass walks the voices
        // by their events, and cuts the cue's empty event where the main voice breaks.
        PassCase{"[ \\composer<\"x\">( c \\newSystem c \\cue( f ) ) ]",
                 "\\staff<1>@0/1 ~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 "
                 "empty-10*1/4 ~\\newSystem@1/4 ~\\clef<\"treble\">@1/4 ~\\key<0>@1/4 "
                 "~\\secGlue@1/4 empty-10*1/4 \\noteFormat<color=\"blue\",size=0.6>@1/2 f1*1/4 "
                 "~\\endBar@3/4 |",
                 "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\composer<\"x\">@0/1 ~\\secGlue@0/1 "
                 "c1*1/4 \\newSystem@1/4 ~\\clef<\"treble\">@1/4 ~\\key<0>@1/4 ~\\secGlue@1/4 "
                 "c1*1/4 empty-10*1/4 ~\\endBar@3/4 |",
                 "Razid Warning: Tagrange ignored (1)\n"},
        // Every line opens with clef, key, meter and then the repeat begin, whatever the written
        // order; a meter written before the key of a change follows it, with the warning; a
        // repeat begin that stands for the due bar gets the bar a line broken there ends with.
        PassCase{
            "[ \\repeatBegin \\meter<\"2/4\"> \\clef<\"f4\"> c/2 \\newSystem \\repeatBegin "
            "\\meter<\"3/4\"> d/2. \\meter<\"2/4\"> \\key<\"F\"> e/2 \\repeatBegin f/2 ]",
            "\\clef<\"f4\">@0/1 ~\\key<0>@0/1 \\meter<\"2/4\">@0/1 \\repeatBegin<0>@0/1 "
            "~\\secGlue@0/1 c1*1/2 ~\\bar@1/2 \\newSystem@1/2 \\clef<\"f4\">@1/2 ~\\key<0>@1/2 "
            "\\meter<\"3/4\">@1/2 \\repeatBegin<0>@1/2 ~\\secGlue@1/2 d1*1/2. ~\\bar@5/4 "
            "~\\pBreak<1.5>@5/4 \\key<-1>@5/4 \\meter<\"2/4\">@5/4 e1*1/2 ~\\bar@7/4 "
            "~\\pBreak<1.5>@7/4 \\repeatBegin<0>@7/4 f1*1/2 ~\\endBar@9/4 |",
            nullptr, "Razid Warning: Meter set before key !\n"},
        // The marks written before a line's signs follow them, the tags that draw nothing keep
        // their places, and no tag crosses a staff tag, which sends those after it elsewhere.
        PassCase{"[ \\oct<-1> \\intens<\"p\"> \\stemsUp \\clef<\"f4\"> \\key<2> \\oct<1> "
                 "\\staff<2> \\instr<\"Piano\"> \\meter<\"2/4\"> c/2 ]",
                 "\\clef<\"f4\">@0/1 \\key<2>@0/1 \\stemsUp@0/1 \\oct<i=-1>@0/1 "
                 "\\intens<\"p\">@0/1 \\oct<i=1>@0/1 \\staff<2>@0/1 \\meter<\"2/4\">@0/1 "
                 "\\instr<\"Piano\">@0/1 ~\\secGlue@0/1 c1*1/2 ~\\endBar@1/2 |"},
        // A staff tag naming the staff the voice is on parts nothing, so an instrument name
        // written before it is not drawn over the clef; one naming another staff still parts.
        PassCase{"[ \\instr<\"Piano\"> \\staff<1> \\clef<\"g2\"> c/2 \\newSystem "
                 "\\instr<\"Violin\"> \\staff<2> \\clef<\"f4\"> d/2 ]",
                 "\\clef<\"g2\">@0/1 \\staff<1>@0/1 ~\\key<0>@0/1 \\instr<\"Piano\">@0/1 "
                 "~\\secGlue@0/1 c1*1/2 \\newSystem@1/2 \\instr<\"Violin\">@1/2 \\staff<2>@1/2 "
                 "\\clef<\"f4\">@1/2 ~\\key<0>@1/2 ~\\secGlue@1/2 d1*1/2 ~\\endBar@1/1 |"}),
    [](auto const& param) { return "case" + std::to_string(param.index); });

// Both voices of the question score hold their leading tags, the chord or one empty event of a
// quarter, and the finish bar.
TEST(AutoPassesMusicTest, TheQuestionScoreHasTwoVoicesOfAQuarter) {
  Parsed const p = Parse(
      "{ [ \\staff<1> \\clef<\"g2\">  \\stemsAuto  { c1 , e1 , g1 }  ], [ \\staff<1> "
      "\\clef<\"g2\">  \\stemsAuto  ] }");
  ASSERT_EQ(p.parsed.result, 0);
  EXPECT_EQ(p.Voice(2),
            "\\staff<1>@0/1 \\clef<\"g2\">@0/1 \\stemsAuto@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 "
            "empty-10*1/4 ~\\endBar@1/4 |");
  for (void* pos = p.parsed.music->GetHeadPosition(); pos;)
    EXPECT_EQ(p.parsed.music->GetNext(pos)->getDuration(), Frac_1_4);
}

TEST(AutoPassesMusicTest, ShorterVoicesAreFilledToTheLongest) {
  Parsed const p = Parse("{ [ \\meter<\"3/4\"> c/2 d/2 ], [ \\meter<\"3/4\"> e*1 ] }");
  ASSERT_EQ(p.parsed.result, 0);
  EXPECT_EQ(p.Voice(2),
            "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 \\meter<\"3/4\">@0/1 ~\\secGlue@0/1 e1*3/4 "
            "~\\bar@3/4 ~\\pBreak<1.5>@3/4 e1*1/4 ~\\endBar@1/1 | ~\\tieBegin:4@0/1 "
            "~\\tieEnd:4@3/4");
}

// Texts that ask for millions of objects are refused, not worked on without end; long ones within
// the limit run.
TEST(AutoPassesMusicTest, WorkBeyondTheLimitIsRefusedQuickly) {
  std::string many = "[ \\meter<\"4/4\"> ";
  for (int i = 0; i < 500; ++i) many += "c*32767 ";
  many += "]";
  // A chord cut at every whole note is copied whole each time.
  std::string chord = "[ { c*32767";
  for (int i = 0; i < 15; ++i) chord += ", d";
  chord += " } ]";
  // The ranges over many equal notes tie each to each: three hundred c in a chord of 24 wholes
  // would make a million ties.
  std::string equalNotes = "[ { c*24";
  for (int i = 0; i < 300; ++i) equalNotes += ", c";
  equalNotes += " } ]";
  for (std::string const& text :
       {std::string("[ \\meter<\"1/2147483647\"> c*32767 ]"), many, chord, equalNotes}) {
    auto const start = std::chrono::steady_clock::now();
    Parsed const p = Parse(text);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              Testing::EndlessWorkSeconds);
    EXPECT_EQ(p.parsed.result, ParsedMusic::kMusicTooLarge);
    EXPECT_EQ(p.parsed.music, nullptr);
    EXPECT_EQ(p.err, "Razid Warning: Music too large for one parse - ignored\n");
  }
  // Within the limit: a bar, a break and a tied piece per measure (its time is measured on the
  // optimised build, not here).
  Parsed const p = Parse("[ \\meter<\"4/4\"> c*32767 ]");
  ASSERT_EQ(p.parsed.result, 0);
  EXPECT_EQ(p.parsed.music->GetHead()->GetCount(), 4 + 32767 * 3 + 1 - 2);
}

// A mark inside a chord that is cut into tied pieces is not copied into the pieces; the ranges
// of the chord that ended at it end in every piece all the same, each piece's notes under a stem
// of their own, as without the mark.
TEST(AutoPassesMusicTest, ChordPiecesCloseTheRangesThatEndedAtAMark) {
  struct Case {
    char const* chord;
    char const* written;  // what stands for \\i in the text
    char const* listed;   // how the listing shows it
  };
  for (Case const& c :
       {Case{"{ c*4, e/4, \\i g. }", "\\intens<\"p\">", "\\intens<\"p\">@1/1 "},
        Case{"{ c*4, e/4 \\i , g. }", "\\intens<\"p\">", "\\intens<\"p\">@1/1 "},
        Case{"{ c*3, e7/1, e7/8, \\i e7/1, e7/8, e0. }", "\\newSystem", "\\newSystem@1/1 "}}) {
    std::string marked = c.chord;
    marked.replace(marked.find("\\i"), 2, c.written);
    std::string plain = c.chord;
    plain.erase(plain.find("\\i"), 3);
    Parsed const withMark = Parse("[ " + marked + " ]");
    Parsed const without = Parse("[ " + plain + " ]");
    ASSERT_EQ(withMark.parsed.result, 0) << marked;
    ASSERT_EQ(without.parsed.result, 0) << plain;
    std::string listing = withMark.Voice(1);
    std::string const mark = c.listed;
    ASSERT_NE(listing.find(mark), std::string::npos) << listing;
    listing.erase(listing.find(mark), mark.size());
    EXPECT_EQ(listing, without.Voice(1)) << marked;
  }
}

// Every note of a long chord is tied to the same note of the next piece, and each tie range
// starts a tie at every note while it is open: the ties made and dropped again must not grow with
// the square of the chord's width. The ties kept take the ids they would have had if every one
// had been made, as the ids of written ranges before, inside and after them show.
TEST(AutoPassesMusicTest, TiesOfWideChordsGrowWithTheirWidth) {
  auto wideChord = [](int width) {
    std::string chord = "c-3*12";
    for (int n = 1; n < width; ++n)
      chord += std::string(", ") + "cdefgah"[n % 7] + std::to_string(n / 7 - 3);
    return "[ { " + chord + " } ]";
  };
  auto work = [](std::string const& text) {
    std::uint64_t const before = EngineWork::ListSteps();
    EXPECT_EQ(Parse(text).parsed.result, 0) << text;
    return static_cast<double>(EngineWork::ListSteps() - before);
  };
  double const narrow = work(wideChord(6));
  double const wide = work(wideChord(48));
  EXPECT_LE(wide, 9 * narrow) << "grew " << wide / narrow << "-fold";

  Parsed const p = Parse("[ \\tie( c \\tie( {c*2, e} c ) c ) ]");
  ASSERT_EQ(p.parsed.result, 0);
  EXPECT_EQ(p.Voice(1),
            "~\\clef<\"treble\">@0/1 ~\\key<0>@0/1 ~\\secGlue@0/1 c1*1/4 empty-10*2/1 "
            "\\chordComma@9/4 c1*0/1 \\chordComma@9/4 e1*0/1 empty1*0/1 "
            "~\\pBreak<0.5>@9/4 c1*2/1 ~\\pBreak<0.5>@17/4 c1*2/1 "
            "~\\endBar@25/4 | ~\\tieBegin:0@0/1 ~\\autoChordBegin@1/4 ~\\shareLocationBegin@1/4 "
            "~\\dispDurBegin<2,1,0>@9/4 ~\\shareStemBegin@9/4 ~\\tieBegin:1@9/4 "
            "~\\tieBegin:2@9/4 ~\\tieEnd:0@9/4 ~\\shareStemEnd@9/4 ~\\dispDurEnd@9/4 "
            "~\\shareLocationEnd@9/4 ~\\autoChordEnd@9/4 ~\\tieBegin:5@9/4 ~\\tieEnd:1@9/4 "
            "~\\tieEnd:2@9/4 ~\\tieEnd:5@17/4");
}

// A tie range starts a tie at every note it holds, and most are dropped at the next note; the
// ties kept have the ids they were given in that order, which counts the dropped ones, and end
// in the order they began, also where a range ends between a tie's start and its end and where
// a chord holds one pitch twice.
TEST(AutoPassesMusicTest, KeptTiesHaveTheIdsOfEveryTieStarted) {
  auto tiesOf = [](std::string const& listing) {
    std::istringstream words(listing);
    std::string ties;
    for (std::string word; words >> word;)
      if (word.rfind("~\\tie", 0) == 0) ties += word.substr(0, word.find('@')) + " ";
    return ties;
  };
  struct Case {
    char const* text;
    char const* ties;
  };
  for (Case const& c :
       {Case{"[ \\tieBegin:1 c \\tieBegin:2 c \\tieEnd:1 c c \\tieEnd:2 ]",
             "~\\tieBegin:3 ~\\tieBegin:5 ~\\tieEnd:3 ~\\tieBegin:6 ~\\tieEnd:5 ~\\tieEnd:6 "},
        Case{"[ \\tieBegin:1 c \\tieBegin:2 c \\tieBegin:3 c \\tieEnd:2 c \\tieEnd:1 \\tieEnd:3 ]",
             "~\\tieBegin:4 ~\\tieBegin:5 ~\\tieBegin:6 ~\\tieEnd:4 ~\\tieBegin:7 ~\\tieBegin:9 "
             "~\\tieEnd:5 ~\\tieEnd:6 ~\\tieEnd:7 ~\\tieEnd:9 "},
        Case{"[ \\meter<\"4/4\"> {c*3, e, c} ]",
             "~\\tieBegin:6 ~\\tieBegin:8 ~\\tieBegin:9 ~\\tieBegin:10 ~\\tieBegin:11 "
             "~\\tieBegin:15 ~\\tieEnd:6 ~\\tieEnd:9 ~\\tieEnd:10 ~\\tieEnd:11 ~\\tieBegin:19 "
             "~\\tieEnd:8 ~\\tieBegin:21 ~\\tieBegin:22 ~\\tieBegin:23 ~\\tieEnd:15 "
             "~\\tieEnd:21 ~\\tieEnd:22 ~\\tieEnd:23 ~\\tieEnd:19 "}}) {
    Parsed const p = Parse(c.text);
    ASSERT_EQ(p.parsed.result, 0) << c.text;
    EXPECT_EQ(tiesOf(p.Voice(1)), c.ties) << c.text;
  }
}

TEST(AutoPassesMusicTest, TextsThatOnceBrokeThePassesParse) {
  for (char const* text :
       {"[ c11 d ]", "[ c*0. ]", "[ \\meter<\"-3/4\"> c d e f ]", "[ { c*7/2 , e } ]",
        "[ { \\cue( c ) } ]", "[ \\repeatEnd( c ) \\repeatEnd() d ]", "{ [ c*3 ], [ _/3 d*2 ] }",
        "[ \\tuplet<\"-3:2-\">( c/12 d/5 e/12 ) ]", "[ \\merge( c/8 c/8 c/8 c/8 c/8 ) ]",
        "[ \\meter<\"2/4\"> { c*5/4, e/8 } ]", "[ \\meter<\"4/4\"> \\tie( c*9/4 ) d ]",
        "[ { c*7/20,e2 } ]", "[ { c*3/5, e } d ]"}) {
    Parsed const p = Parse(text);
    EXPECT_EQ(p.parsed.result, 0) << text;
  }
}

// The drawable part is computed directly; it is what lowering the numerator one by one gives.
TEST(AutoPassesOperationsTest, DrawablePartsAreThoseOfTheStepwiseRule) {
  auto stepwise = [](int n, int m) {
    Fraction part(n - 1, m);
    part.normalize();
    while (part.getNumerator() != 1) {
      part = Fraction(part.getNumerator() - 1, part.getDenominator());
      part.normalize();
    }
    return part;
  };
  for (int m = 1; m <= 64; m *= 2) {
    for (int n = 1; n < 300; ++n) {
      for (int dotsAllowed : {0, 1}) {
        Fraction dur(n, m);
        int dots = dotsAllowed;
        if (ARMusicalVoice::DurationIsDisplayable(dur, dots)) continue;
        Fraction reduced(n, m);
        reduced.normalize();
        EXPECT_EQ(dur, stepwise(reduced.getNumerator(), reduced.getDenominator())) << n << "/" << m;
        EXPECT_EQ(dots, 0);
      }
    }
  }
  Fraction seven(7, 8);
  int dots = 1;
  EXPECT_TRUE(ARMusicalVoice::DurationIsDisplayable(seven, dots));
  EXPECT_EQ(dots, 2);
}

TEST(AutoPassesOperationsTest, TupletBasesFollowTheOddPartOfTheDenominator) {
  struct BaseCase {
    Fraction dur, base;
  } const cases[] = {{Fraction(1, 12), Fraction(3, 2)},
                     {Fraction(1, 5), Fraction(5, 4)},
                     {Fraction(1, 7), Fraction(7, 8)},
                     {Fraction(2, 11), Fraction(11, 8)},
                     {Fraction(3, 13), Fraction(13, 3)}};
  for (BaseCase const& c : cases) {
    Fraction base;
    EXPECT_FALSE(ARMusicalVoice::DurationFitsBase(c.dur, Frac_1, base));
    EXPECT_EQ(base, c.base);
    EXPECT_TRUE(ARMusicalVoice::DurationFitsBase(Fraction(1, 12), Fraction(3, 2), base));
  }
}

TEST(AutoPassesOperationsTest, LyricsAreCutIntoSyllables) {
  Parsed const p = Parse("[ \\lyrics<\"a-b c~d  e\">( c ) ]");
  ASSERT_EQ(p.parsed.result, 0);
  ARMusicalVoice* voice = p.parsed.music->GetHead();
  auto* lyrics = dynamic_cast<ARLyrics*>(voice->getPositionTagList()->GetHead());
  ASSERT_NE(lyrics, nullptr);
  ARDispatchLyricsClass record(lyrics);
  for (char const* syllable : {"a-", "b", "c d", "", "e", "", ""})
    EXPECT_STREQ(record.GetNextSubstring().c_str(), syllable);
}

// A voice manager steps over the tags at a date in tag mode and over one event otherwise.
TEST(AutoPassesOperationsTest, AVoiceManagerAnswersWhereItsVoiceStands) {
  ARMusicalVoice voice;
  voice.AddTail(new ARNote(Frac_1));
  ARVoiceManager manager(&voice);
  Fraction date;
  EXPECT_EQ(manager.Iterate(date, 1), ARVoiceManager::kAtEvent);
  EXPECT_EQ(manager.Iterate(date, 0), ARVoiceManager::kConsumedToEnd);
  EXPECT_EQ(date, Frac_1);
  EXPECT_EQ(manager.Iterate(date, 0), ARVoiceManager::kFinished);
  EXPECT_EQ(manager.CheckBreakPosition(Frac_1), -1.0f);

  ARMusicalVoice half;
  half.AddTail(new ARNote(Frac_1_2));
  ARVoiceManager cutter(&half);
  Fraction start;
  cutter.Iterate(start, 0);
  cutter.InsertBreak(Frac_1_4, 3, 1.0f);
  std::ostringstream rmn;
  half.output(rmn, true);
  EXPECT_EQ(rmn.str(), " [ empty-10*1/4 \\pBreak<1> empty-10*1/4  ] ");
  EXPECT_EQ(cutter.CheckBreakPosition(Frac_1_4), -10000.0f);
}

TEST(AutoPassesOperationsTest, RemovingTheAutomaticTagsLeavesWhatTheTextWrote) {
  Parsed const p = Parse("[ \\meter<\"3/4\"> c/4 c/12 d/12 e/12 d/2 \\tie( e e ) ]");
  ASSERT_EQ(p.parsed.result, 0);
  p.parsed.music->MarkVoice(7, 0.0f, 1.0f);
  p.parsed.music->MarkVoice(1, 1, 4, 1, 4);
  p.parsed.music->removeAutoTags();
  EXPECT_EQ(p.Voice(1),
            "\\meter<\"3/4\">@0/1 c1*1/4 c1*1/12 d1*1/12 e1*1/12 d1*1/4 d1*1/4 e1*1/2 e1*1/2 | "
            "\\tupletBegin<\"-auto-\">@1/4 \\baseBegin<3,2,1,4>@1/4 \\baseEnd@0/1 "
            "\\tupletEnd@0/1");
}

}  // namespace
