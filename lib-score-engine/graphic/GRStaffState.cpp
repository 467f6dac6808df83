#include "GRStaffState.h"

#include <algorithm>
#include <iterator>

#include "ARNote.h"
#include "ARStaffFormat.h"
#include "TagParameterFloat.h"

float GRStaffState::lineSpaceOf(ARStaffFormat const* format) {
  if (!format || !format->getStaffSize()) return 50;
  const float size = format->getStaffSize()->getValue(50);
  return size > 0 ? 2 * size : 50;
}

static_assert(GRStaffState::kLowestOctave == MIN_REGISTER &&
              GRStaffState::kOctaves == MAX_REGISTER - MIN_REGISTER + 1);

void GRStaffState::clearWrittenAccidentals() {
  std::fill_n(&WrittenAccidentals[0][0], kLetters * kOctaves, kNotWritten);
}

int GRStaffState::octaveSlot(int octave) {
  return std::clamp(octave - kLowestOctave, 0, kOctaves - 1);
}

bool GRStaffState::letterOf(int pitch, int* letter, int* raised) {
  // cis, dis, fis, gis and ais, in pitch-class order.
  static constexpr int kChromaticLetters[] = {2, 3, 5, 6, 7};
  *raised = 0;
  if (isLetter(pitch)) {
    *letter = pitch;
    return true;
  }
  int const chromatic = pitch - (2 + kLetters);
  if (chromatic < 0 || chromatic >= static_cast<int>(std::size(kChromaticLetters))) return false;
  *letter = kChromaticLetters[chromatic];
  *raised = 1;
  return true;
}

void GRStaffState::startMeasure() {
  for (int i = 0; i < kPitches; ++i) MeasureAccidentals[i] = KeyArray[i] - instrKeyArray[i];
  clearWrittenAccidentals();
  heldAccidentals.clear();
  struckNow.clear();
}

void GRStaffState::holdAccidentals(Fraction const& time, int pitch, int octave, int accidentals) {
  int letter, raised;
  if (letterOf(pitch, &letter, &raised) &&
      std::any_of(struckNow.begin(), struckNow.end(), [&](HeldAccidentals const& struck) {
        return struck.time == time && struck.pitch == letter &&
               octaveSlot(struck.octave) == octaveSlot(octave);
      }))
    return;
  heldAccidentals.push_back({time, pitch, octave, accidentals});
}

void GRStaffState::writeAccidentals(Fraction const& time, int pitch, int octave, int accidentals) {
  int letter, raised;
  if (!struckNow.empty() && struckNow.front().time != time) struckNow.clear();
  if (letterOf(pitch, &letter, &raised)) struckNow.push_back({time, letter, octave, 0});
  writeAccidentals(pitch, octave, accidentals);
}

void GRStaffState::writeHeldAccidentalsBefore(Fraction const& time) {
  if (heldAccidentals.empty()) return;
  std::erase_if(heldAccidentals, [&](HeldAccidentals const& held) {
    int letter, raised;
    if (held.time >= time) return false;
    if (letterOf(held.pitch, &letter, &raised))
      writeLetter(letter, raised, held.octave, held.accidentals);
    return true;
  });
}

void GRStaffState::writeAccidentals(int pitch, int octave, int accidentals) {
  int letter, raised;
  if (!letterOf(pitch, &letter, &raised)) return;
  // A note struck on the letter speaks after a note tied over to it.
  std::erase_if(heldAccidentals, [&](HeldAccidentals const& held) {
    int heldLetter, heldRaised;
    return letterOf(held.pitch, &heldLetter, &heldRaised) && heldLetter == letter &&
           octaveSlot(held.octave) == octaveSlot(octave);
  });
  writeLetter(letter, raised, octave, accidentals);
}

void GRStaffState::writeLetter(int letter, int raised, int octave, int accidentals) {
  // Beyond what a byte holds, signs differ only in how many a reader counts anyway.
  long long const relative =
      static_cast<long long>(accidentals) + raised - instrKeyArray[letter - 2];
  WrittenAccidentals[letter - 2][octaveSlot(octave)] =
      static_cast<std::int8_t>(std::clamp<long long>(relative, INT8_MIN + 1, INT8_MAX));
}

bool GRStaffState::isWritten(int letter, int octave) const {
  if (!isLetter(letter)) return false;
  return WrittenAccidentals[letter - 2][octaveSlot(octave)] != kNotWritten;
}

int GRStaffState::measureAccidentals(int letter, int octave) const {
  if (!isLetter(letter)) return 0;
  std::int8_t const written = WrittenAccidentals[letter - 2][octaveSlot(octave)];
  return written != kNotWritten ? written : MeasureAccidentals[letter - 2];
}

bool GRStaffState::otherOctaveDiffers(int letter, int octave, int relativeAccidentals) const {
  if (!isLetter(letter)) return false;
  int const own = octaveSlot(octave);
  int const wanted = std::clamp(relativeAccidentals, INT8_MIN + 1, INT8_MAX);
  for (int slot = 0; slot < kOctaves; ++slot) {
    std::int8_t const written = WrittenAccidentals[letter - 2][slot];
    if (slot != own && written != kNotWritten && written != wanted) return true;
  }
  return false;
}

GRStaffState& GRStaffState::operator=(GRStaffState const& other) {
  if (this == &other) return *this;
  meterset = other.meterset;
  curmeasurenum = other.curmeasurenum;
  curmeter = other.curmeter;
  keyset = other.keyset;
  numkeys = other.numkeys;
  std::copy_n(other.KeyArray, kPitches, KeyArray);
  std::copy_n(other.MeasureAccidentals, kPitches, MeasureAccidentals);
  std::copy_n(&other.WrittenAccidentals[0][0], kLetters * kOctaves, &WrittenAccidentals[0][0]);
  heldAccidentals = other.heldAccidentals;
  struckNow = other.struckNow;
  curkey = other.curkey;
  clefset = other.clefset;
  clefname = other.clefname;
  basepit = other.basepit;
  transposeOffset = other.transposeOffset;
  instrKeyNumber = other.instrKeyNumber;
  std::copy_n(other.instrKeyArray, kPitches, instrKeyArray);
  baseoct = other.baseoct;
  octava = other.octava;
  baseline = other.baseline;
  curclef = other.curclef;
  curbarfrmt = other.curbarfrmt;
  curstaffrmt = other.curstaffrmt;
  lineSpace = other.lineSpace;
  numlines = other.numlines;
  distance = other.distance;
  distanceset = other.distanceset;
  return *this;
}
