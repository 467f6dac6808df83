#pragma once

// The symbols of the music-symbols trainer: picture resource and name of every note length, key
// signature, loudness mark and note modifier, with the settings flag that selects each row.

#include <QString>

#include <array>

#include "src/core/settings/exercise_settings.h"

namespace Core {

struct SymbolRow {
  QString picture;
  QString name;
};

struct SignatureRow {
  QString bassPicture;
  QString treblePicture;
  QString name;
};

constexpr std::size_t LengthRowCount = 16;
constexpr std::size_t SignatureRowCount = 13;
constexpr std::size_t LoudnessRowCount = 11;
constexpr std::size_t ModifierRowCount = 24;

// Names translated in the context "QObject" when the tables are first used.
const std::array<SymbolRow, LengthRowCount>& LengthSymbols();
const std::array<SignatureRow, SignatureRowCount>& SignatureSymbols();
const std::array<SymbolRow, LoudnessRowCount>& LoudnessSymbols();
const std::array<SymbolRow, ModifierRowCount>& ModifierSymbols();

// Whether the settings allow pool row `id` of a section; rows past the table are refused.
bool ValidateLengthQuestion(unsigned long id, const LengthSettings* settings);
bool ValidateSignatureQuestion(unsigned long id, const KeySignaturesSettings* settings);
bool ValidateLoudnessQuestion(unsigned long id, const LoudnessSettings* settings);
bool ValidateModifiersQuestion(unsigned long id, const NoteModifiersSettings* settings);

}  // namespace Core
