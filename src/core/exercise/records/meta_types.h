#pragma once

// The records that cross threads in queued Qt signals (answers judged on the MIDI input thread,
// playback states changed on the timer thread, both shown on the GUI thread).

#include <QMetaType>

#include "src/core/exercise/records/answer.h"
#include "src/core/exercise/records/exercise_state.h"

Q_DECLARE_METATYPE(Core::Answer)
Q_DECLARE_METATYPE(Core::PlaybackState)

namespace Core {

// Registers the names "Core::Answer" and "Core::PlaybackState" with the meta-type system so that
// signals carrying them can be queued. Safe to call more than once and from any thread.
void RegisterRecordMetaTypes();

}  // namespace Core
