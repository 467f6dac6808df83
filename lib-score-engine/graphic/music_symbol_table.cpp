#include "music_symbol_table.h"

namespace {

struct MovedSymbol {
  unsigned int code;
  unsigned int character;
};

// Codes whose character is not the code itself. tools/font/make_razid2.py parses the pairs
// between the two markers below: keep one "{code, character}," per line.
// BEGIN MOVED SYMBOLS
constexpr MovedSymbol kMovedSymbols[] = {
    {131, 402},   // "ff"
    {132, 8222},  // "pp"
    {134, 72},    // double flat
    {139, 101},   // bar line
    {150, 104},   // stem piece down
    {151, 120},   // stem piece up
};
// END MOVED SYMBOLS

constexpr std::array<unsigned int, 256> MakeTable() {
  std::array<unsigned int, 256> table{};
  for (unsigned int code = 0; code < table.size(); ++code) table[code] = code;
  for (const MovedSymbol& moved : kMovedSymbols) table[moved.code] = moved.character;
  return table;
}

}  // namespace

const std::array<unsigned int, 256> kMusicSymbolTable = MakeTable();
