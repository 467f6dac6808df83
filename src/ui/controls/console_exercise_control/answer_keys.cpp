#include "src/ui/controls/console_exercise_control/answer_keys.h"

#include "src/ui/keyboard_geometry.h"

namespace UI {

namespace {

int HighlightLevel(Core::NoteWAnalysis::Color colour) {
  switch (colour) {
    case Core::NoteWAnalysis::CL_RIGHT:
      return KeyState::Green;
    case Core::NoteWAnalysis::CL_NOT_PLAYED:
      return KeyState::Blue;
    default:
      return KeyState::Red;
  }
}

}  // namespace

KeysStateMap AnswerKeyStates(const std::vector<Core::NoteWAnalysis>& notes) {
  KeysStateMap keys;
  for (const Core::NoteWAnalysis& note : notes) {
    if (note.Key < 0 || note.Key >= KeyboardGeometry::KeyCount) continue;
    const int level = HighlightLevel(note.NoteColor);
    auto found = keys.find(note.Key);
    if (found != keys.end() && found->second.highlight >= level) continue;
    KeyState state;
    state.level = 3;
    state.active = true;
    state.pressed = note.NoteColor == Core::NoteWAnalysis::CL_NOT_PLAYED;
    state.highlight = level;
    state.repaint = true;
    keys[note.Key] = state;
  }
  return keys;
}

}  // namespace UI
