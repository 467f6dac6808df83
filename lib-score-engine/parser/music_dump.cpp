#include "music_dump.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <typeinfo>

#include "ARMusicalTag.h"
#include "ARMusicalVoice.h"
#include "ARPositionTag.h"

namespace {

std::string ClassName(std::type_info const& type) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> name(
      abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
  return status == 0 && name ? name.get() : type.name();
}

std::string Text(Fraction const& value) {
  return std::to_string(value.getNumerator()) + "/" + std::to_string(value.getDenominator());
}

std::string Rmn(ARMusicalObject const& object) {
  std::ostringstream text;
  object.operator<<(text);
  std::string rmn = text.str();
  while (!rmn.empty() && rmn.back() == ' ') rmn.pop_back();
  while (!rmn.empty() && rmn.front() == ' ') rmn.erase(0, 1);
  return rmn;
}

bool IsAuto(ARMusicalObject const& object) {
  auto const* tag = dynamic_cast<ARMusicalTag const*>(&object);
  return tag && tag->getIsAuto();
}

char const* AutoFlag(ARMusicalObject const& object) {
  return IsAuto(object) ? "auto" : "-";
}

void PrintObject(ARMusicalObject const& object, std::ostream& out, bool withAuto) {
  if (!withAuto && IsAuto(object)) return;
  out << "  " << Text(object.getRelativeTimePosition()) << ' ' << Text(object.getDuration()) << ' '
      << ClassName(typeid(object)) << ' ' << AutoFlag(object) << ' ' << Rmn(object) << '\n';
}

void PrintVoice(ARMusicalVoice const& voice, int index, std::ostream& out, bool withAuto) {
  out << "voice " << index << " (number " << voice.getVoiceNum() << ", length "
      << Text(voice.getDuration()) << ")\n";
  for (void* pos = voice.ARMusicalVoice::ObjectList::GetHeadPosition(); pos;)
    PrintObject(*voice.ARMusicalVoice::ObjectList::GetNext(pos), out, withAuto);
  out << " position tags:\n";
  auto const* tags = voice.getPositionTagList();
  if (!tags) return;
  for (void* pos = tags->GetHeadPosition(); pos;) {
    auto const* object = dynamic_cast<ARMusicalObject const*>(tags->GetNext(pos));
    if (object) PrintObject(*object, out, withAuto);
  }
}

}  // namespace

void DumpMusic(ParsedMusic const& parsed, std::ostream& out, bool withAuto) {
  out << "result " << parsed.result << '\n' << "error line " << parsed.errorLine << '\n';
  if (!parsed.music) return;
  int index = 1;
  for (void* pos = parsed.music->GetHeadPosition(); pos;)
    PrintVoice(*parsed.music->GetNext(pos), index++, out, withAuto);
}
