#pragma once

// The tempo questions of a trainer: 64 entries per tempo class (id = class * 64 + k), each
// playing one piece of that class. Classes with fewer pieces repeat them; a class without any
// piece plays eleven quarter notes at the class's typical speed instead.

#include <functional>
#include <memory>
#include <vector>

#include "src/core/exercise/records/question.h"
#include "src/core/exercise/theory/tempo.h"
#include "src/core/midi/midi.h"

namespace Core {

// The streams of the pieces of one tempo class, in the order the pieces are kept. They are
// shared, not copied, by the pool.
using TempoPieceSource = std::function<std::vector<std::shared_ptr<MidiStream>>(TempoTypes)>;

// Fills an empty pool (a pool that holds anything is left alone). Without a source every class
// gets its fallback stream.
void GenerateTempoPool(std::vector<QuestionTempoData>& pool, const TempoPieceSource& pieces = {});

// Eleven quarter notes rising from MIDI note 77 at `bpm` beats per minute, each stopped when the
// next begins and the last one a beat later.
std::shared_ptr<MidiStream> MakeTempoFallbackStream(int bpm);

// One representative id per tempo class, for the statistics views' groups: the first entry of
// each class's block, every class included (vivace too, so its results are visible).
void GetTempoGroups(std::vector<int>& groups);

}  // namespace Core
