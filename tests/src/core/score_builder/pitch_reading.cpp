#include "tests/src/core/score_builder/pitch_reading.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>

#include "tests/src/core/score_builder/music_pitches.h"

namespace ScoreOverlaps {

namespace {

// Music font codes of the glyphs read.
constexpr unsigned int TrebleClef = 38, BassClef = 63;
constexpr unsigned int Sharp = 35, Flat = 98, Natural = 110, DoubleSharp = 180, DoubleFlat = 134;

using Letters = std::array<int, 7>;  // an alteration for each letter
// What the notes of the bar so far wrote, by their step: a sign holds in its own octave.
using Written = std::map<int, int>;

// The sharps (or flats, negative) a note's signs give it; none without a sign. A natural before
// another sign counts nothing.
std::optional<int> AlterOf(const std::vector<unsigned int>& signs) {
  static const std::pair<unsigned int, int> steps[] = {
      {Natural, 0}, {Sharp, 1}, {Flat, -1}, {DoubleSharp, 2}, {DoubleFlat, -2}};
  std::optional<int> alter;
  for (unsigned int sign : signs)
    for (const auto& [code, step] : steps)
      if (sign == code) alter = alter.value_or(0) + step;
  return alter;
}

std::string Where(const DrawnStaff& staff, qreal x) {
  return "page " + std::to_string(staff.page) + ", line " + std::to_string(staff.system + 1) +
         ", staff " + std::to_string(staff.number) + ", x " + std::to_string(int(x));
}

// One staff of the music followed from line to line.
class StaffReader {
 public:
  explicit StaffReader(PitchReading& reading) : reading_(reading) {}

  void ReadLine(const DrawnStaff& staff) {
    staff_ = &staff;
    // A new line shows its clef and key again, and the mark of an octava still in force.
    topStep_.reset();
    octava_ = 0;
    lineStart_ = true;
    keyBefore_ = key_;
    read_.clear();
    key_ = {};
    // Nobody reads signs across a line break: a line that needs a sign again shows it again,
    // and may remind of one the line before changed.
    for (const auto& [step, alter] : written_) carried_[step] = alter;
    written_.clear();

    enum { Bar, Clef, Key, Octava, Note };
    std::multimap<qreal, std::pair<int, size_t>> items;
    for (size_t i = 0; i < staff.bars.size(); ++i) items.insert({staff.bars[i], {Bar, i}});
    for (size_t i = 0; i < staff.clefs.size(); ++i)
      items.insert({staff.clefs[i].at.x(), {Clef, i}});
    for (size_t i = 0; i < staff.keys.size(); ++i)
      items.insert({staff.keys[i].front().at.x(), {Key, i}});
    const std::vector<qreal> places = NotePlaces(staff);
    for (size_t i = 0; i < staff.octavas.size(); ++i)
      items.insert({OctavaPlace(staff, places, staff.octavas[i].at.x()), {Octava, i}});
    for (size_t i = 0; i < staff.notes.size(); ++i) items.insert({places[i], {Note, i}});

    for (auto item = items.begin(); item != items.end(); ++item) {
      const auto [kind, index] = item->second;
      switch (kind) {
        case Bar:
          written_.clear();
          carried_.clear();
          break;
        case Clef:
          ReadClef(staff.clefs[index]);
          break;
        case Key:
          ReadKey(staff.keys[index]);
          break;
        case Octava:
          octava_ = OctavaOf(staff.octavas[index].text);
          break;
        case Note: {
          // The notes of a chord, and of voices sounding together, are read as one.
          std::vector<const DrawnNote*> column = {&staff.notes[index]};
          auto next = std::next(item);
          while (!column.front()->grace && next != items.end() && next->second.first == Note &&
                 SoundTogether(*column.front(), staff.notes[next->second.second])) {
            column.push_back(&staff.notes[next->second.second]);
            item = next++;
          }
          EndLineStart();
          ReadColumn(column);
          break;
        }
      }
    }
    EndLineStart();  // a line of rests shows a new key as well
    if (topStep_) tiedOver_ = TiedOverTheEnd();
  }

