#include "src/core/exercise/questions/tempo_pool.h"

#include <algorithm>

#include "src/core/exercise/questions/question_shapes.h"

namespace Core {

namespace {

constexpr unsigned char Velocity = 96;
constexpr int FallbackNoteCount = 11;
constexpr unsigned char FallbackFirstNote = 77;

QuestionTempoData MakeEntry(unsigned int tempo, unsigned int index,
                            std::shared_ptr<MidiStream> stream) {
  QuestionTempoData entry;
  entry.Picture = GetTempoResource(tempo);
  entry.Text = GetTempoString(tempo);
  entry.Description = GetTempoDescr(tempo);
  entry.Stream = std::move(stream);
  entry.Id = static_cast<int>(tempo * MaxMelodiesPerTempo + index);
  return entry;
}

}  // namespace

std::shared_ptr<MidiStream> MakeTempoFallbackStream(int bpm) {
  auto stream = std::make_shared<MidiStream>();
  for (int k = 0; k <= FallbackNoteCount; ++k) {
    const double time = k * 60.0 / bpm;
    if (k > 0) {
      const auto previous = static_cast<unsigned char>(FallbackFirstNote + k - 1);
      stream->AddEvent(MidiEvent(MidiMessage(MidiNoteOff, 0, previous, Velocity), 0, time));
    }
    if (k < FallbackNoteCount) {
      const auto note = static_cast<unsigned char>(FallbackFirstNote + k);
      stream->AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, note, Velocity), 0, time));
    }
  }
  return stream;
}

void GenerateTempoPool(std::vector<QuestionTempoData>& pool, const TempoPieceSource& pieces) {
  if (!pool.empty()) return;
  pool.reserve(TempoPoolSize);
  for (unsigned int tempo = 0; tempo < TempoTypeCount; ++tempo) {
    const std::size_t first = pool.size();
    std::vector<std::shared_ptr<MidiStream>> streams;
    if (pieces) streams = pieces(static_cast<TempoTypes>(tempo));
    // A piece that has no stream would give questions with nothing to play: leave it out.
    std::erase(streams, nullptr);

    const std::size_t count = std::min<std::size_t>(streams.size(), MaxMelodiesPerTempo);
    for (std::size_t k = 0; k < count; ++k)
      pool.push_back(MakeEntry(tempo, static_cast<unsigned int>(k), streams[k]));
    if (count == 0) {
      int typical = 0, low = 0, high = 0;
      GetTempoBPM(tempo, typical, low, high);
      pool.push_back(MakeEntry(tempo, 0, MakeTempoFallbackStream(typical)));
    }

    const std::size_t appended = pool.size() - first;
    for (std::size_t k = appended; k < MaxMelodiesPerTempo; ++k) {
      QuestionTempoData copy = pool[first + k % appended];
      copy.Id = static_cast<int>(tempo * MaxMelodiesPerTempo + k);
      pool.push_back(std::move(copy));
    }
  }
}

void GetTempoGroups(std::vector<int>& groups) {
  for (unsigned int tempo = 0; tempo < TempoTypeCount; ++tempo)
    groups.push_back(static_cast<int>(tempo * MaxMelodiesPerTempo));
}

}  // namespace Core
