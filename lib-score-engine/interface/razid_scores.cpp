#include <cstdio>
#include <ios>
#include <new>

#include "ARMusic.h"
#include "ARPageFormat.h"
#include "GRSpecial.h"
#include "Razid.h"
#include "engine_globals.h"
#include "engine_reset.h"
#include "engine_state.h"
#include "graphic_globals.h"
#include "parse_error.h"
#include "parse_music.h"
#include "rmn_parse.h"

// Start-up, parsing, parsed scores and the default page format.

namespace {

// A4 with margins of 2 cm, for layouts made while no default is set.
constexpr RazidPageFormat kA4 = {4979.2324f, 7042.0576f, 474.21262f,
                                 474.21262f, 474.21262f, 474.21262f};

RazidErrCode RegisterParsed(ParsedMusic parsed, ARHandle* ar) {
  if (parsed.result == ParsedMusic::kMusicTooLarge) return -2;
  if (parsed.result != RMN_PARSE_OK) return -1;
  if (!parsed.music) return -2;
  *ar = HandleFromId<ARHandle>(EngineState().scores.Add(parsed.music.release()));
  return 0;
}

// The checks both parse entry points make before they parse.
RazidErrCode StartParse(char const* input, ARHandle* ar) {
  if (!input || !ar) return -7;
  *ar = nullptr;
  return EngineState().initialised ? 0 : -9;
}

// Whether the file can be read: a folder opens, but its first read fails.
bool Readable(char const* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  std::fgetc(file);
  bool const readable = !std::ferror(file);
  std::fclose(file);
  return readable;
}

// The parse's music registered; a failure that reaches here as an exception is answered with its
// code, so that the caller's process goes on.
template <class Parse>
RazidErrCode Guarded(Parse parse, ARHandle* ar) {
  try {
    return RegisterParsed(parse(), ar);
  } catch (std::bad_alloc const&) {
    return -2;
  } catch (std::ios_base::failure const&) {
    return -3;
  } catch (...) {
    return -10;
  }
}

}  // namespace

RazidEngineState& EngineState() {
  static RazidEngineState state;
  return state;
}

void ReleaseScore(std::uintptr_t id) {
  auto& scores = EngineState().scores;
  auto* entry = scores.Find(id);
  if (!entry) return;
  if (--entry->references > 0) return;
  HandleRegistry<ARMusic>::Entry removed;
  scores.Remove(id, &removed);
  delete removed.object;
}

void RazidShutdown() {
  RazidResetEngineState();
  EngineState().defaultPageFormat.reset();
  EngineState().initialised = false;
}

RazidErrCode RazidInit(RazidInitDesc const* desc) {
  if (!desc) return -7;
  if (desc->graphicDevice) gGlobalSettings.gDevice = desc->graphicDevice;
  auto& state = EngineState();
  if (state.initialised) return 0;
  gFontDefs.music.name = desc->musicFontName ? desc->musicFontName : "Razid2";
  gFontDefs.text.name = desc->textFontName ? desc->textFontName : "Times";
  gFontDefs.music.font = GRSpecial::FindOrCreateFont(gFontDefs.music.size, &gFontDefs.music.name);
  gFontDefs.text.font = GRSpecial::FindOrCreateFont(gFontDefs.text.size, &gFontDefs.text.name);
  gd_init();
  state.initialised = true;
  return 0;
}

RazidErrCode RazidParseString(char const* text, ARHandle* ar) {
  if (RazidErrCode started = StartParse(text, ar)) return started;
  return Guarded([text] { return ParseMusicText(text); }, ar);
}

RazidErrCode RazidParseFile(char const* path, ARHandle* ar) {
  if (RazidErrCode started = StartParse(path, ar)) return started;
  if (!Readable(path)) return -3;
  return Guarded([path] { return ParseMusicFile(path); }, ar);
}

int RazidGetParseErrorLine() {
  return gParseErrorLine;
}

void RazidFreeAR(ARHandle ar) {
  ReleaseScore(HandleId(ar));
}

RazidErrCode RazidMarkVoice(ARHandle ar, int voice, RazidDate const& date,
                            RazidDate const& duration) {
  auto* entry = EngineState().scores.Find(HandleId(ar));
  if (!entry) return -8;
  entry->object->MarkVoice(voice, date.num, date.denom, duration.num, duration.denom);
  return 0;
}

void RazidSetDefaultPageFormat(RazidPageFormat const* format) {
  auto& state = EngineState();
  state.defaultPageFormat.reset();
  if (format)
    state.defaultPageFormat = std::make_unique<ARPageFormat>(
        format->width, format->height, format->marginleft, format->margintop, format->marginright,
        format->marginbottom);
}

void RazidGetDefaultPageFormat(RazidPageFormat* format) {
  if (!format) return;
  auto const& pageFormat = EngineState().defaultPageFormat;
  if (!pageFormat) {
    *format = kA4;
    return;
  }
  pageFormat->getPageFormat(&format->width, &format->height, &format->marginleft,
                            &format->margintop, &format->marginright, &format->marginbottom);
}