 private:
  // Where the notes are read. A mark that begins over the start of a head reaches it, as the
  // mark of an octava going on over a line break does a first grace note's. A grace note is read
  // after the notes that sound before it, also where a crowded line draws it over them.
  static std::vector<qreal> NotePlaces(const DrawnStaff& staff) {
    std::vector<qreal> places;
    for (const DrawnNote& note : staff.notes) places.push_back(note.head.x() + note.headWidth / 4);
    for (size_t i = 0; i < staff.notes.size(); ++i) {
      if (!staff.notes[i].grace) continue;
      for (size_t other = 0; other < staff.notes.size(); ++other)
        if (!staff.notes[other].grace && staff.notes[other].date < staff.notes[i].date - 1e-6)
          places[i] = std::max(places[i], places[other] + 0.01);
    }
    return places;
  }

  // Where an octava mark is read: where it stands, or before the grace notes it stands among
  // (as the mark of an octava going on over a line break may, in a crowded line): grace notes
  // sound in the octave of the note they lead to.
  static qreal OctavaPlace(const DrawnStaff& staff, const std::vector<qreal>& places, qreal mark) {
    std::optional<size_t> next;  // the first note of full size after the mark
    for (size_t i = 0; i < staff.notes.size(); ++i)
      if (!staff.notes[i].grace && places[i] > mark && (!next || places[i] < places[*next]))
        next = i;
    qreal at = mark;
    for (size_t g = 0; next && g < staff.notes.size(); ++g)
      if (staff.notes[g].grace && std::abs(staff.notes[g].date - staff.notes[*next].date) < 1e-6)
        at = std::min(at, places[g] - 0.01);
    return at;
  }

  // A line whose key differs from the one before begins with its signs cleared.
  void EndLineStart() {
    if (lineStart_ && key_ != keyBefore_) written_.clear();
    lineStart_ = false;
  }

  static bool SoundTogether(const DrawnNote& a, const DrawnNote& b) {
    return !b.grace && std::abs(a.date - b.date) < 1e-6 &&
           std::abs(a.head.x() - b.head.x()) < 2 * std::max(a.headWidth, b.headWidth);
  }

  static int OctavaOf(const std::string& text) {
    if (text == "8") return 1;
    if (text == "15") return 2;
    if (text == "8ba" || text == "8vb") return -1;
    if (text == "15ba") return -2;
    return 0;
  }

  // The step of the white keys on a line or space of the staff, from the top line down.
  int StepAt(qreal y) const {
    const int halfSpaces = int(std::lround((y - staff_->top) / (staff_->spacing / 2)));
    return *topStep_ - halfSpaces;
  }

  void ReadClef(const DrawnSign& clef) {
    if (clef.code == TrebleClef)
      topStep_ = 17;  // f of octave 2
    else if (clef.code == BassClef)
      topStep_ = 5;  // a of octave 0
    else
      Fault("a clef the reader does not know, glyph " + std::to_string(clef.code), clef.at.x());
  }

  void ReadKey(const std::vector<DrawnSign>& signs) {
    if (!topStep_) return Fault("a key signature before any clef", signs.front().at.x());
    Letters key{};
    for (const DrawnSign& sign : signs)
      key[size_t(LetterOf(StepAt(sign.at.y())))] = AlterOf({sign.code}).value_or(0);
    if (!lineStart_ && key != key_) written_.clear();
    key_ = key;
  }

