#include "tests/src/core/score_builder/music_tags.h"

#include <algorithm>
#include <iterator>

namespace ScoreOverlaps {

namespace {

// Most of these draw what the writer asks in place of what the music asks, so that the page
// may then rightly read otherwise than the notes sound; the others draw nothing a reader reads.
const LeftOutTag LeftOut[] = {
    {"acc", "asks for a sign the signs in force make needless, which the reading counts a fault"},
    {"alter", "draws an alteration the note does not sound"},
    {"auto", "switches off the engine's own bar lines, breaks and stems the pieces rely on"},
    {"set", "another name of \\auto"},
    {"accol", "a piano piece's staves are joined by the engine's own brace"},
    {"barFormat", "bar lines through the staves of a system are a choice of style"},
    {"bembel", "a picture glyph, not music"},
    {"DrVesk", "a picture glyph, not music"},
    {"DrPild", "a picture glyph, not music"},
    {"chord", "a chord symbol's text, which reads as no note"},
    {"splitChord", "a chord symbol's text, which reads as no note"},
    {"color", "colours the ink, which no check reads"},
    {"colour", "colours the ink, which no check reads"},
    {"cue", "a cue voice is drawn small and not played; its heads would read as grace notes"},
    {"defineTag", "makes a new tag name; generated music writes the names the parser knows"},
    {"dispDur", "draws a note with another length than it lasts"},
    {"dotFormat", "moves dots where the writer wants them, off their heads"},
    {"headsNormal", "puts heads on a side of the stem by hand"},
    {"headsReverse", "puts heads on a side of the stem by hand"},
    {"headsCenter", "puts heads on a side of the stem by hand"},
    {"headsRight", "puts heads on a side of the stem by hand"},
    {"headsLeft", "puts heads on a side of the stem by hand"},
    {"label", "names a place for a program; it draws nothing a player reads"},
    {"merge", "draws the notes of two voices as one by the writer's wish"},
    {"noteFormat", "sizes and moves heads by hand: a small head would read as a grace note"},
    {"port", "kept by the parser only; it draws nothing"},
    {"...", "kept by the parser only; it draws nothing"},
    {"restFormat", "puts a rest where the writer says, over another voice's heads if asked"},
    {"shareLocation", "draws the notes of two voices on one head by the writer's wish"},
    {"special", "draws any glyph the writer names"},
    {"staffFormat", "a staff of other than five lines, or of another size, has no reading here"},
    {"staffOff", "hides a staff's notes, which then cannot be read"},
    {"staffOn", "the end of \\staffOff"},
    {"stemsOff", "hides stems: a half note would read as a whole one"},
    {"systemFormat", "moves a system's staves by hand"},
    {"trem", "tremolo strokes on a stem read as beams of a shorter note"},
};

}  // namespace

std::span<const LeftOutTag> TagsLeftOut() {
  return LeftOut;
}

bool HasBeginForm(const std::string& tag) {
  static const char* const withBegin[] = {"\\accel", "\\beam",  "\\cresc", "\\dim",  "\\rit",
                                          "\\slur",  "\\stacc", "\\tie",   "\\volta"};
  return std::any_of(std::begin(withBegin), std::end(withBegin),
                     [&](const char* name) { return tag == name; });
}

}  // namespace ScoreOverlaps
