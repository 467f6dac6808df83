#include <gtest/gtest.h>

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

TEST(MidiStream, KeepsInsertionOrderUntilNormalized) {
  MidiStream stream;
  EXPECT_EQ(stream.GetDurationPulses(), 0u);
  stream.AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, 60, 96), 700, 1.0));
  stream.AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, 62, 96), 100, 0.2));
  stream.InsertEvent(1, MidiEvent(MidiMessage(MidiNoteOn, 0, 61, 96), 300, 0.5));
  // Duration is the last event in vector order, not the largest.
  EXPECT_EQ(stream.GetDurationPulses(), 100u);

  stream.Normalize();
  ASSERT_EQ(stream.GetEvents().size(), 3);
  EXPECT_EQ(stream.GetEvents()[0].GetMessage().GetNote(), 62);
  EXPECT_EQ(stream.GetEvents()[1].GetMessage().GetNote(), 61);
  EXPECT_EQ(stream.GetEvents()[2].GetMessage().GetNote(), 60);

  stream.ReplaceEvent(0, MidiEvent(MidiMessage(MidiNoteOff, 0, 62, 0), 100, 0.2));
  EXPECT_TRUE(stream.GetEvents()[0].GetMessage().IsNoteOff());

  MidiStream copy;
  copy.CopyFrom(stream);
  stream.Clear();
  EXPECT_EQ(copy.GetEvents().size(), 3);
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
