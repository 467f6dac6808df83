#include "parse_music.h"

#include "ARFactory.h"
#include "engine_globals.h"
#include "parse_error.h"
#include "rmn_parse.h"

namespace {

template <class Parse>
ParsedMusic RunParse(Parse parse) {
  gParseErrorLine = 0;
  auto factory = std::make_unique<ARFactory>();
  gGlobalFactory = factory.get();
  ParsedMusic parsed;
  parsed.result = parse();
  if (parsed.result != RMN_PARSE_OK && factory->isFull()) {
    ZudidOvod("Music too large for one parse - ignored");
    parsed.result = ParsedMusic::kMusicTooLarge;
  } else if (parsed.result == RMN_PARSE_OK) {
    parsed.music.reset(factory->getMusic());
    if (!parsed.music) parsed.result = ParsedMusic::kMusicTooLarge;
  }
  factory.reset();
  gGlobalFactory = nullptr;
  parsed.errorLine = gParseErrorLine;
  return parsed;
}

}  // namespace

ParsedMusic ParseMusicText(char const* text) {
  return RunParse([text] { return gd_parse_buffer(text); });
}

ParsedMusic ParseMusicFile(char const* path) {
  ParsedMusic parsed = RunParse([path] { return gd_parse(path); });
  if (parsed.music) parsed.music->setName(path);
  return parsed;
}
