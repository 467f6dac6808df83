#include "NVstring.h"

#include <cctype>
#include <cstring>
#include <functional>

namespace {

bool Inside(char const* text, char const* buffer, size_t size) {
  return std::less_equal<char const*>()(buffer, text) &&
         std::less<char const*>()(text, buffer + size);
}

// Constant-initialised, so it exists before any other unit's static initialisers run.
constinit NVstring sEmptyString;

}  // namespace

char const* const NVstring::nullstr = "";
NVstring* const NVstring::emptyString = &sEmptyString;
int NVstring::sDebugAllocCount = 0;
int NVstring::sDebugReleaseCount = 0;

NVstring::NVstring(char const* text) : mInline{} {
  assign(text);
}

NVstring::NVstring(NVstring const* other) : mInline{} {
  assign(other);
}

NVstring::NVstring(NVstring const& other) : mInline{} {
  assign(other);
}

NVstring::~NVstring() {
  if (mData != mInline) Free(mData);
}

unsigned long NVstring::RoundSize(unsigned long n) const {
  return (n + 15) / 16 * 16;
}

void NVstring::MakeRoom(size_t need) {
  if (mCapacity >= need) return;
  char* fresh = mInline;
  size_t freshCapacity = kInlineSize;
  if (need > kInlineSize) {
    freshCapacity = RoundSize(need);
    fresh = new char[freshCapacity];
    ++sDebugAllocCount;
  }
  char* old = mData;
  if (old && old != fresh)
    std::memcpy(fresh, old, freshCapacity < mCapacity ? freshCapacity : mCapacity);
  mData = fresh;
  mCapacity = freshCapacity;
  if (old != mInline) Free(old);
}

char* NVstring::assign(char const* text, unsigned long n) {
  if (!text) {
    mLength = 0;
    mData[0] = 0;
    return mData;
  }
  // A text inside this string's own buffer moves with the buffer when it grows, and may
  // overlap its destination.
  const bool ownText = Inside(text, mData, mCapacity);
  const size_t offset = ownText ? static_cast<size_t>(text - mData) : 0;
  MakeRoom(n + 1);
  if (ownText) text = mData + offset;
  std::memmove(mData, text, n);
  mLength = n;
  mData[n] = 0;
  return mData;
}

char* NVstring::assign(char const* text) {
  return assign(text, std::strlen(text));
}

char* NVstring::assign(NVstring const* other) {
  if (!other) return assign(nullptr, 0);
  return assign(other->mData, other->mLength);
}

char* NVstring::assign(NVstring const& other) {
  return assign(other.mData, other.mLength);
}

NVstring& NVstring::operator=(char const* text) {
  assign(text);
  return *this;
}

NVstring& NVstring::operator=(NVstring const& other) {
  assign(other);
  return *this;
}

void NVstring::clear() {
  mLength = 0;
  mData[0] = 0;
}

NVstring& NVstring::append(char const* text, unsigned long n) {
  if (!text || n == 0) return *this;
  const bool ownText = Inside(text, mData, mCapacity);
  const size_t offset = ownText ? static_cast<size_t>(text - mData) : 0;
  MakeRoom(mLength + n + 1);
  if (ownText) text = mData + offset;
  std::memmove(mData + mLength, text, n);
  mLength += n;
  mData[mLength] = 0;
  return *this;
}

NVstring& NVstring::append(char const* text) {
  if (!text) return *this;
  return append(text, std::strlen(text));
}

NVstring& NVstring::append(NVstring const& other) {
  return append(other.mData, other.mLength);
}

NVstring& NVstring::append(char c) {
  MakeRoom(mLength + 2);
  mData[mLength] = c;
  ++mLength;
  mData[mLength] = 0;
  return *this;
}

bool NVstring::equal(char const* text) const {
  if (!text) return mLength == 0;
  return std::strcmp(c_str(), text) == 0;
}

size_t NVstring::find(char const* needle) const {
  char const* text = c_str();
  char const* hit = std::strstr(text, needle);
  return hit ? static_cast<size_t>(hit - text) : NPOS;
}

size_t NVstring::find(char c, unsigned long from) const {
  for (size_t i = from; i < mLength; ++i)
    if (mData[i] == c) return i;
  return NPOS;
}

int NVstring::get_at(unsigned long i) const {
  if (i >= mLength) return 0;
  return static_cast<signed char>(mData[i]);
}

NVstring NVstring::substr(unsigned long pos, unsigned long len) const {
  // A range that overruns the text gives the empty text, never its fitting part.
  if (pos > mLength || len > mLength - pos) return NVstring(*emptyString);
  NVstring part;
  part.assign(mData + pos, len);
  return part;
}

void NVstring::to_lower() {
  for (size_t i = 0; i < mLength; ++i)
    mData[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(mData[i])));
}

size_t NVstring::replace(char from, char to) {
  size_t replaced = 0;
  for (size_t i = 0; i < mLength; ++i) {
    if (mData[i] == from) {
      mData[i] = to;
      ++replaced;
    }
  }
  return replaced;
}

void NVstring::trim(unsigned long n) {
  if (n >= mCapacity) return;
  mLength = n;
  mData[n] = 0;
}

void NVstring::reserve(unsigned long n) {
  MakeRoom(n + 1);
}

bool NVstring::Grow(unsigned long n) {
  MakeRoom(n);
  return true;
}

bool NVstring::Allocate(unsigned long n) {
  if (n <= kInlineSize) {
    mData = mInline;
    mCapacity = kInlineSize;
  } else {
    mCapacity = RoundSize(n);
    mData = new char[mCapacity];
    ++sDebugAllocCount;
  }
  mLength = 0;
  mData[0] = 0;
  return true;
}

void NVstring::Free(char* p) {
  if (p == mInline) return;
  delete[] p;
  ++sDebugReleaseCount;
}

void NVstring::Reset() {
  if (mData != mInline) Free(mData);
  Cleanup();
}

char* NVstring::Cleanup() {
  mData = mInline;
  mCapacity = kInlineSize;
  mLength = 0;
  mInline[0] = 0;
  return mInline;
}
