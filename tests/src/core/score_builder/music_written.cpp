#include "tests/src/core/score_builder/music_written.h"

#include <cctype>
#include <cstdlib>
#include <vector>

namespace ScoreOverlaps {

namespace {

class VoiceReader {
 public:
  VoiceReader(const std::string& text, int voice, GeneratedPiece& piece)
      : text_(text), voice_(voice), piece_(piece) {}

  void Read() {
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '\\')
        Tag();
      else if (c == '(')
        ++at_;
      else if (c == ')')
        EndRange();
      else if (c == '{')
        Chord();
      else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_')
        Advance(Event());
      else
        ++at_;
    }
  }

 private:
  struct Range {
    int octava;  // the octava in force before it, or none for another range
    bool isOctava, isGrace;
  };

  void Tag() {
    const size_t start = ++at_;
    while (at_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[at_]))) ++at_;
    const std::string name = text_.substr(start, at_ - start);
    std::string parameters;
    if (at_ < text_.size() && text_[at_] == '<') {
      bool quoted = false;
      const size_t from = ++at_;
      while (at_ < text_.size() && (quoted || text_[at_] != '>')) quoted ^= text_[at_++] == '"';
      parameters = text_.substr(from, at_ - from);
      ++at_;
    }
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
    const bool range = at_ < text_.size() && text_[at_] == '(';
    if (name == "staff") staff_ = std::atoi(parameters.c_str());
    if (name == "newSystem" || name == "newLine") break_ = 1;
    if (name == "newPage") break_ = 2;
    if (range) {
      ranges_.push_back({octava_, name == "oct", name == "grace"});
      if (name == "grace") ++grace_;
    }
    if (name == "oct") octava_ = std::atoi(parameters.c_str());
  }

  void EndRange() {
    ++at_;
    if (ranges_.empty()) return;
    if (ranges_.back().isOctava) octava_ = ranges_.back().octava;
    if (ranges_.back().isGrace) --grace_;
    ranges_.pop_back();
  }

  void Chord() {
    ++at_;
    int ticks = 0;
    while (at_ < text_.size() && text_[at_] != '}') {
      if (std::isalpha(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_')
        ticks = Event();
      else
        ++at_;
    }
    ++at_;
    Advance(ticks);
  }

  // Reads a note or rest, writes it down at the time reached and returns its length.
  int Event() {
    const char letter = text_[at_++];
    int alter = 0;
    while (at_ < text_.size() && (text_[at_] == '#' || text_[at_] == '&'))
      alter += text_[at_++] == '#' ? 1 : -1;
    if (at_ < text_.size() &&
        (std::isdigit(static_cast<unsigned char>(text_[at_])) || text_[at_] == '-'))
      octave_ = int(std::strtol(text_.c_str() + at_, nullptr, 10)), ++at_;
    while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
    if (at_ < text_.size() && text_[at_] == '/') {
      denominator_ = int(std::strtol(text_.c_str() + at_ + 1, nullptr, 10));
      dots_ = 0;
      ++at_;
      while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
      while (at_ < text_.size() && text_[at_] == '.') ++dots_, ++at_;
    }
    const int plain = TicksPerWhole / denominator_;
    const int ticks = dots_ == 0 ? plain : dots_ == 1 ? plain * 3 / 2 : plain * 7 / 4;
    // A length of thirds is a tuplet's, drawn as the plain length half again as long.
    const int shown = denominator_ % 3 == 0 ? ticks * 3 / 2 : ticks;
    if (letter != '_') {
      static const int semitones[7] = {0, 2, 4, 5, 7, 9, 11};
      const std::string letters = "cdefgah";
      const int pitch = 48 + 12 * octave_ + semitones[letters.find(letter)] + alter + 12 * octava_;
      const bool grace = grace_ > 0;
      piece_.notes.push_back({pitch, staff_, voice_, date_, grace, shown, {}, break_});
      if (grace) leading_.push_back(piece_.notes.size() - 1);
    }
    return grace_ > 0 ? 0 : ticks;
  }

  // The time goes on past an event; the grace notes before it have its time, and a written
  // break stands before both.
  void Advance(int ticks) {
    if (ticks == 0) return;
    for (size_t note : leading_) piece_.notes[note].date = date_;
    leading_.clear();
    break_ = 0;
    date_ += ticks;
  }

  const std::string& text_;
  const int voice_;
  GeneratedPiece& piece_;
  size_t at_ = 0;
  int staff_ = 1, octave_ = 1, denominator_ = 4, dots_ = 0, octava_ = 0, grace_ = 0, break_ = 0;
  int date_ = 0;
  std::vector<Range> ranges_;
  std::vector<size_t> leading_;  // grace notes waiting for their note
};

}  // namespace

GeneratedPiece WrittenPiece(const std::string& rmn) {
  GeneratedPiece piece{0, rmn, {}, 0, false};
  int voice = 0;
  bool quoted = false;  // brackets in a text ("[1/4] = 96") open no voice
  size_t open = std::string::npos;
  for (size_t at = 0; at < rmn.size(); ++at) {
    if (rmn[at] == '"') quoted = !quoted;
    if (quoted) continue;
    if (rmn[at] == '[') open = at;
    if (rmn[at] == ']' && open != std::string::npos) {
      const std::string text = rmn.substr(open + 1, at - open - 1);
      VoiceReader(text, voice++, piece).Read();
      open = std::string::npos;
    }
  }
  return piece;
}

}  // namespace ScoreOverlaps
