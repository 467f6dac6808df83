#pragma once

#include <ostream>

#include "ARMusicalEvent.h"
#include "NVstring.h"
#include "kf_ilist.h"

class ARMusicalVoice;

// The root of the abstract representation: the score's voices in order (owned) and, as an event,
// the score's length.
class ARMusic : public KF_IPointerList<ARMusicalVoice>, public ARMusicalEvent {
 public:
  ARMusic();
  ~ARMusic() override;

  void AddTail(ARMusicalVoice* newMusicalVoice);

  // Completes the voices for the layout. The automatic passes are not part of the engine yet, so
  // the voices stay as the text wrote them.
  void doAutoStuff();

  // The voices' RMN forms between " { " and " } ", separated by " , ".
  void output(std::ostream& os, bool withAuto = true) const;
  std::ostream& operator<<(std::ostream& os) const override;
  void print() const override;

  // Highest tag id of the parse plus 1.
  long getMaxTagId() const { return mMaxTagId; }
  void setMaxTagId(long count) { mMaxTagId = count; }
  NVstring const& getName() const { return mName; }
  void setName(char const* name) { mName = name ? name : ""; }

 private:
  long mMaxTagId = 0;
  NVstring mName;
};
