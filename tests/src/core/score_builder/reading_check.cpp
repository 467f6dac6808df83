#include "tests/src/core/score_builder/reading_check.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>
#include <tuple>

#include "tests/src/core/score_builder/length_reading.h"
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

std::string LengthsText(const std::multiset<std::pair<int, int>>& notes) {
  std::string text;
  for (const auto& [pitch, ticks] : notes)
    text += (text.empty() ? "" : " ") + PitchName(pitch) + " " + TimeText(ticks);
  return text.empty() ? "nothing" : text;
}

// The onsets of one staff of one line, by time, each with the place its heads take.
struct Column {
  int ticks;
  bool grace;
  qreal left = 1e9, right = -1e9;
  std::vector<const ReadNote*> notes;
};

std::map<const DrawnStaff*, std::vector<Column>> ColumnsByLine(const PitchReading& reading) {
  std::map<const DrawnStaff*, std::map<std::pair<int, bool>, Column>> byTime;
  for (const ReadNote& note : reading.notes) {
    const int ticks = int(std::lround(note.date * TicksPerWhole));
    // Grace notes come before the notes they lead to.
    Column& column = byTime[note.line][{2 * ticks + (note.grace ? 0 : 1), note.grace}];
    column.ticks = ticks;
    column.grace = note.grace;
    column.left = std::min(column.left, note.drawn->box.left());
    column.right = std::max(column.right, note.drawn->box.right());
    column.notes.push_back(&note);
  }
  std::map<const DrawnStaff*, std::vector<Column>> columns;
  for (auto& [line, times] : byTime)
    for (auto& [time, column] : times) columns[line].push_back(column);
  return columns;
}

std::string ColumnText(const Column& column) {
  return Describe({column.notes.front()->staff, column.ticks, column.grace}) +
         Where(*column.notes.front());
}

// The events of a staff stand left to right in the order they are played, each in a column
// of its own; no sign stands in the heads of another column; grace notes stand after the bar
// line and the signs of a line's start, right before their note on its line.
void ReadColumns(const PitchReading& reading, std::vector<std::string>& faults) {
  for (const auto& [line, columns] : ColumnsByLine(reading)) {
    const qreal width = line->spacing * 1.2;  // about a head's
    for (size_t i = 0; i < columns.size(); ++i) {
      const Column& column = columns[i];
      if (!column.grace && column.right - column.left > 3.5 * width)
        faults.push_back(ColumnText(column) + ": its heads stand apart in more than one column");
      if (i + 1 < columns.size() && column.right > columns[i + 1].left + 0.1 * width)
        faults.push_back(ColumnText(column) + ": not left of what is played after it, " +
                         ColumnText(columns[i + 1]));
      for (const ReadNote* note : column.notes)
        for (const QPainterPath& sign : note->drawn->signInks)
          for (const Column& other : columns)
            for (const ReadNote* head : other.notes)
              if (&other != &column && head->drawn->ink.intersects(sign))
                faults.push_back(ColumnText(column) + ": the sign of " + PitchName(note->pitch) +
                                 " stands in the heads of " + ColumnText(other));
    }
  }
  // Grace notes and the note they lead to, wherever each was drawn.
  std::map<std::pair<int, int>, std::vector<const ReadNote*>> graces, mains;  // staff, ticks
  for (const ReadNote& note : reading.notes) {
    const int ticks = int(std::lround(note.date * TicksPerWhole));
    (note.grace ? graces : mains)[{note.staff, ticks}].push_back(&note);
  }
  for (const auto& [onset, leading] : graces) {
    if (!mains.count(onset)) continue;
    const ReadNote& main = *mains.at(onset).front();
    const ReadNote& grace = *leading.back();
    const std::string what = Describe({onset.first, onset.second, true}) + Where(grace);
    if (grace.line != main.line) {
      faults.push_back(what + ": not on the line of its note" + Where(main));
      continue;
    }
    const qreal from = leading.front()->left, to = main.left;
    for (qreal bar : main.line->bars)
      if (bar > from && bar < to) faults.push_back(what + ": a bar line stands before its note");
    for (const DrawnSign& clef : main.line->clefs)
      if (clef.at.x() > from && clef.at.x() < to)
        faults.push_back(what + ": a clef stands between it and its note");
    for (const std::vector<DrawnSign>& key : main.line->keys)
      if (key.front().at.x() > from && key.front().at.x() < to)
        faults.push_back(what + ": a key signature stands between it and its note");
  }
}

