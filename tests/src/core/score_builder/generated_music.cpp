#include "tests/src/core/score_builder/generated_music.h"

#include <algorithm>
#include <map>
#include <set>

#include "tests/src/core/score_builder/music_dice.h"
#include "tests/src/core/score_builder/music_pitches.h"
#include "tests/src/core/score_builder/music_rhythm.h"

namespace ScoreOverlaps {

namespace {

enum class Barring {
  Meter,             // the engine puts in the bar lines
  MeterAndBarLines,  // and the text writes them too
  MeterWithoutBars,  // autoBarlines="off", a bar line written here and there
  NoMeter,           // no meter, a bar line written here and there
};

// What holds for the whole piece.
struct PiecePlan {
  int bars;
  int staves;
  bool innerVoice;
  Barring barring;
  std::string meter;  // "3/4", "C"; empty for none
  int barTicks;       // a bar's length, or the length of a stretch that may end in a bar line
  bool compound;
  std::vector<bool> barLineAfter;  // written after each bar
  std::vector<int> keys;           // the key of each bar
  bool writeKeys;
  std::string pageFormat;
  bool narrow;
  std::map<int, std::string> tempoAtBar;
};

struct Event {
  int date = 0, ticks = 0;  // ticks 0 for a grace note
  int bar = 0;
  std::vector<SpelledNote> notes;  // none for a rest
  bool grace = false;
  bool figureStart = false;  // of a figure of the rhythm, graces before it not counted
  bool inTriplet = false;
  int octava = 0;
  std::string syllable;
};

struct Range {
  int first, last;   // events
  std::string open;  // the tag and its parameters, "\\tie"
};

enum class Part { Melody, Inner, Bass };

struct Voice {
  Part part;
  int staff;
  std::vector<Event> events;
  std::vector<Range> ranges;
  std::map<int, std::vector<std::string>> tagsBefore;  // plain tags, by event
  std::vector<std::string> header;
};

const char* const Syllables[] = {"la", "lo", "mi", "ra", "ti", "na", "ve", "do",
                                 "ka", "ri", "mo", "lu", "sa", "fe", "zo", "pu"};
const char* const Texts[] = {"dolce", "legato", "espr.", "cantabile", "sempre", "a tempo"};
const char* const Tempi[] = {"Allegro [1/4] = 132", "Andante", "Moderato [1/4] = 96",
                             "[1/8] = 120",         "Adagio",  "Presto [1/2] = 88"};
const char* const Dynamics[] = {"pp", "p", "mp", "mf", "f", "ff", "sfz"};

class PieceWriter {
 public:
  PieceWriter(unsigned seed, const MusicFeatures& features) : dice_(seed), features_(features) {}

  GeneratedPiece Write(unsigned seed) {
    Plan();
    std::vector<Voice> voices;
    voices.push_back(MakeVoice(Part::Melody, 1, {}));
    if (plan_.innerVoice) voices.push_back(MakeVoice(Part::Inner, 1, AlteredLetters(voices[0])));
    if (plan_.staves == 2) voices.push_back(MakeVoice(Part::Bass, 2, {}));
    GeneratedPiece piece{seed, "", {}, plan_.bars, plan_.narrow};
    piece.rmn = voices.size() == 1 ? VoiceText(voices[0]) : "{ ";
    for (size_t v = 0; v < voices.size(); ++v) {
      if (voices.size() > 1) piece.rmn += (v ? ",\n  " : "") + VoiceText(voices[v]);
      for (const Event& event : voices[v].events)
        for (size_t n = 0; n < event.notes.size(); ++n)
          piece.notes.push_back({MidiPitch(event.notes[n]) + 12 * event.octava, voices[v].staff,
                                 int(v), event.date, event.grace, n ? "" : event.syllable});
    }
    if (voices.size() > 1) piece.rmn += " }";
    return piece;
  }

