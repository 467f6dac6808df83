// rmn-dump: parses RMN text from a file or standard input and prints what the engine made of it.
//
//   rmn-dump [--rmn | --layout] [file]
//
// Prints the parse's result and error line, then per voice one line per object (time, duration,
// class, "auto" for what the engine inserted, the object as RMN) and the voice's range tags. With
// --rmn it prints the music as RMN text instead, and with --layout the pages, systems, slices,
// springs and placed elements of its layout on A4 (glyphs measured at fixed widths).
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>

#include "GRMusic.h"
#include "music_dump.h"
#include "parse_music.h"
#include "tools/layout/layout_listing.h"
#include "tools/layout/offline_engine.h"

namespace {

std::string ReadAll(std::istream& in) {
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
  bool asRmn = false;
  bool asLayout = false;
  char const* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--rmn") == 0)
      asRmn = true;
    else if (std::strcmp(argv[i], "--layout") == 0)
      asLayout = true;
    else if (!path)
      path = argv[i];
    else {
      std::cerr << "usage: rmn-dump [--rmn | --layout] [file]\n";
      return 2;
    }
  }
  ParsedMusic parsed;
  if (path) {
    parsed = ParseMusicFile(path);
  } else {
    std::string const text = ReadAll(std::cin);
    parsed = ParseMusicText(text.c_str());
  }
  std::cout << std::flush;
  if (asRmn && parsed.music) {
    std::cout << "result 0\nerror line 0\n";
    parsed.music->output(std::cout, true);
    std::cout << '\n';
  } else if (asLayout && parsed.music) {
    std::cout << "result 0\nerror line 0\n";
    Layout::OfflineEngine engine;
    GRMusic const layout(parsed.music.get(), nullptr);
    Layout::ListLayout(layout, std::cout);
  } else {
    DumpMusic(parsed, std::cout);
  }
  return parsed.music ? 0 : 1;
}