// A note after a written \newSystem begins a line, after a \newPage a page.
void ReadBreaks(const GeneratedPiece& piece, const PitchReading& reading,
                std::vector<std::string>& faults) {
  std::map<std::pair<int, int>, const ReadNote*> first;  // by staff and time, grace notes first
  for (const ReadNote& note : reading.notes) {
    const int time = 2 * int(std::lround(note.date * TicksPerWhole)) + (note.grace ? 0 : 1);
    first.try_emplace({note.staff, time}, &note);
  }
  std::set<std::pair<int, int>> told;
  for (const WrittenNote& written : piece.notes) {
    if (!written.breakBefore) continue;
    // The first of the notes at the time, grace notes first, and the last before it.
    const auto at = first.lower_bound({written.staff, 2 * written.date});
    if (at == first.end() || at == first.begin() || at->first.first != written.staff ||
        at->first.second / 2 != written.date || std::prev(at)->first.first != written.staff ||
        !told.insert(at->first).second)
      continue;
    const ReadNote& note = *at->second;
    const ReadNote& before = *std::prev(at)->second;
    const bool broken =
        written.breakBefore == 2 ? note.page != before.page : note.system != before.system;
    if (!broken)
      faults.push_back(
          Describe({written.staff, written.date, written.grace}) + Where(note) +
          (written.breakBefore == 2 ? ": a written page break" : ": a written line break") +
          " does not begin " + (written.breakBefore == 2 ? "a page" : "a line") +
          " there: the note before stands" + Where(before));
  }
}

// A rest keeps clear of the heads, stems and beams on its staff.
void ReadRests(const DrawnScore& drawn, std::vector<std::string>& faults) {
  for (const DrawnStaff& staff : drawn.staves)
    for (const DrawnGlyph& rest : staff.rests) {
      std::string on;
      for (const DrawnNote& head : staff.notes)
        if (rest.ink.intersects(head.ink)) on = "a head";
      for (const DrawnStem& stem : staff.stems)
        if (rest.ink.intersects(stem.box)) on = "a stem";
      for (const QPainterPath& beam : staff.beams)
        if (rest.ink.intersects(beam)) on = "a beam";
      if (!on.empty())
        faults.push_back("page " + std::to_string(staff.page) + ", line " +
                         std::to_string(staff.system + 1) + ", staff " +
                         std::to_string(staff.number) + ", x " +
                         std::to_string(int(rest.box.left())) + ": a rest lies on " + on);
    }
}

// A note parted where a line breaks between the beats of a bar goes on in a note tied from it,
// which a pianist holds on: where more of its pitch is read at its time than written, it reads as
// the note the tie comes from, as long as both. Notes written tied are each written and read.
// A head that two voices share, one struck and one held, is held by the voice on the side the
// tie meets it from: the one whose stem points that way.
void HoldTiedNotes(const PitchReading& reading, const std::map<Onset, std::vector<int>>& written,
                   const std::map<const DrawnNote*, std::vector<int>>& shown,
                   const std::map<const DrawnNote*, std::vector<std::pair<bool, int>>>& byStem,
                   std::map<Onset, ReadOnset>& read,
                   std::map<Onset, std::multiset<std::pair<int, int>>>& lengths) {
  std::vector<const ReadNote*> tied;
  for (const ReadNote& note : reading.notes)
    if (note.tiedInto && !note.grace) tied.push_back(&note);
  std::stable_sort(tied.begin(), tied.end(),
                   [](const ReadNote* a, const ReadNote* b) { return a->date < b->date; });
  for (const ReadNote* note : tied) {
    const Onset at{note->staff, int(std::lround(note->date * TicksPerWhole)), false};
    // Another voice may strike the pitch at the time: a note more is read than written.
    const auto wrote = written.find(at);
    const auto saw = read.find(at);
    const auto count = [&](const std::vector<int>& pitches) {
      return std::count(pitches.begin(), pitches.end(), note->pitch);
    };
    if (saw == read.end() ||
        count(saw->second.pitches) <= (wrote == written.end() ? 0 : count(wrote->second)))
      continue;
    const auto drawnLengths = shown.find(note->drawn);
    if (drawnLengths == shown.end() || drawnLengths->second.empty()) continue;
    int length = drawnLengths->second.front();
    if (drawnLengths->second.size() != 1) {
      // A head that two voices share reads two lengths: the stem on the tie's side goes on.
      const auto stems = byStem.find(note->drawn);
      if (stems == byStem.end()) continue;
      const auto onSide = [&](const std::pair<bool, int>& stem) {
        return stem.first != note->tiedBelow;
      };
      if (std::count_if(stems->second.begin(), stems->second.end(), onSide) != 1) continue;
      length = std::find_if(stems->second.begin(), stems->second.end(), onSide)->second;
    }
    auto& here = lengths[at];
    const auto own = here.find({note->pitch, length});
    if (own == here.end()) continue;
    // The note before of that pitch on the staff, ending where this one begins.
    for (auto& [onset, before] : lengths) {
      const auto [staff, ticks, grace] = onset;
      if (staff != note->staff || grace || ticks >= std::get<1>(at)) continue;
      const auto held = before.find({note->pitch, std::get<1>(at) - ticks});
      if (held == before.end()) continue;
      before.erase(held);
      before.insert({note->pitch, std::get<1>(at) - ticks + length});
      here.erase(own);
      std::vector<int>& pitches = read[at].pitches;
      pitches.erase(std::find(pitches.begin(), pitches.end(), note->pitch));
      if (pitches.empty()) read.erase(at);
      break;
    }
  }
}

}  // namespace