 private:
  void Plan() {
    const bool narrow = features_.narrowPages && (!features_.a4Pages || dice_.Chance(0.75));
    plan_.narrow = narrow;
    plan_.bars =
        narrow ? dice_.Weighted({0, 6, 3, 1}) * 8 + dice_.Between(0, 8) : dice_.Between(24, 40);
    plan_.bars = std::clamp(plan_.bars, 8, 40);
    plan_.pageFormat = narrow ? "\\pageFormat<w=" + std::to_string(dice_.Between(7, 13)) +
                                    "cm, h=" + std::to_string(dice_.Between(16, 26)) +
                                    "cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm>"
                              : "\\pageFormat<\"A4\">";
    plan_.staves = features_.grandStaff && dice_.Chance(0.6) ? 2 : 1;
    plan_.innerVoice = features_.twoVoices && dice_.Chance(0.3);

    std::vector<Barring> barrings;
    if (features_.meters) barrings.push_back(Barring::Meter);
    if (features_.meters && features_.writtenBarLines)
      barrings.push_back(Barring::MeterAndBarLines);
    if (features_.meters && features_.unbarred) barrings.push_back(Barring::MeterWithoutBars);
    if (features_.unbarred || barrings.empty()) barrings.push_back(Barring::NoMeter);
    plan_.barring = dice_.Pick(barrings);
    if (plan_.barring == Barring::NoMeter) {
      plan_.barTicks = TicksPerWhole * dice_.Between(1, 2);
      plan_.compound = false;
    } else {
      static const std::vector<std::pair<std::string, int>> meters = {
          {"4/4", 96}, {"3/4", 72}, {"2/4", 48}, {"6/8", 72}, {"3/8", 36}, {"2/2", 96}, {"C", 96}};
      const auto& [meter, ticks] = meters[dice_.Weighted({4, 3, 2, 2, 1, 1, 1})];
      plan_.meter = meter;
      plan_.barTicks = ticks;
      plan_.compound = meter == "6/8" || meter == "3/8";
    }
    const bool sometimes =
        plan_.barring == Barring::MeterWithoutBars || plan_.barring == Barring::NoMeter;
    for (int bar = 0; bar < plan_.bars; ++bar)
      plan_.barLineAfter.push_back(plan_.barring == Barring::MeterAndBarLines ||
                                   (sometimes && features_.writtenBarLines && dice_.Chance(0.2)));

    plan_.writeKeys = features_.keys && dice_.Chance(0.8);
    int key = plan_.writeKeys ? dice_.Between(-6, 6) : 0;
    std::set<int> changes;
    if (plan_.writeKeys && features_.keyChanges)
      for (int n = dice_.Weighted({2, 2, 1}); n > 0; --n)
        changes.insert(dice_.Between(2, plan_.bars - 1));
    for (int bar = 0; bar < plan_.bars; ++bar) {
      if (changes.count(bar))
        key = std::clamp(key + dice_.Pick(std::vector<int>{-3, -2, -1, 1, 2, 3}), -6, 6);
      plan_.keys.push_back(key);
    }
    if (features_.tempoMarks) {
      if (dice_.Chance(0.6))
        plan_.tempoAtBar[0] =
            dice_.Pick(std::vector<std::string>(std::begin(Tempi), std::end(Tempi)));
      if (dice_.Chance(0.4))
        plan_.tempoAtBar[dice_.Between(1, plan_.bars - 1)] =
            dice_.Pick(std::vector<std::string>(std::begin(Tempi), std::end(Tempi)));
    }
  }

  Voice MakeVoice(Part part, int staff, const std::set<std::pair<int, int>>& avoid) {
    Voice voice{part, staff, {}, {}, {}, {}};
    WriteRhythm(voice);
    if (part != Part::Inner) AddGraceNotes(voice);
    // An octava mark stands for its staff, not for a voice: on a staff of two voices only the
    // melody writes one, and only where asked.
    const bool sharedStaff = staff == 1 && plan_.innerVoice;
    if (features_.octavas &&
        (!sharedStaff || (features_.octavasOverTwoVoices && part == Part::Melody)))
      AddOctavas(voice);
    WritePitches(voice, avoid);
    if (features_.ties) AddTies(voice, avoid);
    if (features_.beams) AddBeams(voice);
    if (features_.lyrics && part == Part::Melody) AddLyrics(voice);
    if (part != Part::Inner) AddMarks(voice);
    WriteHeader(voice);
    return voice;
  }

