#include "src/core/midi/platform/fluid_synth_library.h"

#include <dlfcn.h>

#include <string>

namespace Core {

namespace {

// The file name of FluidSynth 2's library, the version whose header is built against.
static_assert(FLUIDSYNTH_VERSION_MAJOR == 2);
constexpr const char* LibraryName = "libfluidsynth.so.3";

struct Opened {
  FluidSynthLibrary functions{};
  std::string failure;  // empty when every function was found
};

template <class Function>
bool Bind(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

Opened OpenLibrary() {
  Opened opened;
  // Its own dependencies are bound now and kept to itself.
  void* library = dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    opened.failure = dlerror();
    return opened;
  }
  FluidSynthLibrary& f = opened.functions;
  const bool bound = Bind(library, "fluid_set_log_function", f.setLogFunction) &&
                     Bind(library, "new_fluid_settings", f.newSettings) &&
                     Bind(library, "delete_fluid_settings", f.deleteSettings) &&
                     Bind(library, "fluid_settings_setint", f.settingsSetInt) &&
                     Bind(library, "fluid_settings_setnum", f.settingsSetNum) &&
                     Bind(library, "fluid_settings_setstr", f.settingsSetStr) &&
                     Bind(library, "fluid_settings_getnum", f.settingsGetNum) &&
                     Bind(library, "new_fluid_synth", f.newSynth) &&
                     Bind(library, "delete_fluid_synth", f.deleteSynth) &&
                     Bind(library, "fluid_synth_sfload", f.sfload) &&
                     Bind(library, "new_fluid_audio_driver2", f.newAudioDriver2) &&
                     Bind(library, "delete_fluid_audio_driver", f.deleteAudioDriver) &&
                     Bind(library, "fluid_synth_noteoff", f.noteoff) &&
                     Bind(library, "fluid_synth_noteon", f.noteon) &&
                     Bind(library, "fluid_synth_key_pressure", f.keyPressure) &&
                     Bind(library, "fluid_synth_cc", f.cc) &&
                     Bind(library, "fluid_synth_program_change", f.programChange) &&
                     Bind(library, "fluid_synth_channel_pressure", f.channelPressure) &&
                     Bind(library, "fluid_synth_pitch_bend", f.pitchBend) &&
                     Bind(library, "fluid_synth_write_float", f.writeFloat);
  if (!bound) {
    const char* missing = dlerror();
    opened.failure = missing ? missing : "a function is missing";
  }
  return opened;
}

}  // namespace

const FluidSynthLibrary* FluidSynthLibrary::Open(const char** failure) {
  static const Opened opened = OpenLibrary();
  if (opened.failure.empty()) return &opened.functions;
  if (failure) *failure = opened.failure.c_str();
  return nullptr;
}

}  // namespace Core