std::vector<std::string> ReadingFaults(const GeneratedPiece& piece, const DrawnScore& drawn) {
  std::vector<std::string> faults;
  if (!drawn.complete) faults.push_back("some notes drawn are missing in the symbol map");
  const PitchReading reading = ReadPitches(drawn);
  faults.insert(faults.end(), reading.faults.begin(), reading.faults.end());
  std::map<const DrawnNote*, std::vector<int>> shown;
  std::map<const DrawnNote*, std::vector<std::pair<bool, int>>> byStem;
  for (const DrawnStaff& staff : drawn.staves) {
    LengthReading lengths = ReadLengths(staff);
    shown.merge(lengths.shown);
    byStem.merge(lengths.byStem);
    faults.insert(faults.end(), lengths.faults.begin(), lengths.faults.end());
  }

  std::map<Onset, std::vector<int>> written;
  std::map<Onset, std::multiset<std::pair<int, int>>> writtenLengths, readLengths;
  for (const WrittenNote& note : piece.notes) {
    written[{note.staff, note.date, note.grace}].push_back(note.pitch);
    writtenLengths[{note.staff, note.date, note.grace}].insert({note.pitch, note.shown});
  }
  std::map<Onset, ReadOnset> read;
  for (const ReadNote& note : reading.notes) {
    const double ticks = note.date * TicksPerWhole;
    const Onset at{note.staff, int(std::lround(ticks)), note.grace};
    ReadOnset& onset = read[at];
    onset.pitches.push_back(note.pitch);
    if (!onset.first) onset.first = &note;
    onset.left = std::min(onset.left, note.left);
    onset.right = std::max(onset.right, note.right);
    for (int length : shown[note.drawn]) readLengths[at].insert({note.pitch, length});
  }

  HoldTiedNotes(reading, written, shown, byStem, read, readLengths);

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
    else if (writtenLengths[onset] != readLengths[onset])
      faults.push_back(Describe(onset) + Where(*read.at(onset).first) + ": lengths written " +
                       LengthsText(writtenLengths[onset]) + ", read " +
                       LengthsText(readLengths[onset]));
  }
  ReadColumns(reading, faults);
  ReadBreaks(piece, reading, faults);
  ReadRests(drawn, faults);

  // Each syllable under its note, and no syllable under any other.
  std::multiset<std::string> syllables;
  for (const WrittenNote& note : piece.notes) {
    for (const std::string& syllable : note.syllables) {
      syllables.insert(syllable);
      auto found = read.find({note.staff, note.date, false});
      if (found == read.end()) continue;  // told above
      const ReadOnset& onset = found->second;
      const qreal width = onset.right - onset.left;
      const bool under =
          std::any_of(drawn.texts.begin(), drawn.texts.end(), [&](const DrawnText& t) {
            return t.text == syllable && t.page == onset.first->page &&
                   t.system == onset.first->system &&
                   t.box.center().x() >= onset.left - width / 2 &&
                   t.box.center().x() <= onset.right + width / 2;
          });
      if (!under)
        faults.push_back(Describe({note.staff, note.date, false}) + Where(*onset.first) +
                         ": the syllable \"" + syllable + "\" is not under its note");
    }
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
