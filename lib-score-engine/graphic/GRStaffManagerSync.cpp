// The staff manager's sync slices: the elements of one time position gathered into springs,
// the system tags of that position, and the staff states that the clef, key and meter tags set.

#include <algorithm>
#include <typeinfo>
#include <vector>

#include "ARCast.h"
#include "ARClef.h"
#include "ARKey.h"
#include "ARMeter.h"
#include "ARMusicalObject.h"
#include "ARStaffFormat.h"
#include "GRClef.h"
#include "GRKey.h"
#include "GRMeter.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRStaffManager.h"
#include "GRSystemSlice.h"
#include "GRTag.h"
#include "GRTempo.h"
#include "engine_globals.h"
#include "src/common/assertion.h"

namespace {

using SyncTable = KR_HashTable<NVstring, GRStaffManager::HashEntry>;

// Elements of one class share a group; the dynamic type names the class.
NVstring classKey(GRNotationElement const* element) {
  return NVstring(typeid(*element).name());
}

// Orders the groups by their sync numbers, ascending; groups of equal numbers keep their order.
void sortByNumber(KF_IPointerList<SyncTable::KeyType>& groups) {
  std::vector<SyncTable::KeyType*> order;
  order.reserve(groups.GetCount());
  for (void* pos = groups.GetHeadPosition(); pos;) order.push_back(groups.GetNext(pos));
  std::stable_sort(order.begin(), order.end(),
                   [](auto const* a, auto const* b) { return a->value.number < b->value.number; });
  auto next = order.begin();
  for (void* pos = groups.GetHeadPosition(); pos; groups.GetNext(pos)) groups.SetAt(pos, *next++);
}

// Whether a tag was written at its place: not made by a pass, nor a clef or key a voice carried
// to the start of a line, which stands for what is in force there.
bool writtenHere(GRNotationElement const* element, GRTag const& tag) {
  if (tag.getIsAuto()) return false;
  ARMusicalObject const* object = element->getAbstractRepresentation();
  if (auto const* clef = ar_cast<ARClef const>(object)) return !clef->isCarried();
  if (auto const* key = ar_cast<ARKey const>(object)) return !key->isCarried();
  return true;
}

// A written tag beats an automatic or carried one at the same place; of two alike the first
// stays. Returns true when two of the tags differ, so that the staff states must follow.
bool flagClashingTags(KF_IPointerList<GRStaffManager::SubHash> const& group) {
  bool differ = false;
  for (void* pos = group.GetHeadPosition(); pos;) {
    GRStaffManager::SubHash const* earlier = group.GetNext(pos);
    auto* first = ar_cast<GRTag>(earlier->grel);
    if (!first || first->getError()) continue;
    for (void* later = pos; later;) {
      GRStaffManager::SubHash const* other = group.GetNext(later);
      if (other->grstaff != earlier->grstaff) continue;
      auto* second = ar_cast<GRTag>(other->grel);
      if (!second) continue;
      if (*first != *second) differ = true;
      if (!writtenHere(earlier->grel, *first) && writtenHere(other->grel, *second)) {
        first->setError(1);
        break;
      }
      second->setError(1);
    }
  }
  return differ;
}

// The begin extents grow to take in the element, which stands relative to its staff.
void takeExtent(GRNotationElement const* element, float& top, float& bottom) {
  const float y = element->getPosition().y;
  const NVRect& box = element->getBoundingBox();
  if (y + box.top < top) top = y + box.top;
  if (y + box.bottom > bottom) bottom = y + box.bottom;
}

float widthOf(GRNotationElement const* element) {
  return element->getBoundingBox().right - element->getBoundingBox().left;
}

// A clef, key or meter that another voice of the staff wrote alike at this time is the same
// sign of the staff, not a second one; and one that a voice did not write here (made by a pass,
// or carried to a line's start) yields to the staff's sign there, whatever it is.
bool sameStaffSign(GRNotationElement const* element, GRNotationElement const* other) {
  if (typeid(*element) != typeid(*other)) return false;
  if (!ar_cast<GRClef const>(element) && !ar_cast<GRKey const>(element) &&
      !ar_cast<GRMeter const>(element))
    return false;
  auto const* key = ar_cast<GRKey const>(element);
  if (key && key->isNatural() != static_cast<GRKey const*>(other)->isNatural()) return false;
  GRTag const& tag = *ar_cast<GRTag const>(element);
  GRTag const& otherTag = *ar_cast<GRTag const>(other);
  return tag == otherTag || !writtenHere(element, tag) || !writtenHere(other, otherTag);
}

// The voices of a staff reach their signs within a few groups of one another, however many
// settings one writes before them: only so many of the last groups are searched, so that a text
// of thousands of tags at one date is not searched through again for each of them.
constexpr int kGroupsSearchedForSign = 16;

// The group that holds the staff's same sign as the element from another voice, and none of the
// element's own voice (whose second sign at one time is a sign of its own); the last such group.
// The voices of a staff reach their signs in different passes of the walk when one writes more
// before them, and a voice on another staff may open a later group of the class in between.
SyncTable::KeyType* groupOfStaffSign(SyncTable& table, GRNotationElement const* element,
                                     GRStaff const* staff, int voicenum) {
  if (!ar_cast<GRClef const>(element) && !ar_cast<GRKey const>(element) &&
      !ar_cast<GRMeter const>(element))
    return nullptr;
  int searched = 0;
  for (void* pos = table.getList()->GetTailPosition(); pos && searched < kGroupsSearchedForSign;
       ++searched) {
    SyncTable::KeyType* group = table.getList()->GetPrev(pos);
    // A group holds elements of one class, and those standing beside them after them.
    GRStaffManager::SubHash const* first = group->value.list->GetHead();
    if (!first || typeid(*first->grel) != typeid(*element)) continue;
    bool alike = false;
    bool ownVoice = false;
    for (void* at = group->value.list->GetHeadPosition(); at && !ownVoice;) {
      GRStaffManager::SubHash const* member = group->value.list->GetNext(at);
      if (member->voicenum == voicenum) ownVoice = true;
      if (member->voicenum >= 0 && member->grstaff == staff && sameStaffSign(element, member->grel))
        alike = true;
    }
    if (alike && !ownVoice) return group;
  }
  return nullptr;
}

}  // namespace

