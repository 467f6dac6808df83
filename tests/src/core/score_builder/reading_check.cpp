#include "tests/src/core/score_builder/reading_check.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>
#include <tuple>

#include "tests/src/core/score_builder/pitch_reading.h"

namespace ScoreOverlaps {

namespace {

// The notes of a staff struck at one time, grace notes apart from the others.
using Onset = std::tuple<int, int, bool>;  // staff, ticks, grace

std::string TimeText(int ticks) {
  const int common = std::gcd(ticks, TicksPerWhole);
  return std::to_string(ticks / common) + "/" + std::to_string(TicksPerWhole / common);
}

std::string Describe(const Onset& onset) {
  const auto [staff, ticks, grace] = onset;
  return "staff " + std::to_string(staff) + (grace ? ", grace notes" : "") + " at " +
         TimeText(ticks);
}

std::string PitchesText(std::vector<int> pitches) {
  std::sort(pitches.begin(), pitches.end());
  std::string text;
  for (int pitch : pitches) text += (text.empty() ? "" : " ") + PitchName(pitch);
  return text.empty() ? "nothing" : text;
}

struct ReadOnset {
  std::vector<int> pitches;
  const ReadNote* first = nullptr;
  qreal left = 1e9, right = -1e9;  // of the heads
};

std::string Where(const ReadNote& note) {
  return " (page " + std::to_string(note.page) + ", line " + std::to_string(note.system + 1) + ")";
}

}  // namespace

std::vector<std::string> ReadingFaults(const GeneratedPiece& piece, const DrawnScore& drawn) {
  std::vector<std::string> faults;
  if (!drawn.complete) faults.push_back("some notes drawn are missing in the symbol map");
  const PitchReading reading = ReadPitches(drawn);
  faults.insert(faults.end(), reading.faults.begin(), reading.faults.end());

  std::map<Onset, std::vector<int>> written;
  for (const WrittenNote& note : piece.notes)
    written[{note.staff, note.date, note.grace}].push_back(note.pitch);
  std::map<Onset, ReadOnset> read;
  for (const ReadNote& note : reading.notes) {
    const double ticks = note.date * TicksPerWhole;
    ReadOnset& onset = read[{note.staff, int(std::lround(ticks)), note.grace}];
    onset.pitches.push_back(note.pitch);
    if (!onset.first) onset.first = &note;
    onset.left = std::min(onset.left, note.left);
    onset.right = std::max(onset.right, note.right);
  }

  std::set<Onset> onsets;
  for (const auto& [onset, pitches] : written) onsets.insert(onset);
  for (const auto& [onset, notes] : read) onsets.insert(onset);
  for (const Onset& onset : onsets) {
    std::vector<int> wrote = written.count(onset) ? written.at(onset) : std::vector<int>{};
    std::vector<int> saw = read.count(onset) ? read.at(onset).pitches : std::vector<int>{};
    std::sort(wrote.begin(), wrote.end());
    std::sort(saw.begin(), saw.end());
    if (wrote != saw)
      faults.push_back(Describe(onset) + (read.count(onset) ? Where(*read.at(onset).first) : "") +
                       ": written " + PitchesText(wrote) + ", read " + PitchesText(saw));
  }

  // Each syllable under its note, and no syllable under any other.
  std::multiset<std::string> syllables;
  for (const WrittenNote& note : piece.notes) {
    if (note.syllable.empty()) continue;
    syllables.insert(note.syllable);
    auto found = read.find({note.staff, note.date, false});
    if (found == read.end()) continue;  // told above
    const ReadOnset& onset = found->second;
    const qreal width = onset.right - onset.left;
    const bool under = std::any_of(drawn.texts.begin(), drawn.texts.end(), [&](const DrawnText& t) {
      return t.text == note.syllable && t.page == onset.first->page &&
             t.system == onset.first->system && t.box.center().x() >= onset.left - width / 2 &&
             t.box.center().x() <= onset.right + width / 2;
    });
    if (!under)
      faults.push_back(Describe({note.staff, note.date, false}) + Where(*onset.first) +
                       ": the syllable \"" + note.syllable + "\" is not under its note");
  }
  std::multiset<std::string> drawnSyllables;
  for (const DrawnText& text : drawn.texts)
    if (syllables.count(text.text)) drawnSyllables.insert(text.text);
  if (drawnSyllables.size() > syllables.size())
    faults.push_back(std::to_string(drawnSyllables.size() - syllables.size()) +
                     " syllables drawn more than the lyrics hold");
  return faults;
}

}  // namespace ScoreOverlaps
