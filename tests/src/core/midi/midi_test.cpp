#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "src/core/midi/midi.h"

namespace Core {
namespace {

constexpr char kMidiSource[] = "file \\.\\./\\.\\./src/core/midi/midi";

TEST(MidiMessage, ConstructorsFillStatusDataAndLength) {
  EXPECT_EQ(MidiMessage().GetLength(), 0);

  MidiMessage noteOn(MidiNoteOn, 3, 60, 100);
  EXPECT_EQ(noteOn.GetLength(), 3);
  EXPECT_EQ(noteOn.GetByte(0), 0x93);
  EXPECT_EQ(noteOn.GetChannel(), 3);
  EXPECT_EQ(noteOn.GetNote(), 60);
  EXPECT_EQ(noteOn.GetVelocity(), 100);

  MidiMessage program(MidiProgramChange, 0, 40);
  EXPECT_EQ(program.GetLength(), 2);
  EXPECT_EQ(program.GetCommand(), 0xC0);

  EXPECT_EQ(MidiMessage(MidiNoteOff, 15).GetLength(), 1);
  EXPECT_EQ(MidiMessage(MidiNoteOff, 15).GetRawData()[0], 0x8F);

  const unsigned char bytes[] = {0x90, 64, 1};
  MidiMessage fromBytes(bytes, 1);
  EXPECT_EQ(fromBytes.GetLength(), 1);
  EXPECT_EQ(fromBytes.GetByte(0), 0x90);
  EXPECT_EQ(MidiMessage(bytes, 3), MidiMessage(MidiNoteOn, 0, 64, 1));
}

TEST(MidiMessage, KindQueries) {
  MidiMessage silentNoteOn(MidiNoteOn, 0, 60, 0);
  EXPECT_TRUE(silentNoteOn.IsNoteOn());
  EXPECT_FALSE(silentNoteOn.IsNoteAudible());
  EXPECT_TRUE(MidiMessage(MidiNoteOn, 0, 60, 1).IsNoteAudible());
  EXPECT_TRUE(MidiMessage(MidiNoteOff, 0, 60, 0).IsNoteOff());

  MidiMessage meta(0xFF, 0x2F, 0);
  EXPECT_TRUE(meta.IsMeta());
  EXPECT_FALSE(meta.IsStandardMessage());
  EXPECT_TRUE(silentNoteOn.IsStandardMessage());

  EXPECT_EQ(MidiMessage(MidiChannelPressure, 0, 77).GetPressure(), 77);
  EXPECT_EQ(MidiMessage(MidiAftertouch, 0, 60, 55).GetPressure(), 55);
}

TEST(MidiMessageDeathTest, AccessorsAssertTheMessageKind) {
  const unsigned char bytes[] = {0x90, 64, 1};
  EXPECT_DEATH(MidiMessage(bytes, 1).GetByte(1), std::string("index < Length.*") + kMidiSource);
  EXPECT_DEATH(MidiMessage(bytes, 0), "size > 0");
  EXPECT_DEATH(MidiMessage(bytes, 4), "size <= MaxLength");
  EXPECT_DEATH(MidiMessage(0xF8, 0, 0).GetChannel(), std::string("!IsMeta\\(\\).*") + kMidiSource);
  EXPECT_DEATH(MidiMessage(MidiControlChange, 0, 7, 1).GetNote(),
               "IsNoteOn\\(\\) \\|\\| IsNoteOff\\(\\) \\|\\| IsAftertouch\\(\\)");
  EXPECT_DEATH(MidiMessage(MidiAftertouch, 0, 60, 1).GetVelocity(),
               "IsNoteOn\\(\\) \\|\\| IsNoteOff\\(\\), function GetVelocity");
  EXPECT_DEATH(MidiMessage(MidiAftertouch, 0, 60, 1).SetVelocity(3), "function SetVelocity");
  EXPECT_DEATH(MidiMessage(MidiNoteOn, 0, 60, 1).GetPressure(),
               "Assertion failed: false, function GetPressure");
}

// Streams built in any order: each event goes in after everything at an earlier time, and after
// what came before it at its own time, except that a strike follows every other kind of event at
// its time. Normalize puts events appended in the same order in the same places. Each event's
// note is its number in the order it came in.
TEST(MidiStream, EventsAddedInAnyOrderStandInTimeOrder) {
  std::mt19937 random(5);
  for (int round = 0; round < 300; ++round) {
    MidiStream added, normalized;
    for (unsigned char n = 0; n < 12; ++n) {
      const unsigned char kinds[][2] = {{MidiNoteOn, 96}, {MidiNoteOn, 0}, {MidiNoteOff, 64}};
      const auto* kind = kinds[random() % 3];
      // Few distinct times, so that many events share one; a file's streams are timed in pulses.
      const MidiEvent event(MidiMessage(MidiCommand{kind[0]}, 0, n, kind[1]),
                            96 * unsigned(random() % 2), 0.5 * double(random() % 3));
      added.AddEvent(event);
      normalized.GetEvents().append(event);
    }
    normalized.Normalize();
    const QVector<MidiEvent>& events = added.GetEvents();
    for (qsizetype i = 0; i < events.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "round " << round << ", event " << i);
      EXPECT_EQ(events[i].GetMessage(), normalized.GetEvents()[i].GetMessage());
      if (i == 0) continue;
      const MidiEvent& a = events[i - 1];
      const MidiEvent& b = events[i];
      const auto when = [](const MidiEvent& e) {
        return std::pair(e.GetTime(), e.GetTimePulses());
      };
      ASSERT_LE(when(a), when(b));
      if (when(a) != when(b)) continue;
      const bool aStrikes = a.GetMessage().IsNoteAudible(),
                 bStrikes = b.GetMessage().IsNoteAudible();
      EXPECT_FALSE(aStrikes && !bStrikes) << "a strike before a release at one time";
      if (aStrikes == bStrikes) {
        EXPECT_LT(a.GetMessage().GetNote(), b.GetMessage().GetNote());
      }
    }
  }
}

TEST(MidiStream, IndexedEditsCopiesAndDuration) {
  MidiStream stream;
  EXPECT_EQ(stream.GetDurationPulses(), 0u);
  stream.AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, 60, 96), 700, 1.0));
  stream.InsertEvent(1, MidiEvent(MidiMessage(MidiNoteOn, 0, 62, 96), 100, 0.2));
  // Placed by index, as given; the duration is the last event's, not the largest.
  EXPECT_EQ(stream.GetEvents()[1].GetMessage().GetNote(), 62);
  EXPECT_EQ(stream.GetDurationPulses(), 100u);

  stream.ReplaceEvent(0, MidiEvent(MidiMessage(MidiNoteOff, 0, 62, 0), 100, 0.2));
  EXPECT_TRUE(stream.GetEvents()[0].GetMessage().IsNoteOff());

  MidiStream copy;
  copy.CopyFrom(stream);
  stream.Clear();
  EXPECT_EQ(copy.GetEvents().size(), 2);
  EXPECT_TRUE(stream.GetEvents().isEmpty());
}