  void WriteRhythm(Voice& voice) {
    const RhythmStyle style = voice.part == Part::Melody  ? RhythmStyle::Melody
                              : voice.part == Part::Inner ? RhythmStyle::Inner
                                                          : RhythmStyle::Accompaniment;
    const bool unbarred =
        plan_.barring == Barring::NoMeter || plan_.barring == Barring::MeterWithoutBars;
    for (int bar = 0; bar < plan_.bars; ++bar) {
      const RhythmStyle barStyle = unbarred && dice_.Chance(0.4) ? RhythmStyle::Long : style;
      int date = bar * plan_.barTicks;
      for (const Figure& figure :
           FillBar(plan_.barTicks, plan_.compound, barStyle, features_.tuplets, dice_)) {
        const int first = int(voice.events.size());
        for (int ticks : figure.ticks) {
          Event event;
          event.date = date;
          event.ticks = ticks;
          event.bar = bar;
          event.notes.push_back({0, 0});  // a note until told otherwise
          event.figureStart = int(voice.events.size()) == first;
          event.inTriplet = figure.triplet;
          voice.events.push_back(event);
          date += ticks;
        }
        const int last = int(voice.events.size()) - 1;
        if (figure.triplet) voice.ranges.push_back({first, last, "\\tuplet<\"-3-\">"});
        // A rest now and then, on its own or in a figure nobody beams by hand
        for (int e = first; e <= last; ++e)
          if (!figure.triplet && e > 0 && dice_.Chance(voice.part == Part::Melody ? 0.06 : 0.04))
            voice.events[size_t(e)].notes.clear();
      }
    }
  }

  // One or two grace notes before the first note of a figure.
  void AddGraceNotes(Voice& voice) {
    if (!features_.graceNotes) return;
    const double chance = voice.part == Part::Melody ? 0.06 : 0.03;
    for (size_t e = 1; e < voice.events.size(); ++e) {
      Event& main = voice.events[e];
      if (!main.figureStart || main.notes.empty() || !dice_.Chance(chance)) continue;
      const int count = dice_.Between(1, 2);
      Event grace = main;
      grace.grace = true;
      grace.ticks = 0;
      grace.figureStart = false;
      grace.inTriplet = false;
      main.figureStart = false;  // graces and note start the figure together
      voice.events.insert(voice.events.begin() + long(e), size_t(count), grace);
      voice.events[e].figureStart = true;
      ShiftRanges(voice, int(e), count);
      voice.ranges.push_back({int(e), int(e) + count - 1, "\\grace"});
      e += size_t(count);
    }
  }

  static void ShiftRanges(Voice& voice, int from, int count) {
    for (Range& range : voice.ranges) {
      if (range.first >= from) range.first += count;
      if (range.last >= from) range.last += count;
    }
  }

  // Where a passage begins: at a figure's first event, its grace notes included.
  static bool StartsFigure(const Voice& voice, int e) {
    const Event& event = voice.events[size_t(e)];
    return event.figureStart;
  }
  static bool EndsFigure(const Voice& voice, int e) {
    return e + 1 == int(voice.events.size()) || StartsFigure(voice, e + 1);
  }

  // Whether a new range from first to last nests with every range the voice has.
  static bool Nests(const Voice& voice, int first, int last) {
    for (const Range& range : voice.ranges) {
      const bool apart = last < range.first || first > range.last;
      const bool inside = first >= range.first && last <= range.last;
      const bool around = first <= range.first && last >= range.last;
      if (!apart && !inside && !around) return false;
    }
    return true;
  }

  // A passage of the melody an octave up or of the bass an octave down, as a range or between
  // two octava states; one at the very start of the voice now and then.
  void AddOctavas(Voice& voice) {
    if (!dice_.Chance(0.5)) return;
    const int shift = voice.part == Part::Bass ? -1 : 1;
    const int count = int(voice.events.size());
    for (int passage = dice_.Between(1, 2); passage > 0; --passage) {
      const bool atStart = passage == 1 && dice_.Chance(0.3);
      int first = atStart ? 0 : dice_.Between(1, count - 1);
      while (first < count && !StartsFigure(voice, first)) ++first;
      int last = first + dice_.Between(2, 12);
      while (last < count && !EndsFigure(voice, last)) ++last;
      if (last >= count) continue;
      // Passages keep apart, and grace notes stay off their ends: the mark of an octava stands
      // at the note its grace notes lead to.
      bool free = !voice.events[size_t(first)].grace &&
                  (last + 1 == count || !voice.events[size_t(last + 1)].grace);
      for (int e = std::max(first - 1, 0); e <= std::min(last + 1, count - 1); ++e)
        free = free && voice.events[size_t(e)].octava == 0;
      if (!free) continue;
      const bool asRange = !atStart && dice_.Chance(0.6);
      if (asRange) {
        if (!Nests(voice, first, last)) continue;
        voice.ranges.push_back({first, last, "\\oct<" + std::to_string(shift) + ">"});
      } else {
        if (atStart)
          startOctava_ = shift;
        else
          voice.tagsBefore[first].push_back("\\oct<" + std::to_string(shift) + ">");
        if (last + 1 < count) voice.tagsBefore[last + 1].push_back("\\oct<0>");
      }
      for (int e = first; e <= last; ++e) voice.events[size_t(e)].octava = shift;
    }
  }

