#pragma once

#include <span>

class ARAlter;
class ARDotFormat;
class ARMusicalTag;
class ARNoteFormat;
class AROctava;
class ARRepeatBegin;
class ARRestFormat;
class ARTHead;
class ARTStem;

// How a new tag enters the current voice.
enum class TagEntry {
  Object,  // appended to the event list at once
  Range,   // registered as a position tag, opening a range the voice closes later
  Begin,   // a "...Begin" name: a range that stays open until its named end ("\slurEnd")
  End,     // a named range end ("\slurEnd"): closes the open range of the same id
  None,    // only kept on the factory's tag stack
  Cue,     // opens a cue voice (the factory's own handling)
};

// The state tags in force in the voice, which a new state tag of the same class refers back to.
struct PreviousStateTags {
  AROctava* octava = nullptr;
  ARTStem* stem = nullptr;
  ARTHead* head = nullptr;
  ARNoteFormat* noteFormat = nullptr;
  ARRestFormat* restFormat = nullptr;
  ARDotFormat* dotFormat = nullptr;
  ARAlter* alter = nullptr;
  ARRepeatBegin* repeatBegin = nullptr;
};

struct TagName {
  char const* name;
  TagEntry entry;
  ARMusicalTag* (*make)(PreviousStateTags const& previous);
};

// The table entry of a tag name written without its backslash (exact, case-sensitive); null for
// a name the engine does not know, which makes an ARTDummy.
TagName const* FindTagName(char const* name);

// Every entry of the table.
std::span<TagName const> AllTagNames();
