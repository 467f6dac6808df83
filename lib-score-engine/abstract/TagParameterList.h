#pragma once

#include <string>
#include <vector>

#include "NVstring.h"
#include "TagParameter.h"
#include "kf_ilist.h"

// Warnings a match wrote down instead of giving them at once: a message and the name it is about.
struct TagParameterWarning {
  char const* message;
  std::string name;
};
using TagParameterWarnings = std::vector<TagParameterWarning>;
void GiveWarnings(TagParameterWarnings const& warnings);

// The parameters of a tag, or a template of the parameters a tag class accepts. A template is
// parsed from text such as "S,color,black,o;U,dx,0,o": entries separated by ";", each with four
// fields separated by ",": type (U float with unit, F float, S string, I int), name, default and
// flag (r required, o optional).
class TagParameterList : public KF_IPointerList<TagParameter> {
 public:
  // An owning list parsed from a template. Malformed text only shortens the list: an unknown
  // type ends the parsing, and an entry whose text ends before its default is closed is dropped.
  explicit TagParameterList(NVstring const& templ);
  explicit TagParameterList(int ownership);

  int getMaximum() const { return GetCount(); }
  // The number of required parameters, counted once on first use.
  int getMinimum() const;

  // Binds the given parameters (named ones by name, the others by their position in the tag) to
  // copies of this template's parameters. Returns a new owning list for the caller, or null when
  // they do not fit; problems are reported as warnings, or written down in held when it is given.
  TagParameterList* Match(TagParameterList const& actual,
                          TagParameterWarnings* held = nullptr) const;

 private:
  mutable int mRequiredCount = -1;
};

// The parsed templates of one tag class; each class keeps one for the whole run.
class ListOfTPLs : public KF_IPointerList<TagParameterList> {
 public:
  explicit ListOfTPLs(int ownership = 1) : KF_IPointerList<TagParameterList>(ownership) {}
};

// The template strings a tag class collects before its templates are parsed.
class ListOfStrings : public std::vector<NVstring> {
 public:
  void AddTail(char const* text) {
    emplace_back();
    back() = text;
  }
};