bool GRStaffManager::isValidStaffNumber(int staffnum, char const* what) const {
  if (staffnum >= 0 && staffnum <= kMaxStaffNumber) return true;
  ZudidOvod("Staff number outside 0..255 ignored", what);
  return false;
}

GRStaff* GRStaffManager::getStaff(int staffnum) {
  if (!isValidStaffNumber(staffnum, "\\staff")) return nullptr;
  prepareStaff(staffnum);
  return mStaves->Get(staffnum);
}

void GRStaffManager::prepareStaff(int staffnum) {
  if (!isValidStaffNumber(staffnum, "\\staff") || mStaves->Get(staffnum)) return;
  if (!mCurrentSlice) return;
  auto* staff = new GRStaff(mCurrentSlice);
  auto begin = mBeginStaffStates.find(staffnum);
  if (begin != mBeginStaffStates.end()) staff->setStaffState(&begin->second);
  // A slice after an explicit break, or the first of all, opens a line.
  if (mCurrentSlice->getStartSpringID() <= 0) staff->opensLine();
  mCurrentSlice->addStaff(staff, staffnum);
  mStaves->Set(staffnum, staff);
  // The state is refreshed from the new staff's own elements, not from where an earlier staff
  // of that number ended.
  mStaffPositions.Set(staffnum, nullptr);
}

