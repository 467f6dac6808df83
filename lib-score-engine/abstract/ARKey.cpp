#include "ARKey.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "RmnOutput.h"
#include "TagParameterInt.h"
#include "TagParameterString.h"
#include "note_names.h"

namespace {

constexpr char kFreeKey[] = "free=";

// Sharps (positive) or flats of the major key on a letter, and of the minor key on its lower
// case, for the letters a to h; b and h both stand for h.
struct KeyOfLetter {
  char letter;
  int major;
  int minor;
};

constexpr KeyOfLetter kKeys[] = {
    {'a', 3, 0}, {'b', 5, 2},   {'c', 0, -3}, {'d', 2, -1},
    {'e', 4, 1}, {'f', -1, -4}, {'g', 1, -2}, {'h', 5, 2},
};

// The key number of a key name's first character: upper case picks the major, lower case the
// minor key; a character that is no key letter gives C major or, in lower case, A minor.
int KeyOfFirstCharacter(char first) {
  const bool minor = std::islower(static_cast<unsigned char>(first));
  const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(first)));
  for (KeyOfLetter const& key : kKeys)
    if (key.letter == letter) return minor ? key.minor : key.major;
  return minor ? -3 : 0;
}

}  // namespace

ARKey::ARKey(ARKey const& other)
    : ARMTParameter(other.getRelativeTimePosition(), &other),
      mIsFree(other.mIsFree),
      mKeyNumber(other.mKeyNumber) {
  std::copy_n(other.mAccidentals, kEntries, mAccidentals);
  std::copy_n(other.mOctaves, kEntries, mOctaves);
}

void ARKey::print() const {
  PrintRmnLine(*this);
}

void ARKey::PrintName(std::ostream& os) const {
  os << "\\key";
}

void ARKey::PrintParameters(std::ostream& os) const {
  os << mKeyNumber;
}

void ARKey::setTagParameterList(TagParameterList& given) {
  static ListOfTPLs ltpls;
  std::unique_ptr<TagParameterList> own;
  const int matched = BindTagParameters(ltpls, {"S,key,,r", "I,key,,r"}, given, own);
  TagParameter* key = own ? ParameterAt(*own, 0) : nullptr;
  if (!key) return;
  if (matched == 1 && key->isInt())
    mKeyNumber = static_cast<TagParameterInt*>(key)->getValue();
  else if (matched == 0 && key->isString())
    ReadKeyText(static_cast<TagParameterString*>(key)->getValue());
}

void ARKey::ReadKeyText(char const* text) {
  if (std::strncmp(text, kFreeKey, std::size(kFreeKey) - 1) == 0) {
    mIsFree = true;
    getKeyArray(NVstring(text + std::size(kFreeKey) - 1));
    return;
  }
  mIsFree = false;
  mKeyNumber = KeyOfFirstCharacter(text[0]);
  if (text[0] == '\0') return;
  if (text[1] == '&')
    mKeyNumber -= 7;
  else if (text[1] == '#')
    mKeyNumber += 7;
}

void ARKey::getKeyArray(NVstring text) {
  std::fill_n(mAccidentals, kEntries, 0);
  char const* p = text.c_str();
  while (*p) {
    char const* nameEnd = p;
    while (std::isalpha(static_cast<unsigned char>(*nameEnd))) ++nameEnd;
    char const* signs = nameEnd;
    while (*signs == '#' || *signs == '&') ++signs;
    const long signCount = signs - nameEnd;
    if (signCount > 2 || (signCount == 2 && nameEnd[0] != nameEnd[1])) return;

    const int code = gd_noteName2pc(std::string(p, nameEnd).c_str());
    if (code < 2 || code > 13) return;
    // Raised names (cis ... ais) have no entry of their own: their accidental is not kept.
    int* octave = nullptr;
    if (code <= 8) {
      const int entry = code - 2;
      mAccidentals[entry] = static_cast<int>(nameEnd[0] == '&' ? -signCount : signCount);
      octave = &mOctaves[entry];
    }

    p = signs;
    if (*p == '+' || *p == '-') {
      if (p[1] < '0' || p[1] > '2') return;
      if (octave) *octave = (*p == '-' ? -1 : 1) * (p[1] - '0');
      p += 2;
    } else if (std::isdigit(static_cast<unsigned char>(*p))) {
      if (*p > '2') return;
      if (octave) *octave = *p - '0';
      ++p;
    }
  }
}

void ARKey::getOctArray(int* out) const {
  std::copy_n(mOctaves, kEntries, out);
}

void ARKey::getFreeKeyArray(int* out) const {
  std::copy_n(mAccidentals, kEntries, out);
}

bool ARKey::operator==(ARKey const& other) const {
  return mIsFree == other.mIsFree && mKeyNumber == other.mKeyNumber &&
         std::equal(mAccidentals, mAccidentals + kEntries, other.mAccidentals) &&
         std::equal(mOctaves, mOctaves + kEntries, other.mOctaves);
}
