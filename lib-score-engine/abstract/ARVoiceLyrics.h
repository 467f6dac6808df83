#pragma once

#include "NVstring.h"

class ARLyrics;

// One lyrics range while its text is handed out syllable by syllable.
class ARDispatchLyricsClass {
 public:
  explicit ARDispatchLyricsClass(ARLyrics* lyrics);
  ARDispatchLyricsClass(ARDispatchLyricsClass const&) = delete;
  ARDispatchLyricsClass& operator=(ARDispatchLyricsClass const&) = delete;
  virtual ~ARDispatchLyricsClass();

  // The next syllable: up to a blank (left out), a hyphen or an underscore (kept); a tilde
  // stands for a blank inside a syllable. Empty once the text is used up.
  NVstring GetNextSubstring();
  ARLyrics* getLyrics() const { return lyrics; }

 private:
  ARLyrics* lyrics;
  NVstring* text;
  int position = 0;
};
