#include "GRLayoutWork.h"

#include <algorithm>
#include <set>

#include "ARCast.h"
#include "ARDrPild.h"
#include "ARDrVesk.h"
#include "ARMusic.h"
#include "ARMusicalEvent.h"
#include "ARMusicalVoice.h"
#include "ARNewSystem.h"
#include "ARRangeSpans.h"
#include "ARStaff.h"
#include "GRDrPild.h"
#include "GRDrVesk.h"
#include "MoreMusicalTags.h"
#include "ScorePictures.h"

namespace {

constexpr double kPerObject = 16;
// A note or rest takes more than a tag: a head, a stem, a spring and its rods, and its entry in
// the symbol map, whether or not bar lines and beams come with it.
constexpr double kPerEventBesides = 24;
// Each tag of the range list, a range's start and its end: the start makes a graphic element of
// its own (a volta, slur or beam) that is placed, drawn and mapped as a note is, so music made of
// short ranges takes as long per tag as plain music per note.
constexpr double kPerRange = 12;
// A staff or voice at a possible break: its saved state, and a staff of its own with a clef,
// key and glue where a system starts there.
constexpr double kPerStaffAtBreak = 40;
constexpr double kPerRangeMember = 1;
constexpr double kPerRangeAtBreak = 8;
// A staccato, accent, marcato, tenuto or fermata that a range puts on each event it covers is an
// element of its own, with its box and its place among the event's marks: hundreds of ranges
// over thousands of notes make millions of them.
constexpr double kPerRangeMark = 4;
constexpr int kStaves = 256;
// The elements of all voices at one time share a spring, whose bands take them in one by one:
// with many voices that grows with the square of the voices at every time.
constexpr double kPerVoicePairAtSpring = 1.0 / 16;
// A picture is held at four bytes a pixel while its score lives, beside which it is read (at up
// to eight bytes a pixel, sixteen bits a channel) and scaled to the size it is drawn at: some
// sixteen bytes a pixel at worst. Each picture is read once however many marks show it.
constexpr double kPerPicturePixel = 0.2;

bool IsBreak(ARMusicalObject const* object) {
  return ar_cast<ARPossibleBreak const>(object) || ar_cast<ARNewSystem const>(object) ||
         ar_cast<ARNewPage const>(object);
}

// The work of the music alone, and the pictures its marks show.
struct MusicWork {
  double work = 0;
  bool showsVesk = false;
  bool showsPild = false;
};

MusicWork WeighMusic(ARMusic const& music) {
  double work = 0;
  double objects = 0;
  int breaks = 0;
  int voices = 0;
  bool showsVesk = false, showsPild = false;
  std::set<int> staves;
  for (void* pos = music.GetHeadPosition(); pos; ++voices) {
    ARMusicalVoice const* voice = music.GetNext(pos);
    int voiceBreaks = 0;
    int events = 0;
    bool onOwnStaff = true;
    for (void* at = voice->ARMusicalVoice::ObjectList::GetHeadPosition(); at;) {
      ARMusicalObject const* object = voice->ARMusicalVoice::ObjectList::GetNext(at);
      // Most objects are events, and an event is none of the tags asked for below.
      if (ar_cast<ARMusicalEvent const>(object)) {
        ++events;
        continue;
      }
      if (IsBreak(object)) ++voiceBreaks;
      showsVesk = showsVesk || ar_cast<ARDrVesk const>(object);
      showsPild = showsPild || ar_cast<ARDrPild const>(object);
      if (auto const* staff = ar_cast<ARStaff const>(object)) {
        staves.insert(std::clamp(staff->getStaffNumber(), 0, kStaves - 1));
        onOwnStaff = false;
      }
    }
    if (onOwnStaff) staves.insert(std::clamp(voice->getVoiceNum(), 0, kStaves - 1));
    breaks = std::max(breaks, voiceBreaks);
    auto const* ranges = voice->getPositionTagList();
    ARRangeSpans const spans = MeasureRangeSpans(*voice);
    objects += voice->GetCount();
    work += kPerObject * voice->GetCount() + kPerEventBesides * events +
            kPerRange * (ranges ? ranges->GetCount() : 0) + kPerRangeMember * spans.objects +
            kPerRangeAtBreak * spans.breaks + kPerRangeMark * spans.marks;
  }
  work += kPerStaffAtBreak * (breaks + 1.0) * (static_cast<double>(staves.size()) + voices);
  if (voices > 1)
    work += kPerVoicePairAtSpring * (voices - 1.0) / 2 * objects;  // pairs times objects per voice
  return {work, showsVesk, showsPild};
}

}  // namespace

double EstimatedLayoutWork(ARMusic const& music) {
  return WeighMusic(music).work;
}

double EstimatedLayoutWork(ARMusic const& music, ScorePictures& pictures, double limit) {
  MusicWork const weighed = WeighMusic(music);
  double work = weighed.work;
  if (work > limit) return work;
  if (weighed.showsVesk) work += pictures.Take(GRDrVesk::kImageName, limit - work);
  if (weighed.showsPild) work += pictures.Take(GRDrPild::kImageName, limit - work);
  return work;
}

double PictureWork(double pixels) {
  return kPerPicturePixel * pixels;
}