  void WritePitches(Voice& voice, const std::set<std::pair<int, int>>& avoid) {
    const auto [low, high] = voice.part == Part::Melody  ? std::pair{9, 20}
                             : voice.part == Part::Inner ? std::pair{4, 12}
                                                         : std::pair{-6, 3};
    int step = (low + high) / 2;
    for (size_t e = 0; e < voice.events.size(); ++e) {
      Event& event = voice.events[e];
      if (event.notes.empty()) continue;
      const int key = plan_.keys[size_t(event.bar)];
      if (event.grace) continue;  // written once the note they lead to is known
      step += dice_.Pick(std::vector<int>{-2, -1, -1, -1, 0, 1, 1, 1, 2, -3, 3, -4, 4, 5, -5});
      if (step < low) step = 2 * low - step;
      if (step > high) step = 2 * high - step;
      step = std::clamp(step, low, high);
      while (avoid.count({event.bar, LetterOf(step)})) --step;
      event.notes = {Spell(step, key, voice.part != Part::Inner)};
      if (features_.chords && !event.inTriplet && event.ticks >= TicksPerWhole / 8)
        AddChordNotes(voice.part, event, key);
      // Grace notes step into the note from above or below.
      for (size_t g = e; g > 0 && voice.events[g - 1].grace; --g) {
        const int from = step + (dice_.Chance(0.5) ? 1 : -1) * int(e - g + 1);
        voice.events[g - 1].notes = {Spell(from, key, true)};
        voice.events[g - 1].octava = event.octava;
      }
    }
  }

  SpelledNote Spell(int step, int key, bool mayAlter) {
    const int inKey = KeyAlter(key, LetterOf(step));
    if (!mayAlter || !features_.accidentals || !dice_.Chance(0.15)) return {step, inKey};
    // Mostly a natural against the key or a sharp or flat on a plain letter; a double sign now
    // and then.
    if (inKey != 0 && dice_.Chance(0.75)) return {step, 0};
    return {step, inKey + (inKey != 0 ? inKey : dice_.Chance(0.5) ? 1 : -1)};
  }

  void AddChordNotes(Part part, Event& event, int key) {
    const int top = event.notes.front().step;
    if (part == Part::Melody && !plan_.innerVoice && dice_.Chance(0.15)) {
      event.notes.push_back({top - 2, KeyAlter(key, LetterOf(top - 2))});
      if (dice_.Chance(0.4)) event.notes.push_back({top - 4, KeyAlter(key, LetterOf(top - 4))});
    } else if (part == Part::Bass && dice_.Chance(0.4)) {
      for (int above : {2, 4}) {
        int alter = KeyAlter(key, LetterOf(top + above));
        if (above == 2 && features_.accidentals && dice_.Chance(0.1))
          alter = std::clamp(alter + 1, -2, 2);
        event.notes.push_back({top + above, alter});
      }
    }
  }

  // A note held into the next one of the same pitch, unless the letter is one to avoid in the
  // bar it is held into.
  void AddTies(Voice& voice, const std::set<std::pair<int, int>>& avoid) {
    for (size_t e = 0; e + 1 < voice.events.size(); ++e) {
      Event& from = voice.events[e];
      Event& to = voice.events[e + 1];
      if (from.grace || to.grace || from.notes.size() != 1 || to.notes.empty() ||
          from.octava != to.octava || from.inTriplet || to.inTriplet)
        continue;
      if (plan_.keys[size_t(from.bar)] != plan_.keys[size_t(to.bar)]) continue;
      if (!dice_.Chance(0.08) || !Nests(voice, int(e), int(e) + 1)) continue;
      if (avoid.count({to.bar, LetterOf(from.notes[0].step)})) continue;
      to.notes = from.notes;
      voice.ranges.push_back({int(e), int(e) + 1, "\\tie"});
    }
  }

