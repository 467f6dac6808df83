#include "src/core/exercise/questions/question_choice.h"

#include <memory>
#include <optional>

namespace Core {

namespace {

constexpr int Attempts = 10;

}  // namespace

int GenerateQuestionData(const AllowedIds& allowed, std::vector<int>& ids,
                         QVariantProvider* provider, const std::vector<ExStat>* lessonRecords,
                         int& lastQuestionId) {
  QuestionGenerator generator(allowed, provider);
  int position = 0;
  for (int attempt = 1; attempt <= Attempts; ++attempt) {
    ids.clear();
    position = lessonRecords ? generator.GenerateByStatistics(ids, *lessonRecords)
                             : generator.Generate(ids);
    if (ids[static_cast<std::size_t>(position)] != lastQuestionId) break;
  }
  lastQuestionId = ids[static_cast<std::size_t>(position)];
  return position;
}

void MakeSimultaneous(QuestionData& variant, double noteLength) {
  if (!variant.Stream) return;
  auto chord = std::make_shared<MidiStream>();
  std::optional<unsigned char> previousNote;
  for (const MidiEvent& event : variant.Stream->GetEvents()) {
    const MidiMessage& message = event.GetMessage();
    if (message.IsNoteOn()) {
      if (previousNote == message.GetNote()) return;
      chord->AddEvent(MidiEvent(message, 0, 0.0));
      previousNote = message.GetNote();
    } else if (message.IsNoteOff()) {
      chord->AddEvent(MidiEvent(message, 0, noteLength));
    } else {
      chord->AddEvent(event);
    }
  }
  variant.Stream = std::move(chord);
}

}  // namespace Core
