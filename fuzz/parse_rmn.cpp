#include <sstream>
#include <string>

#include "fuzz/fuzz_targets.h"
#include "fuzz/low_work_limits.h"
#include "parse_music.h"

namespace Fuzz {

int ParseRmn(const std::uint8_t* data, std::size_t size) {
  // Music near the engine's work limit takes seconds under the sanitizers; a lower limit keeps
  // every run well inside the fuzzer's time limit and still lets it reach the limit's refusal.
  const LowWorkLimits limits;
  // The engine reads zero-terminated text; a NUL inside ends it, as it would in a file.
  const std::string text(reinterpret_cast<const char*>(data), size);
  ParsedMusic parsed = ParseMusicText(text.c_str());
  if (parsed.music) {
    std::ostringstream rmn;
    parsed.music->output(rmn, true);
  }
  return 0;
}

}  // namespace Fuzz
