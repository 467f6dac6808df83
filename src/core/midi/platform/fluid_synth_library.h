#pragma once

// FluidSynth, opened when the first synthesizer is made instead of with the program: the library
// and the forty it brings (audio servers, sound file codecs, windowing for its own players) would
// otherwise be loaded and bound before the program's first line runs, on every start, and would
// lengthen every later symbol look-up while the main window is built.

#include <fluidsynth.h>

namespace Core {

struct FluidSynthLibrary {
  decltype(&::fluid_set_log_function) setLogFunction;
  decltype(&::new_fluid_settings) newSettings;
  decltype(&::delete_fluid_settings) deleteSettings;
  decltype(&::fluid_settings_setint) settingsSetInt;
  decltype(&::fluid_settings_setnum) settingsSetNum;
  decltype(&::fluid_settings_setstr) settingsSetStr;
  decltype(&::fluid_settings_getnum) settingsGetNum;
  decltype(&::new_fluid_synth) newSynth;
  decltype(&::delete_fluid_synth) deleteSynth;
  decltype(&::fluid_synth_sfload) sfload;
  decltype(&::new_fluid_audio_driver2) newAudioDriver2;
  decltype(&::delete_fluid_audio_driver) deleteAudioDriver;
  decltype(&::fluid_synth_noteoff) noteoff;
  decltype(&::fluid_synth_noteon) noteon;
  decltype(&::fluid_synth_key_pressure) keyPressure;
  decltype(&::fluid_synth_cc) cc;
  decltype(&::fluid_synth_program_change) programChange;
  decltype(&::fluid_synth_channel_pressure) channelPressure;
  decltype(&::fluid_synth_pitch_bend) pitchBend;
  decltype(&::fluid_synth_write_float) writeFloat;

  // The library, opened on the first call and kept to the end of the program; null, with the
  // reason in `failure`, when it or one of its functions cannot be found.
  static const FluidSynthLibrary* Open(const char** failure = nullptr);
};

}  // namespace Core