  // Eighths and sixteenths of a figure beamed by hand, some with the beam moved.
  void AddBeams(Voice& voice) {
    for (size_t e = 0; e < voice.events.size(); ++e) {
      if (!StartsFigure(voice, int(e))) continue;
      size_t last = e;
      bool shortNotes = true;
      while (true) {
        const Event& event = voice.events[last];
        shortNotes = shortNotes && !event.grace && !event.notes.empty() &&
                     event.ticks <= TicksPerWhole / 8 && !event.inTriplet;
        if (EndsFigure(voice, int(last))) break;
        ++last;
      }
      if (!shortNotes || last == e || !dice_.Chance(0.3) || !Nests(voice, int(e), int(last)))
        continue;
      const std::string offset =
          dice_.Chance(0.3)
              ? "<dy=" + std::to_string(dice_.Between(6, 9) * (voice.part == Part::Bass ? -1 : 1)) +
                    ">"
              : "";
      voice.ranges.push_back({int(e), int(last), "\\beam" + offset});
    }
  }

  // Lyrics under a few bars of the melody that hold no rest.
  void AddLyrics(Voice& voice) {
    if (!dice_.Chance(0.5)) return;
    for (int stretch = dice_.Between(1, 3); stretch > 0; --stretch) {
      const int fromBar = dice_.Between(0, plan_.bars - 1);
      const int toBar = std::min(plan_.bars - 1, fromBar + dice_.Between(0, 3));
      int first = -1, last = -1;
      for (size_t e = 0; e < voice.events.size(); ++e) {
        if (voice.events[e].bar < fromBar || voice.events[e].bar > toBar) continue;
        if (first < 0) first = int(e);
        last = int(e);
      }
      bool fits = first >= 0;
      for (int e = first; fits && e <= last; ++e) {
        const Event& event = voice.events[size_t(e)];
        fits = !event.notes.empty() && !event.syllable.size() &&
               (!event.grace || features_.lyricsOverGraceNotes);
      }
      if (!fits || !Nests(voice, first, last)) continue;
      std::string text;
      int syllablesLeft = 0;
      for (int e = first; e <= last; ++e) {
        Event& event = voice.events[size_t(e)];
        if (event.grace) continue;  // sung on the note they lead to
        if (syllablesLeft == 0) {
          syllablesLeft = dice_.Weighted({0, 4, 3, 1});
          if (!text.empty()) text += ' ';
        }
        event.syllable = Syllables[dice_.Below(int(std::size(Syllables)))];
        if (--syllablesLeft > 0 && e != last) event.syllable += '-';
        text += event.syllable;
      }
      voice.ranges.push_back({first, last, "\\lyrics<\"" + text + "\">"});
    }
  }

  // Dynamics, hairpins, staccatos and texts.
  void AddMarks(Voice& voice) {
    const int count = int(voice.events.size());
    for (int e = 0; e < count; ++e) {
      const Event& event = voice.events[size_t(e)];
      if (!StartsFigure(voice, e)) continue;
      if (features_.dynamics && dice_.Chance(e == 0 ? 0.6 : 0.05))
        voice.tagsBefore[e].push_back(
            "\\intens<\"" + std::string(Dynamics[dice_.Below(int(std::size(Dynamics)))]) + "\">");
      if (features_.texts && dice_.Chance(0.03))
        voice.tagsBefore[e].push_back(
            "\\text<\"" + std::string(Texts[dice_.Below(int(std::size(Texts)))]) + "\">");
      if (features_.hairpins && dice_.Chance(0.05)) {
        int last = e + dice_.Between(2, 6);
        while (last < count && !EndsFigure(voice, last)) ++last;
        if (last < count && Nests(voice, e, last))
          voice.ranges.push_back({e, last, dice_.Chance(0.5) ? "\\cresc" : "\\dim"});
      }
      if (features_.staccatos && !event.notes.empty() && event.ticks <= TicksPerWhole / 4 &&
          !event.grace && dice_.Chance(0.05)) {
        int last = e;
        while (last + 1 < count && last - e < 3 && !voice.events[size_t(last + 1)].notes.empty() &&
               !voice.events[size_t(last + 1)].grace &&
               voice.events[size_t(last + 1)].ticks <= TicksPerWhole / 4)
          ++last;
        if (Nests(voice, e, last)) voice.ranges.push_back({e, last, "\\stacc"});
      }
    }
  }

