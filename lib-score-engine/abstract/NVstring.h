#pragma once

// The engine's byte string. Eight bytes live inside the object, so the short texts that dominate
// notation (note names, tag names, units, clef names) never touch the heap; longer texts get a
// heap buffer rounded up to a multiple of 16 bytes, grown exactly to the need and never shrunk.
// The text is always zero-terminated at data[length].

#include <cstddef>

class NVstring {
 public:
  static constexpr size_t NPOS = 0x7fffffffffffffff;
  // The shared empty text handed out in place of a missing one.
  static char const* const nullstr;
  static NVstring* const emptyString;
  // Heap buffers taken and given up; statistics only, reset by the engine's shutdown.
  static int sDebugAllocCount;
  static int sDebugReleaseCount;

  constexpr NVstring() : mInline{} {}
  NVstring(char const* text);
  explicit NVstring(NVstring const* other);
  NVstring(NVstring const& other);
  virtual ~NVstring();

  char* assign(char const* text, unsigned long n);
  char* assign(char const* text);
  char* assign(NVstring const* other);
  char* assign(NVstring const& other);
  NVstring& operator=(char const* text);
  NVstring& operator=(NVstring const& other);
  void clear();

  NVstring& append(char const* text, unsigned long n);
  NVstring& append(char const* text);
  NVstring& append(NVstring const& other);
  NVstring& append(char c);

  bool equal(char const* text) const;
  size_t find(char const* needle) const;
  size_t find(char c, unsigned long from) const;
  int get_at(unsigned long i) const;
  NVstring substr(unsigned long pos, unsigned long len) const;

  void to_lower();
  size_t replace(char from, char to);
  void trim(unsigned long n);

  char const* c_str() const { return mData ? mData : nullstr; }
  size_t length() const { return mLength; }
  size_t capacity() const { return mCapacity; }

  void reserve(unsigned long n);
  bool Grow(unsigned long n);
  bool Allocate(unsigned long n);
  unsigned long RoundSize(unsigned long n) const;
  void Free(char* p);
  void Reset();
  char* Cleanup();

 private:
  static constexpr size_t kInlineSize = 8;

  // Makes the buffer hold at least need bytes, keeping the old bytes.
  void MakeRoom(size_t need);

  size_t mLength = 0;
  size_t mCapacity = kInlineSize;
  char* mData = mInline;
  char mInline[kInlineSize];
};