  void ReadColumn(const std::vector<const DrawnNote*>& column) {
    if (!topStep_) return Fault("a note before any clef", column.front()->head.x());
    // Each note of the column is read before any of them counts as written. Heads of two voices
    // on one step share the sign in front of them.
    std::map<int, int> columnSigns;  // by step
    for (const DrawnNote* note : column)
      if (const std::optional<int> sign = AlterOf(note->signs))
        columnSigns.try_emplace(StepAt(note->head.y()), *sign);
    std::vector<std::pair<int, int>> read;  // step and alteration
    for (const DrawnNote* note : column) {
      const int step = StepAt(note->head.y());
      const std::optional<int> sign = AlterOf(note->signs);
      const int inForce = InForce(step);
      if (sign && *sign == inForce && !Courtesy(step, *sign))
        Fault("a sign that repeats the one in force on " +
                  PitchName(MidiPitch({step, *sign}) + 12 * octava_),
              note->head.x());
      // A note tied over keeps the sound of the note the tie comes from, across a bar line.
      const std::optional<int> held = TiedFrom(*note);
      const auto shared = columnSigns.find(step);
      const int alter = sign                          ? *sign
                        : held                        ? *held
                        : shared != columnSigns.end() ? shared->second
                                                      : inForce;
      read.push_back({step, alter});
      read_[note] = {Sounding(step), alter};
      reading_.notes.push_back({staff_->number, note->date, note->grace,
                                MidiPitch({step, alter}) + 12 * octava_, staff_->page,
                                staff_->system, note->head.x(), note->head.x() + note->headWidth,
                                note, staff_, held.has_value(), held && tieBelow_});
    }
    for (const auto& [step, alter] : read) written_[step] = alter;
  }

  // How far a tip of a tie's curve stands from where it would at the head, in spaces; none
  // when the head is out of its reach. A tie leaves a head at its right, over (under) its
  // middle, or just past the flag of its stem up, and meets the next one just before it or over
  // (under) its middle, a quarter space off a line: the head's own line, or the line beyond a
  // head in a space.
  std::optional<qreal> TipOff(QPointF tip, const DrawnNote& head, bool leaving) const {
    const qreal x = (tip.x() - head.head.x()) / head.headWidth;
    const qreal off = std::abs(tip.y() - head.head.y()) / staff_->spacing;
    const bool leaves = (x > 0.4 && x < 1.25) || PastItsFlag(tip, head);
    if (!(leaving ? leaves : x > -0.25 && x < 0.6) || off > 0.8) return {};
    const bool onLine = (StepAt(head.head.y()) - *topStep_) % 2 == 0;
    return std::abs(off - (onLine ? 0.25 : 0.75));
  }

  // Whether a tip stands just past the flag of the head's stem up, whose end hangs down beside
  // the head: a tie over it leaves from there, and reads as leaving the head.
  bool PastItsFlag(QPointF tip, const DrawnNote& head) const {
    const qreal stemSide = head.head.x() + head.headWidth;
    return std::any_of(staff_->flags.begin(), staff_->flags.end(), [&](const DrawnGlyph& flag) {
      return std::abs(flag.box.left() - stemSide) < head.headWidth / 4 &&
             flag.box.bottom() < head.head.y() &&
             flag.box.bottom() > head.head.y() - 2 * staff_->spacing &&
             tip.x() > flag.box.right() - head.headWidth / 4 &&
             tip.x() < flag.box.right() + head.headWidth / 2;
    });
  }

  // The head a tip of a tie stands at, played before the date given, the one it stands as at a
  // head best; none for the part of a tie going on from the line before or on to the next.
  const DrawnNote* HeadAt(QPointF tip, bool leaving, double before = 1e9) const {
    const DrawnNote* best = nullptr;
    qreal bestOff = 0;
    for (const DrawnNote& head : staff_->notes) {
      const std::optional<qreal> off = TipOff(tip, head, leaving);
      if (off && head.date < before - 1e-6 && (!best || *off < bestOff))
        best = &head, bestOff = *off;
    }
    return best;
  }

  // The step a head on the step of the staff sounds on under the octava in force.
  int Sounding(int step) const { return step + 7 * octava_; }

