#include "ARTempo.h"

#include <charconv>
#include <cstring>

#include "BoundParameters.h"

namespace {

// Reads integers and the separators between them, as scanf would with "%d/%d=%d/%d": blanks may
// stand before each number. Returns how many numbers were read before the text stopped fitting.
int ReadNumbers(char const* text, char const* separators, int* numbers, int count) {
  char const* end = text + std::strlen(text);
  for (int i = 0; i < count; ++i) {
    if (i > 0) {
      if (text == end || *text != separators[i - 1]) return i;
      ++text;
    }
    while (text != end && (*text == ' ' || *text == '\t' || *text == '\n')) ++text;
    if (text != end && *text == '+') ++text;
    auto [next, error] = std::from_chars(text, end, numbers[i]);
    if (error != std::errc()) return i;
    text = next;
  }
  return count;
}

}  // namespace

void ARTempo::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(sTemplates, {"S,tempo,,r;S,bpm,,o;U,dy,0,o"}, given, own) < 0) return;
  auto tempo = TakeOfKind<TagParameterString>(*own, 0);
  if (tempo && *tempo->getValue()) {
    tempoMark.clear();
    FormatStringParser().parse(tempo->getValue(), tempoMark);
  }
  auto bpm = TakeOfKind<TagParameterString>(*own, 1);
  ParseBpm(bpm.get());
  if (auto dy = TakeOfKind<TagParameterFloat>(*own, 2)) setDY(dy.release());
}

void ARTempo::ParseBpm(TagParameterString const* bpm) {
  if (!IsSet(bpm)) return;
  int n[4];
  const int read = ReadNumbers(bpm->getValue(), "/=/", n, 4);
  if (read < 3 || n[1] < 1 || (read == 4 && n[3] < 1)) return;
  bpmUnit.set(n[0], n[1]);
  bpmNoteEquiv = read == 4;
  bpmValue.set(n[2], bpmNoteEquiv ? n[3] : 1);
  hasBpmInfo = true;
}
