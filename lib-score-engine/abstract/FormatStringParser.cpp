#include "FormatStringParser.h"

void FormatStringParser::parse(char const* text, FormatStringParserResult& out) {
  switchTo(kPlain);
  bool escaped = false;
  for (char const* c = text ? text : ""; *c; ++c) {
    if (escaped) {
      mCurrentText += *c;
      escaped = false;
    } else if (*c == getEscapeChar()) {
      escaped = true;
    } else if (*c == getSpecialStart()) {
      store(mCurrentText, mCurrentType, out);
      switchTo(kSpecial);
    } else if (*c == getSpecialEnd()) {
      store(mCurrentText, mCurrentType, out);
      switchTo(kPlain);
    } else {
      mCurrentText += *c;
    }
  }
  store(mCurrentText, mCurrentType, out);
}

void FormatStringParser::store(std::string const& text, type pieceType,
                               FormatStringParserResult& out) {
  if (!text.empty()) out.emplace_back(text, pieceType);
}

void FormatStringParser::switchTo(type pieceType) {
  mCurrentText.clear();
  mCurrentType = pieceType;
}
