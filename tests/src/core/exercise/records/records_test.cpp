#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaType>
#include <QObject>

#include "src/core/exercise/records/meta_types.h"
#include "src/core/exercise/records/question.h"

namespace Core {
namespace {

TEST(QuestionRecords, VariantsKeepOnlyTheBaseFieldsAndShareStreams) {
  QuestionChordData chord;
  chord.Keys = {39, 43, 46};
  chord.Root = 39;
  chord.Text = "Cmaj";
  chord.Id = 1234;
  chord.Stream = std::make_shared<MidiStream>();
  chord.Stream->AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, 60, 96), 0, 0.0));

  Question question;
  question.VariantData.push_back(chord);
  const Question copy = question;

  ASSERT_EQ(copy.VariantData.size(), 1u);
  EXPECT_EQ(copy.VariantData[0].Id, 1234);
  EXPECT_EQ(copy.VariantData[0].Text, "Cmaj");
  // Streams are shared, not copied: the question player plays the pool's own stream.
  EXPECT_EQ(copy.VariantData[0].Stream.get(), chord.Stream.get());
  // The stored variant is a plain base record, whatever it was built from.
  EXPECT_EQ(typeid(copy.VariantData[0]), typeid(QuestionData));
}

// The exercise screen receives the answers judged on the MIDI input thread through a queued
// signal; a queued call whose argument type is unknown by name is dropped with only a warning.
class AnswerSender : public QObject {
  Q_OBJECT
 signals:
  void answered(Core::Answer answer, Core::PlaybackState state);
};

class AnswerReceiver : public QObject {
  Q_OBJECT
 public slots:
  void onAnswered(Core::Answer answer, Core::PlaybackState state) {
    received = answer;
    receivedState = state;
    ++calls;
  }

 public:
  Core::Answer received;
  Core::PlaybackState receivedState = PS_STOPPED;
  int calls = 0;
};

TEST(RecordMetaTypes, AnswerTravelsThroughAQueuedSignal) {
  RegisterRecordMetaTypes();
  RegisterRecordMetaTypes();  // a second call is harmless
  EXPECT_TRUE(QMetaType::fromName("Core::Answer").isValid());

  AnswerSender sender;
  AnswerReceiver receiver;
  ASSERT_TRUE(QObject::connect(&sender, SIGNAL(answered(Core::Answer, Core::PlaybackState)),
                               &receiver, SLOT(onAnswered(Core::Answer, Core::PlaybackState)),
                               Qt::QueuedConnection));
  Answer answer;
  answer.Kind = AK_NOTES;
  answer.Notes.AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, 64, 90), 768, 1.0));
  emit sender.answered(answer, PS_PAUSED);
  EXPECT_EQ(receiver.calls, 0);
  QCoreApplication::processEvents();
  ASSERT_EQ(receiver.calls, 1);
  EXPECT_EQ(receiver.received.Kind, AK_NOTES);
  ASSERT_EQ(receiver.received.Notes.GetEvents().size(), 1);
  EXPECT_EQ(receiver.received.Notes.GetEvents()[0].GetMessage().GetNote(), 64);
  EXPECT_EQ(receiver.receivedState, PS_PAUSED);
}

}  // namespace
}  // namespace Core

#include "records_test.moc"
