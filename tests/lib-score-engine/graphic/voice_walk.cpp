#include "voice_walk.h"

#include <limits>
#include <typeinfo>

#include <cxxabi.h>

#include "ARMusicalVoice.h"
#include "GRGlue.h"
#include "GRPage.h"
#include "GRStaff.h"
#include "GRSystemSlice.h"
#include "parse_music.h"

namespace EngineTesting {

VoiceWalk::VoiceWalk(char const* text) : VoiceWalk(ParseMusicText(text).music) {}

VoiceWalk::VoiceWalk(std::unique_ptr<ARMusic> music) : mMusic(std::move(music)) {
  if (!mMusic) return;
  int index = 0;
  for (void* pos = mMusic->GetHeadPosition(); pos; ++index)
    voices.push_back(std::make_unique<GRVoiceManager>(&manager, mMusic->GetNext(pos), index));
  for (auto& voice : voices) voice->BeginManageVoice();
}

VoiceWalk::~VoiceWalk() {
  voices.clear();
  // Without a music root the open slice and the first page are nobody's.
  delete manager.getCurrentSlice();
  delete manager.getCurrentPage();
}

void VoiceWalk::Run() {
  Fraction now(0, 1);
  int mode = GRVoiceManager::kTagPass;
  for (;;) {
    bool allFinished = true, again = false;
    int kind = 0;
    Fraction next(65535, 1);
    double zeroDurationMinimum = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < voices.size(); ++i) {
      Fraction t = now;
      int const code = voices[i]->Iterate(t, mode);
      calls.push_back({static_cast<int>(i), mode == GRVoiceManager::kTagPass ? 't' : 'e', code});
      if (code != GRVoiceManager::kFinished) allFinished = false;
      if (mode == GRVoiceManager::kTagPass) {
        if (code == GRVoiceManager::kZeroDurationNext) again = true;
        if (code == GRVoiceManager::kPossibleBreak && kind == 0) kind = 3;
        if (code == GRVoiceManager::kNewPage) kind = 2;
        if (code == GRVoiceManager::kNewSystem && (kind == 0 || kind == 3)) kind = 1;
      }
      if (code < GRVoiceManager::kLaterEvent || mode == GRVoiceManager::kTagPass) continue;
      if (t < next) next = t;
      if (code == GRVoiceManager::kLaterZeroDuration || code == GRVoiceManager::kZeroDurationNext)
        zeroDurationMinimum = std::min(zeroDurationMinimum, t.getValue());
    }
    if (mode == GRVoiceManager::kTagPass) {
      if (again) continue;
      manager.FinishSyncSlice(now);
      if (kind != 0) {
        breaks.push_back(kind);
        for (auto& voice : voices) voice->DoBreak(now, kind);
      } else {
        mode = GRVoiceManager::kEventPass;
      }
    } else {
      if (next.getValue() >= 65535) break;
      now = next;
      mode = zeroDurationMinimum == now.getValue() ? GRVoiceManager::kTagPass
                                                   : GRVoiceManager::kEventPass;
      manager.FinishSyncSlice(now);
    }
    if (allFinished) break;
  }
}

GRStaff* VoiceWalk::Staff(int number) const {
  GRSystemSlice* slice = manager.getCurrentSlice();
  return slice ? slice->getStaff(number) : nullptr;
}

std::vector<std::string> VoiceWalk::Kinds(int staffNumber) const {
  std::vector<std::string> kinds;
  GRStaff* staff = Staff(staffNumber);
  if (!staff) return kinds;
  for (void* pos = staff->getElements().GetHeadPosition(); pos;) {
    GRNotationElement* element = staff->getElements().GetNext(pos);
    if (dynamic_cast<GRGlue*>(element)) continue;
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(*element).name(), nullptr, nullptr, &status);
    kinds.emplace_back(name ? name : "?");
    std::free(name);
  }
  return kinds;
}

}  // namespace EngineTesting