TEST(MidiKeyboardState, HoldsOneValuePerKey) {
  MidiKeyboardState state;
  EXPECT_EQ(state.GetKey(60), 0);
  state.SetKey(119, 9);
  EXPECT_EQ(state.GetKey(119), 9);
  EXPECT_EQ(state.GetRaw()[119], 9);
  state.Clear();
  EXPECT_EQ(state.GetKey(119), 0);
  EXPECT_DEATH(state.SetKey(120, 1), "index < MidiKeyCount");
  EXPECT_DEATH(state.GetKey(120), "index < MidiKeyCount");
}

TEST(IsMidiChromatic, FollowsThePianoKeyboard) {
  EXPECT_FALSE(IsMidiChromatic(21));
  EXPECT_TRUE(IsMidiChromatic(22));
  EXPECT_FALSE(IsMidiChromatic(23));
  EXPECT_FALSE(IsMidiChromatic(24));
  EXPECT_TRUE(IsMidiChromatic(25));
  EXPECT_FALSE(IsMidiChromatic(108));
  int blackKeys = 0;
  for (int note = 21; note <= 108; ++note)
    blackKeys += IsMidiChromatic(static_cast<unsigned char>(note));
  EXPECT_EQ(blackKeys, 36);
}

}  // namespace
}  // namespace Core
