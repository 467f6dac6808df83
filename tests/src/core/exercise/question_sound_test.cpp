// Every kind of stream the trainers play for a question sounds as meant through the question
// player on the timer thread and the connector: a chord's notes start in one pass and stop
// together at the note length, an arpeggio's and a scale's notes follow one another, and a note
// struck again sounds anew; whatever order the stream was built in. What the connector sends is
// read back as notes sounding from one timer pass to another.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../midi/timer_passes.h"
#include "../midi/wait_until.h"
#include "src/core/exercise/questions/question_choice.h"
#include "src/core/exercise/questions/question_pools.h"
#include "src/core/midi/midi_connector.h"
#include "src/core/midi/midi_stream_device.h"

namespace {

using Core::MidiStream;

// The trainers' timing: a played note lasts half a second, and a chord made of notes sounding
// together lasts a second.
constexpr double NoteLength = 0.5;
constexpr double ChordLength = 1.0;
constexpr double Sustained = -1.0;

// A note as it should be heard, in seconds from the start; `to` is Sustained for a note that
// sounds on.
struct Heard {
  int note;
  double from;
  double to;
};

std::vector<Heard> Together(const std::vector<unsigned int>& keys) {
  std::vector<Heard> heard;
  for (unsigned int key : keys) heard.push_back({int(key) + 21, 0.0, ChordLength});
  return heard;
}

std::vector<Heard> OneAfterAnother(const std::vector<unsigned int>& keys) {
  std::vector<Heard> heard;
  for (std::size_t i = 0; i < keys.size(); ++i)
    heard.push_back({int(keys[i]) + 21, NoteLength * double(i), NoteLength * double(i + 1)});
  return heard;
}

std::shared_ptr<MidiStream> MadeSimultaneous(Core::QuestionData entry) {
  Core::MakeSimultaneous(entry, ChordLength);
  return entry.Stream;
}

// The same events added last to first.
std::shared_ptr<MidiStream> BuiltBackwards(const MidiStream& stream) {
  auto backwards = std::make_shared<MidiStream>();
  const auto& events = stream.GetEvents();
  for (auto event = events.crbegin(); event != events.crend(); ++event) backwards->AddEvent(*event);
  return backwards;
}

struct Played {
  std::string kind;
  std::vector<Heard> expected;
  std::shared_ptr<Testing::PassRecordingOutput> output;
  std::shared_ptr<Core::MidiInStreamDeviceAuto> player;
  std::unique_ptr<Core::MidiDeviceConnector> connector;
};

class Completion : public Core::MidiInStreamDeviceObserver {
 public:
  void OnPlaybackComplete() override { ++count; }
  std::atomic<int> count{0};
};

// A note sounding from one pass to another (-1: still sounding), as the messages sent tell.
struct Sounded {
  int note;
  int from;
  int to;
};

// Reads the messages as a synthesizer hears them: a strike of a note that still sounds restarts
// it, a release ends it.
std::vector<Sounded> ReadBack(const std::vector<Testing::PassRecordingOutput::Sent>& sent) {
  std::vector<Sounded> sounded;
  std::map<int, std::size_t> sounding;
  for (const auto& [message, pass] : sent) {
    if (!message.IsNoteOn() && !message.IsNoteOff()) continue;
    const int note = message.GetNote();
    if (const auto it = sounding.find(note); it != sounding.end()) {
      sounded[it->second].to = pass;
      sounding.erase(it);
    }
    if (message.IsNoteAudible()) {
      sounding[note] = sounded.size();
      sounded.push_back({note, pass, -1});
    }
  }
  return sounded;
}

TEST(QuestionSound, EveryKindOfQuestionSoundsAsMeantWhateverOrderItWasBuiltIn) {
  const Core::QuestionChordData cMinor = Core::GenerateChord(39, 1, 0);   // C4 Eb4 G4
  const Core::QuestionChordData seventh = Core::GenerateChord(30, 6, 2);  // a dom7, 2nd inversion
  const Core::QuestionChordData fifth = Core::GenerateInterval(39, 7);    // C4 G4
  const Core::QuestionChordData unison = Core::GenerateInterval(44, 0);   // F4 twice
  const Core::QuestionScaleData scale = Core::GenerateScale(27, 3);       // melodic minor from C3
  const Core::QuestionNoteData single = Core::GenerateNote(48, true);     // A4, sustained
  const struct {
    std::string kind;
    std::shared_ptr<MidiStream> stream;
    std::vector<Heard> expected;
  } kinds[] = {
      {"a chord", MadeSimultaneous(cMinor), Together(cMinor.Keys)},
      {"a chord of four", MadeSimultaneous(seventh), Together(seventh.Keys)},
      {"an interval together", MadeSimultaneous(fifth), Together(fifth.Keys)},
      {"an arpeggio", cMinor.Stream, OneAfterAnother(cMinor.Keys)},
      {"a scale up", scale.Stream, OneAfterAnother(scale.Keys)},
      {"a scale down", scale.DescendingStream, OneAfterAnother(scale.DescendingKeys)},
      {"a single note", single.Stream, {{int(single.Key) + 21, 0.0, Sustained}}},
      {"a repeated note", MadeSimultaneous(unison), OneAfterAnother(unison.Keys)},
  };

  // Every stream, as built and built backwards, on a player of its own; all start in one pass.
  Testing::TimerPasses passes;
  std::vector<Played> played;
  Completion completion;
  for (const auto& kind : kinds) {
    for (const bool backwards : {false, true}) {
      Played p{kind.kind + (backwards ? ", built backwards" : ""), kind.expected,
               std::make_shared<Testing::PassRecordingOutput>(passes),
               std::make_shared<Core::MidiInStreamDeviceAuto>(
                   backwards ? BuiltBackwards(*kind.stream) : kind.stream),
               nullptr};
      p.connector = std::make_unique<Core::MidiDeviceConnector>(p.player, p.output);
      p.player->AddObserver(&completion);
      played.push_back(std::move(p));
    }
  }
  passes.Close();
  const int start = passes.RunInPass([&] {
    for (Played& p : played) p.player->Play();
  });
  ASSERT_GE(start, 0);
  ASSERT_TRUE(Testing::WaitUntil([&] { return completion.count == int(played.size()); }));

  for (Played& p : played) {
    SCOPED_TRACE(p.kind);
    p.player->RemoveObserver(&completion);
    // Notes struck together are compared from the lowest up.
    std::vector<Sounded> sounded = ReadBack(p.output->GetSent());
    std::ranges::sort(sounded, {}, [](const Sounded& s) { return std::pair(s.from, s.note); });
    std::ranges::sort(p.expected, {}, [](const Heard& h) { return std::pair(h.from, h.note); });
    ASSERT_EQ(sounded.size(), p.expected.size());
    for (std::size_t i = 0; i < sounded.size(); ++i) {
      const auto [note, from, to] = sounded[i];
      SCOPED_TRACE(testing::Message()
                   << "note " << note << " sounded from pass " << from - start << " to "
                   << (to < 0 ? "the end" : std::to_string(to - start)));
      EXPECT_EQ(note, p.expected[i].note);
      EXPECT_TRUE(passes.SentOnTime(start, p.expected[i].from, from));
      if (p.expected[i].to == Sustained)
        EXPECT_EQ(to, -1);
      else
        EXPECT_TRUE(to >= 0 && passes.SentOnTime(start, p.expected[i].to, to));
    }
  }
}

}  // namespace