  void WriteHeader(Voice& voice) {
    std::vector<std::string>& header = voice.header;
    if (plan_.staves == 2 || plan_.innerVoice)
      header.push_back("\\staff<" + std::to_string(voice.staff) + ">");
    if (startOctava_) {
      header.push_back("\\oct<" + std::to_string(startOctava_) + ">");
      startOctava_ = 0;
    }
    if (plan_.innerVoice && voice.staff == 1)
      header.push_back(voice.part == Part::Melody ? "\\stemsUp" : "\\stemsDown");
    if (voice.part == Part::Melody) header.push_back(plan_.pageFormat);
    // The upper staff's clef is left to the engine now and then.
    if (voice.part == Part::Bass)
      header.push_back("\\clef<\"f4\">");
    else if (dice_.Chance(0.6))
      header.push_back("\\clef<\"g2\">");
    if (plan_.writeKeys) header.push_back("\\key<" + std::to_string(plan_.keys[0]) + ">");
    if (!plan_.meter.empty())
      header.push_back(
          "\\meter<\"" + plan_.meter + "\"" +
          (plan_.barring == Barring::MeterWithoutBars ? ", autoBarlines=\"off\"" : "") + ">");
  }

  std::string VoiceText(const Voice& voice) {
    std::string text = "[";
    for (const std::string& tag : voice.header) text += " " + tag;
    // Ranges open outer first and close inner first.
    std::vector<Range> ranges = voice.ranges;
    std::stable_sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) {
      return a.first != b.first ? a.first < b.first : a.last > b.last;
    });
    std::vector<int> open;  // the last events of the ranges open, innermost last
    size_t nextRange = 0;
    for (size_t e = 0; e < voice.events.size(); ++e) {
      const Event& event = voice.events[e];
      if (e > 0 && event.bar != voice.events[e - 1].bar) {
        for (int bar = voice.events[e - 1].bar; bar < event.bar; ++bar)
          if (plan_.barLineAfter[size_t(bar)]) text += " |";
        if (plan_.writeKeys && plan_.keys[size_t(event.bar)] != plan_.keys[size_t(event.bar) - 1])
          text += " \\key<" + std::to_string(plan_.keys[size_t(event.bar)]) + ">";
        if (e > 0) text += "\n   ";
      }
      if (voice.part == Part::Melody && plan_.tempoAtBar.count(event.bar) &&
          (e == 0 || event.bar != voice.events[e - 1].bar))
        text += " \\tempo<\"" + plan_.tempoAtBar.at(event.bar) + "\">";
      auto tags = voice.tagsBefore.find(int(e));
      if (tags != voice.tagsBefore.end())
        for (const std::string& tag : tags->second) text += " " + tag;
      for (; nextRange < ranges.size() && ranges[nextRange].first == int(e); ++nextRange) {
        text += " " + ranges[nextRange].open + "(";
        open.push_back(ranges[nextRange].last);
      }
      text += " " + EventText(event);
      while (!open.empty() && open.back() == int(e)) {
        text += " )";
        open.pop_back();
      }
    }
    return text + " ]";
  }

  static std::string EventText(const Event& event) {
    const std::string duration = DurationText(event.grace ? TicksPerWhole / 16 : event.ticks);
    if (event.notes.empty()) return "_" + duration;
    if (event.notes.size() == 1) return NoteText(event.notes[0]) + duration;
    std::string chord = "{";
    for (const SpelledNote& note : event.notes)
      chord += (chord.size() > 1 ? ", " : "") + NoteText(note) + duration;
    return chord + "}";
  }

  // The letters the melody writes outside the key, by bar: a second voice on its staff keeps
  // off them, so that no two voices of a staff spell one letter two ways in a bar.
  std::set<std::pair<int, int>> AlteredLetters(const Voice& voice) const {
    std::set<std::pair<int, int>> letters;
    for (const Event& event : voice.events)
      for (const SpelledNote& note : event.notes)
        if (note.alter != KeyAlter(plan_.keys[size_t(event.bar)], LetterOf(note.step)))
          letters.insert({event.bar, LetterOf(note.step)});
    return letters;
  }

  MusicDice dice_;
  const MusicFeatures features_;
  PiecePlan plan_;
  int startOctava_ = 0;
};

}  // namespace

GeneratedPiece GenerateMusic(unsigned seed, const MusicFeatures& features) {
  return PieceWriter(seed, features).Write(seed);
}

}  // namespace ScoreOverlaps