int GRStaffManager::AddGRSyncElement(GRNotationElement* element, GRStaff* staff, int n,
                                     GRVoice* voice, GRNotationElement* beside) {
  if (!element) return -1;
  if (element->getNeedsSpring() == -1) {
    if (n != -1) {
      if (GRSpring* spring = mSprings->Get(n)) {
        spring->addElement(element, voice);
        element->tellSpringID(n);
      }
    } else if (!beside) {
      RidevUzuze("Sync element without the element it stands beside is not placed");
    } else if (auto group = mSyncGroups.find(typeid(*beside)); group != mSyncGroups.end()) {
      group->second->value.list->AddTail(new SubHash{element, staff, -1, voice});
    }
    element->setNeedsSpring(0);
    return -1;
  }
  if (element->getNeedsSpring() == 0) return -1;
  if (element->isGREventClass() && element->getDuration() > Frac_0) {
    mVoiceEvents.AddTail(new VoiceEvent{element, voice});
    return 0;
  }

  const std::type_index type = typeid(*element);
  const int voiceNumber = mVoiceSyncNumbers.Get(n);
  auto found = mSyncGroups.find(type);
  SyncTable::KeyType* group = found == mSyncGroups.end() ? nullptr : found->second;
  // Opens a group for the element at the end of the table, under its class's key.
  auto openGroup = [&] {
    auto* list = new KF_IPointerList<SubHash>(1);
    list->AddTail(new SubHash{element, staff, n, voice});
    auto* opened = new SyncTable::KeyType{classKey(element), HashEntry{list, ++mSyncCounter}};
    mSyncTable.getList()->AddTail(opened);
    mSyncGroups[type] = opened;
  };
  auto setVoiceNumber = [this](int voicenum, int number) {
    if (voicenum >= 0) mVoiceSyncNumbers.Set(voicenum, number);
  };
  if (SyncTable::KeyType* alike = groupOfStaffSign(mSyncTable, element, staff, n)) {
    alike->value.list->AddTail(new SubHash{element, staff, n, voice});
    if (voiceNumber < alike->value.number) {
      setVoiceNumber(n, alike->value.number);
    } else {
      // The voice has placed elements after that group already: the sign stands on the group's
      // spring beside its like, and the voice's own rods leave it out.
      element->setNeedsSpring(0);
    }
    return 0;
  }
  if (!group) {
    openGroup();
    setVoiceNumber(n, mSyncCounter);
    return 0;
  }
  HashEntry& entry = group->value;
  if (voiceNumber < entry.number) {
    entry.list->AddTail(new SubHash{element, staff, n, voice});
    setVoiceNumber(n, entry.number);
    return 0;
  }
  bool placedBefore = false;
  for (void* pos = entry.list->GetHeadPosition(); pos && !placedBefore;) {
    SubHash const* member = entry.list->GetNext(pos);
    placedBefore = member->voicenum == n || mVoiceSyncNumbers.Get(member->voicenum) > entry.number;
  }
  if (placedBefore) {
    // The voice already has an element of this class here: the old group keeps its place in
    // the order under no key, and this element opens a later one.
    group->key = "";
    openGroup();
    setVoiceNumber(n, mSyncCounter);
    return 0;
  }
  entry.list->AddTail(new SubHash{element, staff, n, voice});
  entry.number = ++mSyncCounter;
  for (void* pos = entry.list->GetHeadPosition(); pos;)
    setVoiceNumber(entry.list->GetNext(pos)->voicenum, entry.number);
  return 0;
}

int GRStaffManager::AddSystemTag(GRNotationElement* element, GRStaff*, int) {
  if (!element) return 0;
  const NVstring key = classKey(element);
  for (void* pos = mSystemTags.getList()->GetHeadPosition(); pos;) {
    if (!mSystemTags.getList()->GetNext(pos)->key.equal(key.c_str())) continue;
    ZudidOvod("Another SystemTag of the same type is already used");
    RidevUzuze("SYSTEM-Tag collision");
    delete element;
    return 0;
  }
  mSystemTags.Set(key, element);
  return 0;
}

