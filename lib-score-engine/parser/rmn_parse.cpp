#include "rmn_parse.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "parse_error.h"
#include "parser_callbacks.h"
#include "rmn_scan_support.h"

int gd_scanner_line = 1;
int gd_scanner_column = 0;
int gd_token_line = 1;
int gd_token_column = 0;

char* rmn_copy_text(char const* text, int length) {
  auto* copy = static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1));
  if (!copy) rmn_scanner_fatal("out of memory");
  std::memcpy(copy, text, static_cast<std::size_t>(length));
  copy[length] = '\0';
  return copy;
}

void rmn_unescape_string(char* text) {
  char* out = text;
  for (char const* in = text; *in; ++in) {
    if (in[0] == '\\' && in[1] == '"') continue;  // the quote stays, the backslash goes
    *out++ = *in;
    if (in[0] == '\\' && in[1] == '\\') {
      ++in;  // two backslashes give one
    } else if (in[0] == '\\' && in[1]) {
      *out++ = *++in;  // any other backslash stays with the character it takes along
    }
  }
  *out = '\0';
  // Drop the two quotes.
  std::size_t length = static_cast<std::size_t>(out - text);
  if (length >= 2) {
    std::memmove(text, text + 1, length - 2);
    text[length - 2] = '\0';
  }
}

void rmn_report_extra(char const* text) {
  std::printf("extra text is : %s\n", text);
}

long rmn_read_number(char const* text) {
  // The scanner hands over a sign at most and then digits only, so the digits are read here
  // without the library's locale and base handling; every note has one or two numbers.
  bool const negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  // Past INT_MAX + 1 the magnitude stops growing: the value is cut to the int range anyway.
  constexpr long kCap = static_cast<long>(INT_MAX) + 1;
  long magnitude = 0;
  for (; *text >= '0' && *text <= '9'; ++text)
    if (magnitude < kCap) magnitude = std::min(magnitude * 10 + (*text - '0'), kCap);
  if (negative) return -magnitude;  // INT_MIN at most
  return std::min(magnitude, static_cast<long>(INT_MAX));
}

void rmn_report_parse_error(char const* message) {
  // The text was cut short because the music is too large; the parse says so itself.
  if (gd_musicTooLarge()) return;
  if (std::strcmp(message, "syntax error") == 0) {
    lnr = gd_scanner_line;
    // The character, counted from 1, where the token the grammar could not take begins; when that
    // token began on an earlier line (blanks up to the end of the text), the line's last one.
    cnr = (gd_token_line == gd_scanner_line ? gd_token_column : gd_scanner_column) + 1;
  }
  gd_error(message);
}

void rmn_scanner_fatal(char const* message) {
  throw RmnScannerFatal{message};
}

void gd_init() {
  gd_imp_init();
}
void gd_exit() {
  gd_imp_exit();
}
void gd_imp_init() {}
void gd_imp_exit() {}

int gd_parse_buffer(char const* text) {
  lnr = 1;
  cnr = 0;
  gd_scanner_line = 1;
  if (!text || !*text) return RMN_PARSE_NO_INPUT;
  int const result = rmn_parse_bytes(text, std::strlen(text));
  gd_imp_exit();
  return result;
}

namespace {

// The byte order a UTF-16 byte-order mark gives: FF FE little-endian, FE FF big-endian. Two
// equal mark bytes give no order.
enum class Utf16Order { None, Little, Big, Unknown };

Utf16Order Utf16MarkOf(std::string const& bytes) {
  if (bytes.size() < 2) return Utf16Order::None;
  auto const first = static_cast<unsigned char>(bytes[0]);
  auto const second = static_cast<unsigned char>(bytes[1]);
  auto const markByte = [](unsigned char b) { return b == 0xFE || b == 0xFF; };
  if (!markByte(first) || !markByte(second)) return Utf16Order::None;
  if (first == second) return Utf16Order::Unknown;
  return first == 0xFF ? Utf16Order::Little : Utf16Order::Big;
}

// The 8-bit form of UTF-16 text of ASCII characters: the bytes 1 to 127, in order.
std::string AsciiBytesOf(std::string const& bytes) {
  std::string text;
  text.reserve(bytes.size() / 2);
  for (char c : bytes) {
    auto const b = static_cast<unsigned char>(c);
    if (b >= 1 && b <= 127) text.push_back(c);
  }
  return text;
}

void AppendUtf8(std::string& text, char32_t c) {
  auto const put = [&](unsigned value) { text.push_back(static_cast<char>(value)); };
  if (c < 0x80) {
    put(c);
  } else if (c < 0x800) {
    put(0xC0 | (c >> 6));
    put(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    put(0xE0 | (c >> 12));
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  } else {
    put(0xF0 | (c >> 18));
    put(0x80 | ((c >> 12) & 0x3F));
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  }
}

// UTF-16 text after its mark, as the UTF-8 the engine keeps its texts in. A surrogate without its
// partner reads as the replacement character; zero characters are left out, as the 8-bit form
// leaves out zero bytes, and so is an odd last byte.
std::string Utf8OfUtf16(std::string const& bytes, Utf16Order order) {
  std::size_t const units = (bytes.size() - 2) / 2;
  auto const unit = [&](std::size_t i) -> char32_t {
    auto const a = static_cast<unsigned char>(bytes[2 + 2 * i]);
    auto const b = static_cast<unsigned char>(bytes[3 + 2 * i]);
    return order == Utf16Order::Little ? a | b << 8 : b | a << 8;
  };
  constexpr char32_t kReplacement = 0xFFFD;
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < units; ++i) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = kReplacement;
    }
    if (c != 0) AppendUtf8(text, c);
  }
  return text;
}

bool StartsWithUtf8Mark(std::string const& bytes) {
  return bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
}

}  // namespace

std::string RmnFileText(std::string bytes, bool* strayByte) {
  Utf16Order const order = Utf16MarkOf(bytes);
  if (order == Utf16Order::Little || order == Utf16Order::Big) {
    if (strayByte) *strayByte = bytes.size() % 2 != 0;
    return Utf8OfUtf16(bytes, order);
  }
  if (order == Utf16Order::Unknown) return AsciiBytesOf(bytes);
  // Editors write the mark at the head of a UTF-8 file; it is no character of the score.
  if (StartsWithUtf8Mark(bytes)) bytes.erase(0, 3);
  return bytes;
}

namespace {

// The whole file, or nothing when it cannot be read to its end: a folder opens, and only its
// reading fails.
std::optional<std::string> FileBytes(char const* path) {
  std::FILE* file = std::fopen(path ? path : "", "rb");
  if (!file) return std::nullopt;
  std::string bytes;
  char block[1 << 16];
  for (std::size_t read; (read = std::fread(block, 1, sizeof block, file)) > 0;)
    bytes.append(block, read);
  bool const failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return bytes;
}

}  // namespace

int gd_parse(char const* path, int /*mode*/) {
  std::optional<std::string> bytes = FileBytes(path);
  if (!bytes) {
    gd_error("Could not open file");
    return RMN_PARSE_NO_INPUT;
  }
  bool strayByte = false;
  std::string const text = RmnFileText(*std::move(bytes), &strayByte);
  // A file cut or joined a byte off: the half character is no part of the music.
  if (strayByte) gd_warning("Stray last byte of a UTF-16 file left out");
  lnr = 1;
  cnr = 0;
  gd_scanner_line = 1;
  int const result = rmn_parse_bytes(text.data(), text.size());
  gd_imp_exit();
  return result;
}
