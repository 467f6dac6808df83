#include "tests/src/core/score_builder/generated_music.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "tests/src/core/score_builder/music_dice.h"
#include "tests/src/core/score_builder/music_pitches.h"
#include "tests/src/core/score_builder/music_rhythm.h"
#include "tests/src/core/score_builder/music_tags.h"

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
  std::vector<int> breakBefore;  // by bar: 0, 1 for \newSystem, 2 for \newPage
  // Tags every voice writes at the start of a bar, after its bar line: repeats, double bars.
  std::map<int, std::vector<std::string>> barTags;
  // The second voice rests for so many bars (or all), the stems of both left to the engine;
  // then they go on stems up and down. 0 when it does not rest.
  int restingBars = 0;
};

struct Event {
  int date = 0, ticks = 0;  // ticks 0 for a grace note
  int bar = 0;
  std::vector<SpelledNote> notes;  // none for a rest
  bool grace = false;
  bool figureStart = false;  // of a figure of the rhythm, graces before it not counted
  bool inTriplet = false;
  int octava = 0;
  std::vector<std::string> syllables;  // by verse
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
  std::map<int, std::vector<std::string>> tagsAfter;   // plain tags after an event
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
    voices.push_back(MakeVoice(Part::Melody, 1, {}, nullptr));
    if (plan_.innerVoice)
      voices.push_back(MakeVoice(Part::Inner, 1, AlteredLetters(voices[0]), &voices[0]));
    if (plan_.staves == 2) voices.push_back(MakeVoice(Part::Bass, 2, {}, nullptr));
    GeneratedPiece piece{seed, "", {}, plan_.bars, plan_.narrow};
    piece.rmn = voices.size() == 1 ? VoiceText(voices[0]) : "{ ";
    for (size_t v = 0; v < voices.size(); ++v) {
      if (voices.size() > 1) piece.rmn += (v ? ",\n  " : "") + VoiceText(voices[v]);
      for (size_t e = 0; e < voices[v].events.size(); ++e) {
        const Event& event = voices[v].events[e];
        for (size_t n = 0; n < event.notes.size(); ++n)
          piece.notes.push_back({MidiPitch(event.notes[n]) + 12 * event.octava, voices[v].staff,
                                 int(v), event.date, event.grace, ShownTicks(event),
                                 n ? std::vector<std::string>{} : event.syllables,
                                 BreakBefore(voices[v], e)});
      }
    }
    if (voices.size() > 1) piece.rmn += " }";
    piece.rmn = WriteLengths(piece.rmn);
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
    if (plan_.innerVoice && features_.restingVoices && dice_.Chance(0.35))
      plan_.restingBars = dice_.Between(1, plan_.bars);

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
    plan_.breakBefore.assign(size_t(plan_.bars), 0);
    for (int bar = 1; bar < plan_.bars && features_.writtenBreaks; ++bar)
      plan_.breakBefore[size_t(bar)] = int(dice_.Weighted({90, 8, 2}));
    if (features_.otherTags) PlanBarTags();
    if (features_.tempoMarks) {
      if (dice_.Chance(0.6))
        plan_.tempoAtBar[0] =
            dice_.Pick(std::vector<std::string>(std::begin(Tempi), std::end(Tempi)));
      if (dice_.Chance(0.4))
        plan_.tempoAtBar[dice_.Between(1, plan_.bars - 1)] =
            dice_.Pick(std::vector<std::string>(std::begin(Tempi), std::end(Tempi)));
    }
  }

  Voice MakeVoice(Part part, int staff, const std::set<std::pair<int, int>>& avoid,
                  const Voice* melody) {
    Voice voice{part, staff, {}, {}, {}, {}, {}};
    WriteRhythm(voice);
    if (part == Part::Inner && plan_.restingBars) Rest(voice);
    if (part == Part::Melody && plan_.restingBars && plan_.restingBars < plan_.bars) {
      size_t first = 0;
      while (voice.events[first].bar < plan_.restingBars) ++first;
      voice.tagsBefore[int(first)].push_back("\\stemsUp");
    }
    if (part != Part::Inner) AddGraceNotes(voice);
    // An octava mark stands for its staff, not for a voice: on a staff of two voices only the
    // melody writes one, and only where asked.
    const bool sharedStaff = staff == 1 && plan_.innerVoice;
    if (features_.octavas &&
        (!sharedStaff || (features_.octavasOverTwoVoices && part == Part::Melody)))
      AddOctavas(voice);
    WritePitches(voice, avoid, melody);
    if (features_.ties) AddTies(voice, avoid);
    if (features_.beams) AddBeams(voice);
    if (features_.units && dice_.Chance(0.3)) AddUnits(voice);
    if (features_.lyrics &&
        (part == Part::Melody || (part == Part::Inner && features_.lyricsOnLowerVoices)))
      AddLyrics(voice);
    if (part != Part::Inner) AddMarks(voice);
    if (features_.otherTags && part != Part::Inner) AddOtherTags(voice);
    WriteHeader(voice);
    return voice;
  }

  // The second voice rests for its first bars, or throughout, and then goes on stems down.
  void Rest(Voice& voice) {
    size_t first = 0;
    for (; first < voice.events.size() && voice.events[first].bar < plan_.restingBars; ++first)
      voice.events[first].notes.clear();
    if (first < voice.events.size()) voice.tagsBefore[int(first)].push_back("\\stemsDown");
  }

  // A \units tag at the start of the voice or of a figure; the lengths written after it take
  // its unit.
  void AddUnits(Voice& voice) {
    static const std::vector<std::string> units = {"cm", "mm", "in", "pt", "pc", "hs"};
    const std::string tag = "\\units<\"" + dice_.Pick(units) + "\">";
    if (dice_.Chance(0.4)) return voice.header.push_back(tag);
    int e = dice_.Below(int(voice.events.size()));
    while (e > 0 && !StartsFigure(voice, e)) --e;
    voice.tagsBefore[e].push_back(tag);
  }

  // A length of so many half spaces, written in the unit in force where it stands once the text
  // is whole (see WriteLengths).
  static std::string Length(int halfSpaces) { return "{hs:" + std::to_string(halfSpaces) + "}"; }

  // The lengths of the text written in the unit in force where each stands. The unit of the
  // last \units tag holds on into the next text the engine reads, so a text that changes it
  // sets it back to half spaces at its end.
  static std::string WriteLengths(const std::string& text) {
    // Half a space of the default staff in each unit.
    static const std::map<std::string, double> perHalfSpace = {
        {"hs", 1.0}, {"cm", 0.1054}, {"mm", 1.054}, {"in", 0.0415}, {"pt", 3.0}, {"pc", 0.25}};
    std::string written, unit = "hs";
    bool changed = false;
    for (size_t at = 0; at < text.size();) {
      if (text.compare(at, 8, "\\units<\"") == 0) {
        const size_t end = text.find('"', at + 8);
        unit = text.substr(at + 8, end - at - 8);
        changed = true;
      }
      if (text.compare(at, 4, "{hs:") == 0) {
        const size_t end = text.find('}', at);
        const double value = std::stod(text.substr(at + 4, end - at - 4)) * perHalfSpace.at(unit);
        char number[32];
        std::snprintf(number, sizeof number, "%.3g", value);
        written += number;
        at = end + 1;
        continue;
      }
      written += text[at++];
    }
    if (changed) written.insert(written.rfind(']'), "\\units<\"hs\"> ");
    return written;
  }

  static int ShownTicks(const Event& event) {
    if (event.grace) return TicksPerWhole / 16;
    return event.inTriplet ? event.ticks * 3 / 2 : event.ticks;
  }

  // Whether a written break stands before the event: before the first event of its bar, or
  // before the grace notes that lead to it.
  int BreakBefore(const Voice& voice, size_t e) const {
    size_t first = e;
    while (first > 0 && voice.events[first - 1].bar == voice.events[e].bar) --first;
    for (size_t g = first; g < e; ++g)
      if (!voice.events[g].grace) return 0;
    return first == 0 ? 0 : plan_.breakBefore[size_t(voice.events[first].bar)];
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
      // Grace notes before a bar line or a written break come more often: their place there
      // is the one most easily lost.
      const int bar = main.bar;
      const bool marked = bar != voice.events[e - 1].bar &&
                          (plan_.barLineAfter[size_t(bar - 1)] || plan_.breakBefore[size_t(bar)]);
      if (!main.figureStart || main.notes.empty() || !dice_.Chance(marked ? 0.3 : chance)) continue;
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

  void WritePitches(Voice& voice, const std::set<std::pair<int, int>>& avoid, const Voice* melody) {
    std::map<int, const Event*> melodyAt;  // the melody's notes by date
    for (size_t e = 0; melody && e < melody->events.size(); ++e)
      if (!melody->events[e].grace) melodyAt[melody->events[e].date] = &melody->events[e];
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
      // The second voice keeps under the melody where both strike, or meets it on its note held
      // another length.
      const auto met = melodyAt.find(event.date);
      if (met != melodyAt.end() && !met->second->notes.empty() && met->second->octava == 0 &&
          event.octava == 0 && step >= met->second->notes.back().step) {
        step = met->second->notes.back().step - 1;
        while (step > low - 7 && avoid.count({event.bar, LetterOf(step)})) --step;
        event.notes = {Spell(step, key, false)};
      }
      if (features_.unisons && met != melodyAt.end() && met->second->notes.size() == 1 &&
          met->second->ticks != event.ticks && met->second->octava == 0 && event.octava == 0 &&
          met->second->notes[0].step >= low && met->second->notes[0].step <= high &&
          dice_.Chance(0.3)) {
        event.notes = met->second->notes;
        step = event.notes[0].step;
        continue;
      }
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
      // Ties into a written line start come more often, the tie's end standing at the line's
      // start.
      const bool intoBreak = to.bar != from.bar && plan_.breakBefore[size_t(to.bar)];
      if (!dice_.Chance(intoBreak ? 0.4 : 0.08) || !Nests(voice, int(e), int(e) + 1)) continue;
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
              ? "<dy=" + Length(dice_.Between(6, 9) * (voice.part == Part::Bass ? -1 : 1)) + ">"
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
        fits = !event.notes.empty() && event.syllables.empty() &&
               (!event.grace || features_.lyricsOverGraceNotes);
      }
      if (!fits || !Nests(voice, first, last)) continue;
      voice.ranges.push_back({first, last, "\\lyrics<\"" + Verse(voice, first, last) + "\">"});
      // A second verse under the first, as a song writes it: moved down by its dy.
      if (features_.verses && dice_.Chance(0.4))
        voice.ranges.push_back({first, last,
                                "\\lyrics<\"" + Verse(voice, first, last) +
                                    "\", dy=" + Length(-dice_.Between(5, 8)) + ">"});
    }
  }

  // The words of a verse sung on the events, each syllable also kept with its event.
  std::string Verse(Voice& voice, int first, int last) {
    std::string text;
    int syllablesLeft = 0;
    for (int e = first; e <= last; ++e) {
      Event& event = voice.events[size_t(e)];
      if (event.grace) continue;  // sung on the note they lead to
      if (syllablesLeft == 0) {
        syllablesLeft = int(dice_.Weighted({0, 4, 3, 1}));
        if (!text.empty()) text += ' ';
      }
      std::string syllable = Syllables[dice_.Below(int(std::size(Syllables)))];
      if (--syllablesLeft > 0 && e != last) syllable += '-';
      text += syllable;
      event.syllables.push_back(syllable);
    }
    return text;
  }

  // Dynamics, hairpins, staccatos and texts.
  void AddMarks(Voice& voice) {
    const int count = int(voice.events.size());
    for (int e = 0; e < count; ++e) {
      const Event& event = voice.events[size_t(e)];
      if (!StartsFigure(voice, e)) continue;
      // Dynamics and hairpins come often beside a tuplet, whose bracket they must keep clear of.
      if (features_.dynamics && dice_.Chance(e == 0 ? 0.6 : event.inTriplet ? 0.3 : 0.05))
        voice.tagsBefore[e].push_back(
            "\\intens<\"" + std::string(Dynamics[dice_.Below(int(std::size(Dynamics)))]) + "\">");
      const bool lineStart = e > 0 && event.bar != voice.events[size_t(e) - 1].bar &&
                             plan_.breakBefore[size_t(event.bar)];
      if ((features_.texts && dice_.Chance(0.03)) ||
          (features_.textsAtLineStarts && lineStart && dice_.Chance(0.4)))
        voice.tagsBefore[e].push_back(
            "\\text<\"" + std::string(Texts[dice_.Below(int(std::size(Texts)))]) + "\"" +
            (dice_.Chance(0.2) ? ", dy=" + Length(dice_.Pick(std::vector<int>{-8, -6, 5, 7}))
                               : "") +
            ">");
      // A hairpin over the break after the bar, ending a few notes into the next line.
      const bool breakAhead =
          event.bar + 1 < plan_.bars && plan_.breakBefore[size_t(event.bar) + 1];
      if (features_.hairpins && breakAhead && dice_.Chance(0.2)) {
        int last = e;
        while (last < count && voice.events[size_t(last)].bar <= event.bar) ++last;
        last += dice_.Between(0, 4);
        while (last < count && !EndsFigure(voice, last)) ++last;
        if (last < count && Nests(voice, e, last))
          voice.ranges.push_back({e, last, dice_.Chance(0.5) ? "\\cresc" : "\\dim"});
      }
      if (features_.hairpins && dice_.Chance(event.inTriplet ? 0.15 : 0.05)) {
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

  // A repeat between two bar lines, and a double bar, in every voice.
  void PlanBarTags() {
    if (plan_.bars >= 4 && dice_.Chance(0.3)) {
      const int first = dice_.Between(1, plan_.bars - 3);
      const int last = dice_.Between(first + 1, plan_.bars - 1);
      plan_.barTags[first].push_back("\\repeatBegin");
      plan_.barTags[last].push_back("\\repeatEnd");
    }
    const int bar = dice_.Between(1, plan_.bars - 1);
    if (dice_.Chance(0.15) && !plan_.barTags.count(bar)) plan_.barTags[bar] = {"\\doubleBar"};
  }

  // The marks a piece may carry that change nothing of what is played: articulations,
  // ornaments, fingerings, slurs, tempo changes, breath marks, rehearsal marks, jumps, a title.
  void AddOtherTags(Voice& voice) {
    static const std::vector<std::string> onOneNote = {
        "\\accent", "\\marcato", "\\ten", "\\fermata", "\\trill", "\\turn", "\\mord"};
    static const std::vector<std::string> jumps = {"\\coda",     "\\segno",         "\\fine",
                                                   "\\daCapo",   "\\daCapoAlFine",  "\\daCoda",
                                                   "\\dalSegno", "\\dalSegnoAlFine"};
    const int count = int(voice.events.size());
    const bool melody = voice.part == Part::Melody;
    char mark = 'A';
    for (int e = 0; e < count; ++e) {
      const Event& event = voice.events[size_t(e)];
      const bool barStart = e > 0 && event.bar != voice.events[size_t(e) - 1].bar;
      if (!event.grace && !event.notes.empty()) {
        if (dice_.Chance(0.06)) voice.ranges.push_back({e, e, dice_.Pick(onOneNote)});
        if (dice_.Chance(0.02))
          voice.ranges.push_back(
              {e, e, "\\fingering<\"" + std::to_string(dice_.Between(1, 5)) + "\">"});
      }
      if (melody && barStart && dice_.Chance(0.04))
        voice.tagsBefore[e].push_back("\\mark<\"" + std::string(1, mark++) + "\">");
      if (melody && barStart && dice_.Chance(0.03))
        voice.tagsBefore[e].push_back(dice_.Pick(jumps));
      if (!StartsFigure(voice, e)) continue;
      if (dice_.Chance(0.06)) {
        int last = e + dice_.Between(1, 5);
        while (last < count && !EndsFigure(voice, last)) ++last;
        if (last < count && Nests(voice, e, last)) voice.ranges.push_back({e, last, "\\slur"});
      }
      if (dice_.Chance(0.015)) {
        int last = e + dice_.Between(4, 12);
        while (last < count && !EndsFigure(voice, last)) ++last;
        if (last < count && Nests(voice, e, last))
          voice.ranges.push_back({e, last, dice_.Chance(0.5) ? "\\accel" : "\\rit"});
      }
      if (e > 0 && dice_.Chance(0.01)) voice.tagsAfter[e - 1].push_back("\\breathMark");
      if (dice_.Chance(0.01)) voice.tagsBefore[e].push_back("\\space<" + Length(4) + ">");
      if (dice_.Chance(0.01)) {
        voice.tagsBefore[e].push_back("\\beamsOff");
        voice.tagsBefore[std::min(count - 1, e + dice_.Between(4, 16))].push_back("\\beamsAuto");
      }
    }
    // A first ending over the bar before the repeat's end.
    for (const auto& [bar, tags] : plan_.barTags) {
      if (!melody || tags.front() != "\\repeatEnd") continue;
      int first = -1, last = -1;
      for (int e = 0; e < count; ++e)
        if (voice.events[size_t(e)].bar == bar - 1) last = e, first = first < 0 ? e : first;
      if (first >= 0 && Nests(voice, first, last))
        voice.ranges.push_back({first, last, "\\volta<\"1\", \"1.\">"});
    }
    if (melody && dice_.Chance(0.3)) voice.header.push_back("\\title<\"Etude\">");
    if (melody && dice_.Chance(0.3)) voice.header.push_back("\\composer<\"Anon.\">");
    if (dice_.Chance(0.15)) voice.header.push_back("\\instr<\"Piano\">");
    if (!plan_.innerVoice && dice_.Chance(0.2)) voice.header.push_back("\\stemsAuto");
    if (dice_.Chance(0.3)) voice.tagsAfter[count - 1].push_back("\\endBar");
  }

  void WriteHeader(Voice& voice) {
    std::vector<std::string>& header = voice.header;
    if (plan_.staves == 2 || plan_.innerVoice)
      header.push_back("\\staff<" + std::to_string(voice.staff) + ">");
    if (startOctava_) {
      header.push_back("\\oct<" + std::to_string(startOctava_) + ">");
      startOctava_ = 0;
    }
    // Beside a resting second voice the stems are left to the engine.
    if (plan_.innerVoice && voice.staff == 1 && !plan_.restingBars)
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
    std::vector<int> open;                 // the last events of the ranges open, innermost last
    std::multimap<int, std::string> ends;  // the end tags of ranges written as begin and end
    std::string beforeMain;  // a bar line or break written between grace notes and their note
    size_t nextRange = 0;
    for (size_t e = 0; e < voice.events.size(); ++e) {
      const Event& event = voice.events[e];
      if (e > 0 && event.bar != voice.events[e - 1].bar) {
        std::string barText;
        const auto barTags = plan_.barTags.find(event.bar);
        for (int bar = voice.events[e - 1].bar; bar < event.bar; ++bar)
          if (plan_.barLineAfter[size_t(bar)] && barTags == plan_.barTags.end())
            barText += features_.otherTags && dice_.Chance(0.3) ? " \\bar" : " |";
        if (const int written = plan_.breakBefore[size_t(event.bar)])
          barText += written == 2 ? " \\newPage" : Alias(" \\newSystem");
        if (barTags != plan_.barTags.end())
          for (const std::string& tag : barTags->second) barText += " " + tag;
        const bool newKey =
            plan_.writeKeys && plan_.keys[size_t(event.bar)] != plan_.keys[size_t(event.bar) - 1];
        if (newKey) barText += " \\key<" + std::to_string(plan_.keys[size_t(event.bar)]) + ">";
        // Grace notes that lead into the bar are written before its bar line or break now and
        // then, as a writer may: they belong after it, before their note, all the same.
        if (event.grace && !newKey && !barText.empty() && dice_.Chance(0.5))
          beforeMain = barText;
        else
          text += barText;
        text += "\n   ";
      }
      if (!event.grace && !beforeMain.empty()) {
        text += beforeMain;
        beforeMain.clear();
      }
      if (voice.part == Part::Melody && plan_.tempoAtBar.count(event.bar) &&
          (e == 0 || event.bar != voice.events[e - 1].bar))
        text += " \\tempo<\"" + plan_.tempoAtBar.at(event.bar) + "\">";
      auto tags = voice.tagsBefore.find(int(e));
      if (tags != voice.tagsBefore.end())
        for (const std::string& tag : tags->second) text += " " + Alias(tag);
      for (; nextRange < ranges.size() && ranges[nextRange].first == int(e); ++nextRange) {
        const std::string& tag = ranges[nextRange].open;
        const std::string name = tag.substr(0, tag.find('<'));
        if (features_.otherTags && HasBeginForm(name) && dice_.Chance(0.25)) {
          text += " " + name + "Begin" + tag.substr(name.size());
          ends.insert({ranges[nextRange].last, name + "End"});
          continue;
        }
        text += " " + Alias(tag) + "(";
        open.push_back(ranges[nextRange].last);
      }
      text += " " + EventText(event);
      for (auto end = ends.lower_bound(int(e)); end != ends.upper_bound(int(e)); ++end)
        text += " " + end->second;
      while (!open.empty() && open.back() == int(e)) {
        text += " )";
        open.pop_back();
      }
      auto after = voice.tagsAfter.find(int(e));
      if (after != voice.tagsAfter.end())
        for (const std::string& tag : after->second) text += " " + tag;
    }
    return text + " ]";
  }

  // The tag under another of its names now and then, when every tag is asked for.
  std::string Alias(const std::string& tag) {
    if (!features_.otherTags || !dice_.Chance(0.3)) return tag;
    static const std::pair<const char*, std::vector<const char*>> aliases[] = {
        {"\\intens", {"\\i"}},
        {"\\text", {"\\t"}},
        {"\\beam", {"\\bm", "\\b"}},
        {"\\slur", {"\\sl"}},
        {"\\dim", {"\\decresc", "\\diminuendo"}},
        {"\\newSystem", {"\\newLine"}}};
    const size_t at = tag.find('\\');
    const std::string name = tag.substr(at, tag.find_first_of("<(", at) - at);
    for (const auto& [full, others] : aliases)
      if (name == full)
        return tag.substr(0, at) + dice_.Pick(others) + tag.substr(at + name.size());
    return tag;
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

MusicFeatures EveryFeature() {
  MusicFeatures features;
  features.octavasOverTwoVoices = true;
  features.otherTags = true;
  return features;
}

}  // namespace ScoreOverlaps
