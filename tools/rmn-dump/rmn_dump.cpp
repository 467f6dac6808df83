// rmn-dump: parses RMN text from a file or standard input and prints what the engine made of it.
//
//   rmn-dump [--rmn] [file]
//
// Prints the parse's result and error line, then per voice one line per object (time, duration,
// class, "auto" for what the engine inserted, the object as RMN) and the voice's range tags. With
// --rmn it prints the music as RMN text instead.
#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <typeinfo>

#include "ARMusicalTag.h"
#include "ARMusicalVoice.h"
#include "ARPositionTag.h"
#include "parse_music.h"

namespace {

std::string ClassName(void const* object, std::type_info const& type) {
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

char const* AutoFlag(ARMusicalObject const& object) {
  auto const* tag = dynamic_cast<ARMusicalTag const*>(&object);
  return tag && tag->getIsAuto() ? "auto" : "-";
}

void PrintObject(ARMusicalObject const& object) {
  std::cout << "  " << Text(object.getRelativeTimePosition()) << ' ' << Text(object.getDuration())
            << ' ' << ClassName(&object, typeid(object)) << ' ' << AutoFlag(object) << ' '
            << Rmn(object) << '\n';
}

void PrintVoice(ARMusicalVoice const& voice, int index) {
  std::cout << "voice " << index << " (number " << voice.getVoiceNum() << ", length "
            << Text(voice.getDuration()) << ")\n";
  for (void* pos = voice.ARMusicalVoice::ObjectList::GetHeadPosition(); pos;)
    PrintObject(*voice.ARMusicalVoice::ObjectList::GetNext(pos));
  std::cout << " position tags:\n";
  auto* tags = const_cast<ARMusicalVoice&>(voice).getPositionTagList();
  if (!tags) return;
  for (void* pos = tags->GetHeadPosition(); pos;) {
    auto const* object = dynamic_cast<ARMusicalObject const*>(tags->GetNext(pos));
    if (object) PrintObject(*object);
  }
}

std::string ReadAll(std::istream& in) {
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
  bool asRmn = false;
  char const* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--rmn") == 0)
      asRmn = true;
    else if (!path)
      path = argv[i];
    else {
      std::cerr << "usage: rmn-dump [--rmn] [file]\n";
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
  std::cout << "result " << parsed.result << '\n' << "error line " << parsed.errorLine << '\n';
  if (!parsed.music) return 1;
  if (asRmn) {
    parsed.music->output(std::cout, true);
    std::cout << '\n';
    return 0;
  }
  int index = 1;
  for (void* pos = parsed.music->GetHeadPosition(); pos;)
    PrintVoice(*parsed.music->GetNext(pos), index++);
  return 0;
}
