#pragma once

// Validators decide whether the settings of a trainer section allow a pool entry as a question.
// They read the settings record through a pointer, so a change to the record changes their
// answers at once. Settings come from a user-editable file: any stored value, however far out of
// range, gives an answer (possibly "nothing is allowed") and never a crash or a hang.

#include "src/core/settings/exercise_settings.h"

namespace Core {

class QValidator {
 public:
  virtual ~QValidator() = default;
  virtual bool Validate(unsigned long id) = 0;
};

// A validator over one settings record (not owned; it must outlive the validator).
template <class Settings, bool (*Fn)(unsigned long, const Settings*)>
class SimpleValidator : public QValidator {
 public:
  explicit SimpleValidator(const Settings* settings) : m_settings(settings) {}

  bool Validate(unsigned long id) override { return Fn(id, m_settings); }

 private:
  const Settings* m_settings;
};

// Key k is asked when it lies in the range and its colour is allowed. With black keys allowed the
// black key just below the minimum belongs to the range, and a black-keys-only range too narrow to
// hold a black key is widened until it holds one.
bool ValidateNoteQuestion(unsigned long key, const NotesDiapason* range);
// Interval size within the settings' smallest..largest (inclusive) and its root in the range; the
// upper note is not tested.
bool ValidateIntervalQuestion(unsigned long id, const IntervalSettings* settings);
// Chord type flag on, the inversion flag on for inverted chords, and the root in the range.
bool ValidateChordQuestion(unsigned long id, const ChordSettings* settings);
bool ValidateScaleQuestion(unsigned long id, const ScalesSettings* settings);
// The tempo class's flag; Prestissimo has no class and selects nothing.
bool ValidateTempoQuestion(unsigned long id, const TempoSettings* settings);

// Whether two settings records select the same questions: they agree in every value the
// validator above reads. Other values (durations, clefs, playing styles) may differ.
bool SameSelection(const NotesDiapason& a, const NotesDiapason& b);
bool SameSelection(const IntervalSettings& a, const IntervalSettings& b);
bool SameSelection(const ChordSettings& a, const ChordSettings& b);
bool SameSelection(const ScalesSettings& a, const ScalesSettings& b);
bool SameSelection(const TempoSettings& a, const TempoSettings& b);

// The top note of the chord stays on the keyboard.
bool ChordValid(unsigned long root, unsigned long type, unsigned long inversion);
// The flag of chord type 0..17; false for any other type.
bool isOn(unsigned int type, const ChordSettings* settings);

using NoteValidator = SimpleValidator<NotesDiapason, &ValidateNoteQuestion>;
using IntervalValidator = SimpleValidator<IntervalSettings, &ValidateIntervalQuestion>;
using ChordValidator = SimpleValidator<ChordSettings, &ValidateChordQuestion>;
using ScaleValidator = SimpleValidator<ScalesSettings, &ValidateScaleQuestion>;
using TempoValidator = SimpleValidator<TempoSettings, &ValidateTempoQuestion>;

}  // namespace Core
