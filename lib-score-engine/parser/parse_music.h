#pragma once

#include <memory>

#include "ARMusic.h"

// One parse as the engine's interface runs it: a factory of its own in gGlobalFactory, the parse,
// then the finished music on success; on failure the factory is deleted with its partial tree.
struct ParsedMusic {
  // The result when the text parsed but asks for more work than one parse may do.
  static constexpr int kMusicTooLarge = -2;
  int result = 0;                  // the parse's result code (rmn_parse.h)
  int errorLine = 0;               // line of the reported error, 0 when none was reported
  std::unique_ptr<ARMusic> music;  // null unless result is 0
};

ParsedMusic ParseMusicText(char const* text);
// The music of a file is named after its path.
ParsedMusic ParseMusicFile(char const* path);
