#include "parse_music.h"

#include "ARFactory.h"
#include "engine_globals.h"
#include "parse_error.h"
#include "rmn_parse.h"
#include "score_arena.h"

namespace {

template <class Parse>
ParsedMusic RunParse(Parse parse) {
  gParseErrorLine = 0;
  // The objects of the parse and of its automatic passes live in an arena the music keeps; on
  // failure they go with the factory, and the arena with them.
  ScoreArena arena;
  auto factory = std::make_unique<ARFactory>();
  gGlobalFactory = factory.get();
  ParsedMusic parsed;
  {
    ScoreArena::Use use(arena, ScoreArena::kAbstract);
    parsed.result = parse();
    if (parsed.result != RMN_PARSE_OK && factory->isFull()) {
      ZudidOvod("Music too large for one parse - ignored");
      parsed.result = ParsedMusic::kMusicTooLarge;
    } else if (parsed.result == RMN_PARSE_OK) {
      parsed.music.reset(factory->getMusic());
      if (!parsed.music) parsed.result = ParsedMusic::kMusicTooLarge;
    }
  }
  factory.reset();
  if (parsed.music) parsed.music->KeepArena(std::move(arena));
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
