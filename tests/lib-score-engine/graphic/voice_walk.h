#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ARMusic.h"
#include "Fraction.h"
#include "GRStaff.h"
#include "GRStaffManager.h"
#include "GRVoiceManager.h"

namespace EngineTesting {

// The voices of an RMN text walked in time through their voice managers, the way the staff
// manager walks them: tag passes at a time until no voice asks for another, then an event pass
// that finds the next time, the elements of each pass made into springs. A break code makes
// every voice continue after the break on the same slice. No music root is made, so the voice
// managers have no graphical voice.
class VoiceWalk {
 public:
  explicit VoiceWalk(char const* text);
  // A music made by hand.
  explicit VoiceWalk(std::unique_ptr<ARMusic> music);
  ~VoiceWalk();

  // Walks to the end of every voice.
  void Run();
  bool parsed() const { return mMusic != nullptr; }
  GRStaff* Staff(int number) const;
  // The class names of the staff's elements in list order, glues left out.
  std::vector<std::string> Kinds(int staffNumber) const;
  // The first element of the staff whose class is T, after skipping `skip` of them.
  template <class T>
  T* Find(int staffNumber, int skip = 0) const;

  // What each Iterate call reported: voice index, pass ('t' or 'e') and code.
  struct Call {
    int voice;
    char pass;
    int code;
  };
  std::vector<Call> calls;
  std::vector<int> breaks;  // the break kinds the walk made
  GRStaffManager manager{nullptr, nullptr};
  std::vector<std::unique_ptr<GRVoiceManager>> voices;

 private:
  std::unique_ptr<ARMusic> mMusic;
};

// The elements of the staff whose class is T, in list order; none without a staff.
template <class T>
std::vector<T*> ElementsOf(GRStaff const* staff) {
  std::vector<T*> found;
  if (!staff) return found;
  for (void* pos = staff->getElements().GetHeadPosition(); pos;)
    if (auto* element = dynamic_cast<T*>(staff->getElements().GetNext(pos)))
      found.push_back(element);
  return found;
}

template <class T>
T* VoiceWalk::Find(int staffNumber, int skip) const {
  std::vector<T*> const found = ElementsOf<T>(Staff(staffNumber));
  return skip < static_cast<int>(found.size()) ? found[skip] : nullptr;
}

}  // namespace EngineTesting