GRSpring* GRStaffManager::springForEvents(Fraction const& tp) {
  auto* spring = new GRSpring(tp, Frac_0);
  Fraction shortest = Frac_Max;
  for (void* pos = mVoiceEvents.GetHeadPosition(); pos;) {
    VoiceEvent const* event = mVoiceEvents.GetNext(pos);
    spring->addElement(event->grel, event->voice);
    event->grel->tellSpringID(mSpringID);
    if (ARMusicalObject const* object = event->grel->getAbstractRepresentation())
      if (object->getDuration() < shortest) shortest = object->getDuration();
  }
  if (shortest < Frac_Max) spring->change_dur(shortest);
  return spring;
}

void GRStaffManager::springsForSyncGroups(Fraction const& tp, SyncSprings& made) {
  KF_IPointerList<SyncTable::KeyType>* groups = mSyncTable.getList();
  if (groups->GetCount() > 1) sortByNumber(*groups);
  bool refresh = false;
  for (void* pos = groups->GetHeadPosition(); pos;) {
    HashEntry& entry = groups->GetNext(pos)->value;
    auto* spring = new GRSpring(tp, Frac_0);
    if (flagClashingTags(*entry.list)) refresh = true;
    for (void* at = entry.list->GetHeadPosition(); at;) {
      SubHash const* member = entry.list->GetNext(at);
      spring->addElement(member->grel, member->voice);
      member->grel->tellSpringID(mSpringID);
    }
    spring->recalcConstant();
    delete entry.list;
    entry.list = nullptr;
    if (made.firstWithMeter < 0 && spring->hasType(typeid(GRMeter)))
      made.firstWithMeter = mSpringID;
    if (made.firstWithEvent < 0 && spring->holdsEvent()) made.firstWithEvent = mSpringID;
    addSpring(spring);
  }
  if (!refresh) return;
  for (int i = mStaves->GetMinimum(); i <= mStaves->GetMaximum(); ++i)
    if (GRStaff* staff = mStaves->Get(i)) staff->UpdateStaffState(mStaffPositions.Get(i));
}

// A tempo mark stands over the meter when one begins with it; else it waits for the event it was
// written at, the first spring made with a note, rest or grace note: the spring made before it
// may be a note earlier or the end of the line before. id -1 leaves the marks waiting.
void GRStaffManager::placeSystemTags(int id) {
  if (id < 0) return;
  KF_IPointerList<KR_HashTable<NVstring, GRNotationElement*>::KeyType>* tags =
      mSystemTags.getList();
  GRSpring* spring = mSprings->Get(id);
  for (void* pos = tags->GetHeadPosition(); pos;) {
    GRNotationElement* element = tags->GetNext(pos)->value;
    if (!ar_cast<GRTempo>(element) || !spring || !mCurrentSlice) {
      delete element;
      continue;
    }
    spring->addElement(element, nullptr);
    element->tellSpringID(id);
    mCurrentSlice->AddTail(element);
  }
  tags->RemoveAll();
}

void GRStaffManager::placeWaitingSystemTags() {
  placeSystemTags(mSpringID - 1);
}

GRStaffManager::SyncSprings GRStaffManager::makeSyncSprings(Fraction const& tp) {
  SyncSprings made;
  if (mSyncTable.getList()->IsEmpty()) {
    if (!mVoiceEvents.IsEmpty()) {
      made.firstWithEvent = mSpringID;
      addSpring(springForEvents(tp));
    }
  } else {
    springsForSyncGroups(tp, made);
  }
  for (void* pos = mSyncTable.getList()->GetHeadPosition(); pos;)
    delete mSyncTable.getList()->GetNext(pos)->value.list;
  mSyncTable.getList()->RemoveAll();
  mSyncGroups.clear();
  mVoiceSyncNumbers.RemoveAll();
  mVoiceEvents.RemoveAll();
  mSyncCounter = 1;
  for (int i = mStaves->GetMinimum(); i <= mStaves->GetMaximum(); ++i)
    if (GRStaff* staff = mStaves->Get(i))
      mStaffPositions.Set(i, staff->getElements().GetTailPosition());
  return made;
}