  // A tie drawn from end to end in the head of another note is not seen at all.
  bool HiddenInAnotherHead(const DrawnTie& tie, const DrawnNote& note) const {
    return std::any_of(staff_->notes.begin(), staff_->notes.end(), [&](const DrawnNote& other) {
      return &other != &note && other.ink.contains(tie.from) && other.ink.contains(tie.to);
    });
  }

  // What the note a tie into the note's head comes from reads as; none when no tie ends there.
  // A tie joins two heads of one sounding pitch: on one line or space, or an octave apart where
  // an octava begins over the second, as over the first note of a line. The part of a tie going
  // on from the line before joins a head sounding on the step of a tie that ran to the end of
  // that line.
  std::optional<int> TiedFrom(const DrawnNote& note) const {
    const int sounding = Sounding(StepAt(note.head.y()));
    for (const DrawnTie& tie : staff_->ties) {
      if (!TipOff(tie.to, note, false) || HiddenInAnotherHead(tie, note)) continue;
      tieBelow_ = tie.to.y() > note.head.y();
      if (const DrawnNote* from = HeadAt(tie.from, true, note.date)) {
        const auto read = read_.find(from);
        if (read != read_.end() && read->second.first == sounding) return read->second.second;
      } else if (const auto over = tiedOver_.find(sounding); over != tiedOver_.end()) {
        return over->second;
      }
    }
    return {};
  }

  // What the heads whose ties run to the end of the line read as, by the step they sound on.
  std::map<int, int> TiedOverTheEnd() const {
    std::map<int, int> tiedOver;
    for (const DrawnTie& tie : staff_->ties)
      if (const DrawnNote* from = HeadAt(tie.from, true); from && !HeadAt(tie.to, false))
        if (const auto read = read_.find(from); read != read_.end())
          tiedOver[read->second.first] = read->second.second;
    return tiedOver;
  }

  // What a note on the step reads as without a sign: what the bar wrote there last, else the key.
  int InForce(int step) const {
    auto found = written_.find(step);
    return found != written_.end() ? found->second : key_[size_t(LetterOf(step))];
  }

  // A sign may repeat what is in force in its octave on the first note there when the letter
  // stood otherwise in another octave of the bar: a reader may take a sign for the whole letter.
  bool Courtesy(int step, int alter) const {
    if (written_.count(step)) return false;
    for (const Written* signs : {&written_, &carried_})
      for (const auto& [other, otherAlter] : *signs)
        if (LetterOf(other) == LetterOf(step) && otherAlter != alter) return true;
    return false;
  }

  void Fault(const std::string& what, qreal x) {
    reading_.faults.push_back(Where(*staff_, x) + ": " + what);
  }

  PitchReading& reading_;
  const DrawnStaff* staff_ = nullptr;
  std::optional<int> topStep_;
  Letters key_{}, keyBefore_{};
  Written written_;
  Written carried_;  // what the lines before wrote since the last bar line
  // What the line's notes read as: the step they sound on and their alteration.
  std::map<const DrawnNote*, std::pair<int, int>> read_;
  // By the step they sound on, what the notes tied over from the line before read as.
  std::map<int, int> tiedOver_;
  // Whether the tie TiedFrom last found meets its head from under it.
  mutable bool tieBelow_ = false;
  int octava_ = 0;
  bool lineStart_ = true;
};

}  // namespace

PitchReading ReadPitches(const DrawnScore& score) {
  PitchReading reading;
  std::map<int, StaffReader> staves;  // by the number in the line
  for (const DrawnStaff& staff : score.staves)
    staves.try_emplace(staff.number, reading).first->second.ReadLine(staff);
  return reading;
}

std::string PitchName(int pitch) {
  static const char* names[12] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};
  return names[pitch % 12] + std::to_string(pitch / 12 - 1);
}

}  // namespace ScoreOverlaps
