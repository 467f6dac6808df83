#include "tests/src/core/score_builder/music_rhythm.h"

#include <algorithm>
#include <stdexcept>

#include "tests/src/core/score_builder/generated_music.h"

namespace ScoreOverlaps {

namespace {

constexpr int Whole = TicksPerWhole, Half = Whole / 2, Quarter = Whole / 4, Eighth = Whole / 8,
              Sixteenth = Whole / 16;

struct Choice {
  Figure figure;
  int weight;
};

int Length(const Figure& figure) {
  int length = 0;
  for (int ticks : figure.ticks) length += ticks;
  return length;
}

// What may start at a place of a bar counted in quarters.
std::vector<Choice> SimpleChoices(int at, int left, RhythmStyle style, bool triplets) {
  const bool melody = style == RhythmStyle::Melody, inner = style == RhythmStyle::Inner;
  const bool accompaniment = style == RhythmStyle::Accompaniment,
             long_ = style == RhythmStyle::Long;
  std::vector<Choice> choices;
  if (at % Whole == 0) choices.push_back({{{Whole}}, long_ ? 12 : accompaniment ? 2 : 1});
  if (at == 0) choices.push_back({{{Half + Quarter}}, 1});
  if (at % Half == 0) {
    choices.push_back({{{Half}}, long_ ? 4 : melody ? 3 : 5});
    if (melody) choices.push_back({{{Quarter + Eighth, Eighth}}, 2});
  }
  choices.push_back({{{Quarter}}, accompaniment || inner ? 4 : 5});
  if (!inner) choices.push_back({{{Eighth, Eighth}, false, true}, melody ? 4 : 1});
  if (melody) {
    choices.push_back({{{Sixteenth, Sixteenth, Sixteenth, Sixteenth}, false, true}, 2});
    choices.push_back({{{Eighth, Sixteenth, Sixteenth}, false, true}, 1});
    choices.push_back({{{Eighth + Sixteenth, Sixteenth}, false, true}, 1});
    if (triplets) choices.push_back({{{Quarter / 3, Quarter / 3, Quarter / 3}, true, true}, 1});
  }
  std::erase_if(choices, [&](const Choice& c) { return Length(c.figure) > left; });
  return choices;
}

// What may start at a place of a bar counted in dotted quarters.
std::vector<Choice> CompoundChoices(int at, int left, RhythmStyle style) {
  const int beat = Quarter + Eighth;
  const bool melody = style == RhythmStyle::Melody;
  std::vector<Choice> choices;
  if (at % (2 * beat) == 0) choices.push_back({{{2 * beat}}, style == RhythmStyle::Long ? 6 : 1});
  choices.push_back({{{beat}}, 3});
  choices.push_back({{{Quarter, Eighth}}, 3});
  choices.push_back({{{Eighth, Eighth, Eighth}, false, true}, melody ? 4 : 2});
  if (melody) {
    choices.push_back({{{Eighth, Quarter}}, 1});
    choices.push_back({{{Sixteenth, Sixteenth, Eighth, Eighth}, false, true}, 1});
  }
  std::erase_if(choices, [&](const Choice& c) { return Length(c.figure) > left; });
  return choices;
}

}  // namespace

std::vector<Figure> FillBar(int barTicks, bool compound, RhythmStyle style, bool triplets,
                            MusicDice& dice) {
  std::vector<Figure> figures;
  for (int at = 0; at < barTicks;) {
    std::vector<Choice> choices = compound ? CompoundChoices(at, barTicks - at, style)
                                           : SimpleChoices(at, barTicks - at, style, triplets);
    if (choices.empty()) choices.push_back({{{barTicks - at}}, 1});  // the rest of an odd bar
    std::vector<int> weights;
    for (const Choice& choice : choices) weights.push_back(choice.weight);
    const Figure& figure = choices[dice.Weighted(weights)].figure;
    figures.push_back(figure);
    at += Length(figure);
  }
  return figures;
}

std::string DurationText(int ticks) {
  static const std::pair<int, const char*> texts[] = {
      {Whole + Half, "/1."},     {Whole, "/1"},    {Half + Quarter, "/2."},     {Half, "/2"},
      {Quarter + Eighth, "/4."}, {Quarter, "/4"},  {Eighth + Sixteenth, "/8."}, {Eighth, "/8"},
      {Sixteenth, "/16"},        {Half / 3, "/6"}, {Quarter / 3, "/12"},
  };
  for (const auto& [length, text] : texts)
    if (length == ticks) return text;
  throw std::logic_error("no written length of " + std::to_string(ticks) + " ticks");
}

}  // namespace ScoreOverlaps
