#include "note_names.h"

#include <iterator>

#include "parse_error.h"

namespace {

struct Spelling {
  char const* name;
  int code;
};

constexpr Spelling kSpellings[] = {
    {"empty", 0}, {"_", 1},    {"rest", 1}, {"c", 2},    {"do", 2},   {"ut", 2}, {"d", 3},
    {"re", 3},    {"e", 4},    {"mi", 4},   {"f", 5},    {"fa", 5},   {"g", 6},  {"so", 6},
    {"sol", 6},   {"a", 7},    {"la", 7},   {"h", 8},    {"b", 8},    {"si", 8}, {"ti", 8},
    {"cis", 9},   {"dis", 10}, {"fis", 11}, {"gis", 12}, {"ais", 13},
};

constexpr char const* kNames[] = {"",  "_", "c",   "d",   "e",   "f",   "g",
                                  "a", "h", "cis", "dis", "fis", "gis", "ais"};

// The spellings are a few letters long, so comparing them here costs less than
// calling the library for every note.
bool SameSpelling(char const* spelling, char const* name) {
  for (; *spelling == *name; ++spelling, ++name)
    if (*spelling == '\0') return true;
  return false;
}

}  // namespace

int gd_noteName2pc(char const* name) {
  if (name) {
    // Every note of a text comes by here: the first letter rules out most spellings at once.
    for (Spelling const& spelling : kSpellings)
      if (spelling.name[0] == name[0] && SameSpelling(spelling.name, name)) return spelling.code;
  }
  gd_error("Unknown notename, replaced by rest.");
  return PC_REST;
}

char const* gd_pc2noteName(int code) {
  if (code < 0 || code >= static_cast<int>(std::size(kNames))) return "";
  return kNames[code];
}
