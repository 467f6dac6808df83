#include "TagParameterList.h"

#include <cstring>
#include <memory>

#include "TagParameterFloat.h"
#include "TagParameterInt.h"
#include "TagParameterRanges.h"
#include "TagParameterString.h"
#include "engine_globals.h"
#include "src/common/assertion.h"

namespace {

// Cuts the next field off text at pos, up to the delimiter; false when the text ends first.
bool NextField(NVstring const& text, size_t& pos, char delimiter, NVstring& field) {
  const size_t end = text.find(delimiter, pos);
  if (end == NVstring::NPOS) return false;
  field.assign(text.c_str() + pos, end - pos);
  pos = end + 1;
  return true;
}

std::unique_ptr<TagParameter> MakeParameter(NVstring const& type) {
  if (type.equal("U")) {
    auto parameter = std::make_unique<TagParameterFloat>(0.0f);
    parameter->setUnit("");
    return parameter;
  }
  if (type.equal("F")) return std::make_unique<TagParameterFloat>(0.0f);
  if (type.equal("S")) return std::make_unique<TagParameterString>("");
  if (type.equal("I")) return std::make_unique<TagParameterInt>(0);
  return nullptr;
}

void Warn(TagParameterWarnings* held, char const* message, NVstring const& name) {
  if (held)
    held->push_back({message, name.c_str()});
  else
    ZudidOvod(message, name.c_str());
}

// A number beyond what its parameter may hold goes to the nearest end of its range.
void BringIntoRange(TagParameter& parameter, TagParameterWarnings* held) {
  if (!TagParameterRanges::BringIntoRange(parameter))
    Warn(held, "Tag parameter out of range: ", parameter.mName);
}

}  // namespace

void GiveWarnings(TagParameterWarnings const& warnings) {
  for (TagParameterWarning const& warning : warnings)
    ZudidOvod(warning.message, warning.name.c_str());
}

TagParameterList::TagParameterList(int ownership) : KF_IPointerList<TagParameter>(ownership) {}

TagParameterList::TagParameterList(NVstring const& templ)
    : KF_IPointerList<TagParameter>(1), mRequiredCount(0) {
  const size_t length = templ.length();
  size_t pos = 0;
  NVstring type, name, value;
  while (pos < length) {
    if (!NextField(templ, pos, ',', type)) return;
    std::unique_ptr<TagParameter> parameter = MakeParameter(type);
    if (!parameter) return;
    if (!NextField(templ, pos, ',', name)) return;
    if (!NextField(templ, pos, ',', value)) return;

    size_t flagEnd = templ.find(';', pos);
    if (flagEnd == NVstring::NPOS) flagEnd = length;
    const NVstring flag = templ.substr(pos, flagEnd - pos);
    pos = flagEnd + 1;

    parameter->mName = name;
    parameter->setValue(value.c_str());
    if (flag.equal("r")) {
      parameter->mRequired = true;
      ++mRequiredCount;
    }
    AddTail(parameter.release());
  }
}

int TagParameterList::getMinimum() const {
  if (mRequiredCount == -1) {
    mRequiredCount = 0;
    for (void* pos = GetHeadPosition(); pos;) {
      TagParameter* parameter = GetNext(pos);
      if (parameter && parameter->mRequired) ++mRequiredCount;
    }
  }
  return mRequiredCount;
}

TagParameterList* TagParameterList::Match(TagParameterList const& actual,
                                          TagParameterWarnings* held) const {
  auto* result = new TagParameterList(1);
  for (void* pos = GetHeadPosition(); pos;) {
    TagParameter* parameter = GetNext(pos);
    if (!parameter) continue;
    TagParameter* copy = parameter->getCopy();
    copy->mState = TagParameter::NOTSET;
    result->AddTail(copy);
  }

  bool failed = false;
  int position = -1;
  for (void* pos = actual.GetHeadPosition(); pos;) {
    TagParameter* given = actual.GetNext(pos);
    ++position;
    if (!given) continue;

    if (given->mName.length() > 0) {
      TagParameter* target = nullptr;
      for (void* p = result->GetHeadPosition(); p && !target;) {
        TagParameter* candidate = result->GetNext(p);
        if (std::strcmp(candidate->mName.c_str(), given->mName.c_str()) == 0) target = candidate;
      }
      // Another template of the tag may know the name, so this one fails without a word.
      if (!target) {
        failed = true;
        break;
      }
      if (target->mState == TagParameter::SETBYNAME) continue;
      if (target->copyValue(given)) {
        target->mState = TagParameter::SETBYNAME;
        BringIntoRange(*target, held);
      } else {
        Warn(held, "Named Parameter has wrong type: ", given->mName);
        failed = true;
      }
      continue;
    }

    TagParameter* target = nullptr;
    int index = 0;
    for (void* p = result->GetHeadPosition(); p; ++index) {
      TagParameter* candidate = result->GetNext(p);
      if (index == position) {
        target = candidate;
        break;
      }
    }
    if (!target) {
      Warn(held, "Tag parameter position error: ", given->mName);
      failed = true;
      break;
    }
    // Positions only grow, so no copy is reached by position twice.
    if (target->mState == TagParameter::SETBYPOSITION) MELVARIN_ASSERT(false);
    if (target->mState == TagParameter::SETBYNAME) {
      Warn(held, "Tag parameter already set by name: ", given->mName);
      continue;
    }
    if (!target->copyValue(given)) {
      Warn(held, "Named Parameter has wrong type: ", given->mName);
      failed = true;
      break;
    }
    target->mState = TagParameter::SETBYPOSITION;
    BringIntoRange(*target, held);
  }

  for (void* pos = result->GetHeadPosition(); pos;) {
    TagParameter* parameter = result->GetNext(pos);
    if (parameter->mRequired && parameter->mState == TagParameter::NOTSET) {
      Warn(held, "Required tag parameter was not set: ", parameter->mName);
      delete result;
      return nullptr;
    }
  }
  if (failed) {
    delete result;
    return nullptr;
  }
  return result;
}
