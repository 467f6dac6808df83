#pragma once

#include <string>
#include <utility>
#include <vector>

// The pieces of a mark text in text order, each plain (0) or special (1).
using FormatStringParserResult = std::vector<std::pair<std::string, int>>;

// Cuts a mark text into plain and special pieces: "[" opens a special piece and "]" closes it, a
// backslash takes the next character literally. There is no nesting: a "[" inside a special
// piece starts the next one, and an unclosed "[" makes the rest special.
class FormatStringParser {
 public:
  enum type { kPlain = 0, kSpecial = 1 };

  virtual ~FormatStringParser() = default;

  // Appends the pieces of text to out; empty pieces are left out.
  virtual void parse(char const* text, FormatStringParserResult& out);
  virtual char getSpecialStart() const { return '['; }
  virtual char getSpecialEnd() const { return ']'; }
  virtual char getEscapeChar() const { return '\\'; }

 protected:
  virtual void store(std::string const& text, type pieceType, FormatStringParserResult& out);
  virtual void switchTo(type pieceType);

  std::string mCurrentText;
  type mCurrentType = kPlain;
};
