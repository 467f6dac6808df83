// Two libraries hand data between threads in ways ThreadSanitizer cannot see, because they are not
// built for it: FluidSynth's OpenMP runtime (SoundFont samples are loaded on its workers) and
// JACK's lock-free ring buffers (RtMidi passes MIDI to the JACK thread through them). Only those
// hand-offs are silenced. Test programs link this as an object, not from an archive: the sanitizer
// runtime has a default of its own, so the linker would never fetch this one from a library.
extern "C" const char* __tsan_default_suppressions() {
  return "called_from_lib:libgomp.so.1\n"
         "race:jack_ringbuffer_\n";
}
