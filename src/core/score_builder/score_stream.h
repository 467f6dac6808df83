#pragma once

// The QDataStream form of rendered scores, lesson scores and the MIDI values inside them. Lesson
// scores pin the stream version themselves, so stored scores read back alike whatever Qt writes
// by default (pixmap and list encodings change between versions).

#include <QDataStream>

#include "src/core/midi/midi.h"
#include "src/core/score_builder/lesson_score_data.h"
#include "src/core/score_builder/score_records.h"

namespace Core {

constexpr QDataStream::Version ScoreStreamVersion = QDataStream::Qt_6_4;

}  // namespace Core

QDataStream& operator<<(QDataStream& stream, const Core::MidiMessage& message);
// A length above three marks the stream ReadCorruptData and leaves the message empty.
QDataStream& operator>>(QDataStream& stream, Core::MidiMessage& message);
QDataStream& operator<<(QDataStream& stream, const Core::MidiEvent& event);
QDataStream& operator>>(QDataStream& stream, Core::MidiEvent& event);
QDataStream& operator<<(QDataStream& stream, const Core::MidiStream& midi);
QDataStream& operator>>(QDataStream& stream, Core::MidiStream& midi);

QDataStream& operator<<(QDataStream& stream, const Core::NoteDesc& note);
QDataStream& operator>>(QDataStream& stream, Core::NoteDesc& note);
QDataStream& operator<<(QDataStream& stream, const Core::ScorePageDescription& page);
QDataStream& operator>>(QDataStream& stream, Core::ScorePageDescription& page);
// Note boxes and the highlight are not part of the form; reading leaves them as they are.
QDataStream& operator<<(QDataStream& stream, const Core::ScoresDescription& score);
QDataStream& operator>>(QDataStream& stream, Core::ScoresDescription& score);
QDataStream& operator<<(QDataStream& stream, const Core::ScoreSet& set);
QDataStream& operator>>(QDataStream& stream, Core::ScoreSet& set);

QDataStream& operator<<(QDataStream& stream, const Core::LessonScoreData& data);
QDataStream& operator>>(QDataStream& stream, Core::LessonScoreData& data);