int GRStaffManager::FinishSyncSlice(Fraction const& tp) {
  SyncSprings const made = makeSyncSprings(tp);
  placeSystemTags(made.firstWithMeter >= 0 ? made.firstWithMeter : made.firstWithEvent);
  return 0;
}

bool GRStaffManager::setStaffStateTag(ARMusicalTag* tag, int staffnum) {
  GRStaff* staff = getStaff(staffnum);
  if (!staff || !tag) return false;
  GRStaffState& state = staff->getStaffState();
  if (auto* clef = ar_cast<ARClef>(tag)) {
    if (state.curclef &&
        state.curclef->getRelativeTimePosition() == clef->getRelativeTimePosition() &&
        !(*state.curclef == *clef))
      ZudidOvod("Adding a different clef to a staff at the same timeposition");
    state.curclef = clef;
  } else if (auto* key = ar_cast<ARKey>(tag)) {
    state.curkey = key;
  } else if (auto* meter = ar_cast<ARMeter>(tag)) {
    state.curmeter = meter;
    return true;
  } else if (ar_cast<ARStaffFormat>(tag)) {
    // The staff took the format already; the staves of the next slices and lines start from
    // this staff's state, which now holds it.
  } else {
    return false;
  }
  UpdateBeginningSFF(staffnum);
  return true;
}

GRBeginSpaceForceFunction2* GRStaffManager::getCurrentBegSFF() const {
  return mBeginSFFs.IsEmpty() ? nullptr : mBeginSFFs.GetTail();
}

void GRStaffManager::UpdateBeginningSFF(int staffnum) {
  GRStaff* staff = mStaves->Get(staffnum);
  if (!staff || staff->getElements().IsEmpty()) return;
  GRNotationElement* last = staff->getElements().GetTail();
  float top = mBeginTops.Get(staffnum);
  float bottom = mBeginBottoms.Get(staffnum);
  bool rebuild = false;
  if (auto* clef = ar_cast<GRClef>(last)) {
    takeExtent(clef, top, bottom);
    if (!mBeginClef || widthOf(clef) > widthOf(mBeginClef)) {
      mBeginClef = clef;
      rebuild = true;
    }
  }
  if (auto* key = ar_cast<GRKey>(last)) {
    takeExtent(key, top, bottom);
    if (!mBeginKey || widthOf(key) > widthOf(mBeginKey)) {
      mBeginKey = key;
      rebuild = true;
    }
  }
  mBeginTops.Set(staffnum, top);
  mBeginBottoms.Set(staffnum, bottom);
  if (!rebuild || !mBeginClef || !mBeginKey) return;

  const float clefHalf = widthOf(mBeginClef) / 2;
  const float keyHalf = widthOf(mBeginKey) / 2;
  auto* sff = new GRBeginSpaceForceFunction2;
  auto addBeginSpring = [&](float constant, float length) {
    auto* spring = new GRSpring(Frac_0, Frac_0);
    spring->change_const(constant);
    if (length > 0) spring->setlength(length);
    mBeginSprings.AddTail(spring);
    sff->addSpring(spring);
  };
  addBeginSpring(50, clefHalf);
  addBeginSpring(mBeginClef->getSConst(), clefHalf + keyHalf);
  addBeginSpring(mBeginKey->getSConst(), keyHalf);
  addBeginSpring(7, 0);
  // Numbers between the staves in use hold no extents and get no staff.
  for (int i = mBeginTops.GetMinimum(); i <= mBeginTops.GetMaximum(); ++i) {
    const float staffTop = mBeginTops.Get(i);
    const float staffBottom = mBeginBottoms.Get(i);
    if (staffTop < 0 || staffBottom > 0) {
      getStaff(i);
      sff->getFirstVector().Set(i, staffTop);
      sff->getSecondVector().Set(i, staffBottom);
    }
  }
  mBeginSFFs.AddTail(sff);
}
