#pragma once

// The piano keys of an analysed answer: right notes green, missing ones blue (and shown pressed),
// wrong ones red. A key met more than once keeps its highest level, so a note both wrong and
// missing shows as wrong. Notes off the piano are left out.

#include <vector>

#include "src/core/exercise/records/note_analysis.h"
#include "src/ui/key_state.h"

namespace UI {

KeysStateMap AnswerKeyStates(const std::vector<Core::NoteWAnalysis>& notes);

}  // namespace UI
