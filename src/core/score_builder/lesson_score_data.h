#pragma once

// One named lesson score: the MIDI stream it plays and its renderings for the three hands
// (0 treble, 1 bass, 2 both) in quarter-screen and third-screen rows.

#include <QString>

#include <memory>

#include "src/core/midi/midi_stream_device.h"
#include "src/core/score_builder/score_records.h"

namespace Core {

struct LessonScoreData {
  std::shared_ptr<MidiInStreamDeviceManual> streamDevice;
  std::shared_ptr<ScoreSet> quarterSet;
  std::shared_ptr<ScoreSet> thirdSet;
  QString name;
};

}  // namespace Core
