// Building a system from the slices the line breaker chose: the slices and their springs, one
// space-force function over them, the staves stacked, and every spring placed at the force that
// makes the line as wide as the page allows.
#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <unordered_set>
#include <vector>

#include "ARCast.h"
#include "ARMusicalEvent.h"
#include "GRAccolade.h"
#include "GRBar.h"
#include "GRBowing.h"
#include "GRGlue.h"
#include "GRJump.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "GRPossibleBreakState.h"
#include "GRSText.h"
#include "GRSliceHeight.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRStaffManager.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRSystemTag.h"
#include "GRTempo.h"
#include "GRTie.h"
#include "NEPointerList.h"
#include "curve_band.h"
#include "curve_ink.h"
#include "curves_on_line.h"
#include "head_bands.h"
#include "line_marks.h"
#include "marks_beside_music.h"
#include "music_ink.h"
#include "rests_clear_of_voices.h"
#include "src/common/assertion.h"
#include "stems_settling.h"

namespace {
constexpr float kUnitsPerCm = 237.10631f;
constexpr size_t kMostCurvesPlacedAgain = 128;
// A stretch reaching past both ends of any line.
constexpr float kEverywhere = std::numeric_limits<float>::max();

// A glue of the system on the spring with that id, which tells the slice where it stands.
GRGlue* GlueAt(GRSystemSlice* slice, GRSpring* spring, int id) {
  auto* glue = new GRGlue(nullptr, GRGlue::END_GLUE);
  glue->addAssociation(slice);
  if (spring) spring->addElement(glue, nullptr);
  glue->tellSpringID(id);
  return glue;
}

// Where the figures of the octavas down of a line of staves stand, in the staff's coordinates
// (each staff of the line stands at the same height).
std::vector<NVRect> OctavaFiguresUnder(std::vector<GRStaff*> const& staves) {
  std::vector<NVRect> figures;
  for (GRStaff const* staff : staves) {
    if (!staff->holdsOctavaMarks()) continue;
    NEPointerList const& elements = staff->getElements();
    for (void* pos = elements.GetHeadPosition(); pos;) {
      auto const* mark = ar_cast<GRSText const>(elements.GetNext(pos));
      if (std::optional<NVRect> const box = mark ? mark->boxUnder() : std::nullopt)
        if (box->right > box->left) figures.push_back(*box);
    }
  }
  return figures;
}

// How high the slurs and ties of a line of staves reach over it, in the staff's coordinates:
// the boxes of their notes do not hold them. A piece continued from the line before is held by
// the staff it began on; the notes at its ends know it.
float HighestCurveOn(GRSystem const& system, int number, float space) {
  float top = std::numeric_limits<float>::infinity();
  ForEachCurveOnLine(system, number, [&](GRBowing const* bowing) {
    if (std::optional<CurveBand> const band = bowing->bandOn(&system))
      band->forEachSlice(space, [&](NVRect const& slice) { top = std::min(top, slice.top); });
  });
  return top;
}
}  // namespace

GRSystem::GRSystem(GRStaffManager* manager, GRPage* page, Fraction const& startDate,
                   KF_IPointerList<GRSystemSlice>& pending, int count, GRSystemSlice* beginSlice,
                   KF_IVector<GRSpring>& springs, ARSystemFormat* format, bool lastSystem,
                   float leastIndent)
    : GREvent(nullptr, new ARMusicalEvent(startDate, Frac_0), true),
      mStartDate(startDate),
      mPage(page),
      mAccolade(std::make_unique<GRAccolade>(2, 0)) {
  setSystemFormat(format, leastIndent);
  GRSliceHeight heights;
  if (beginSlice) {
    heights.AddSystemSlice(beginSlice, true);
    AddSystemSlice(beginSlice);
    adoptElementsOf(beginSlice);
  }
  takeSlices(manager, pending, count);

  // The springs up to the end of the last slice are this system's; the rest wait for the next.
  mSpaceForceFunction = std::make_unique<GRSpaceForceFunction2>();
  int firstId = 0;
  int lastId = 0;
  void* pos = mSystemSlices.GetHeadPosition();
  bool first = true;
  while (pos) {
    GRSystemSlice* slice = mSystemSlices.GetNext(pos);
    if (slice != beginSlice) heights.AddSystemSlice(slice, false);
    if (GRSpaceForceFunction2 const* sff = slice->getSpacing()) mSpaceForceFunction->addSFF(*sff);
    int const start = slice->getStartSpringID();
    int const end = slice->getEndSpringID();
    if (!slice->getStartGlue()) slice->setStartGlue(GlueAt(slice, springs.Get(start), start));
    if (!slice->getEndGlue()) slice->setEndGlue(GlueAt(slice, springs.Get(end), end));
    if (first || start < firstId) firstId = start;
    if (first || end > lastId) lastId = end;
    first = false;
    // Only the last slice's break state is needed further: the next system begins from it.
    if (pos) slice->addPossibleBreakState(nullptr);
  }
  if (GRSpring* end = springs.Get(lastId); end && end->containsBar())
    mSpaceForceFunction->FreezeSpring(end);
  KF_IVector<GRSpring>* mine = nullptr;
  springs.CutBegin(lastId, &mine);
  mSprings.reset(mine ? mine : new KF_IVector<GRSpring>(1));

  // The line ends on a spring of its own at the break.
  GRSystemSlice* lastSlice = mSystemSlices.GetTail();
  GRPossibleBreakState const* breakState = lastSlice ? lastSlice->getPossibleBreakState() : nullptr;
  Fraction const endDate = breakState ? breakState->tp : mStartDate;
  auto* endSpring = new GRSpring(endDate, Frac_0);
  int const endId = lastId + 1;
  endSpring->setID(endId);
  // The end of the line takes no room of its own.
  endSpring->setFrozen(1);
  mSprings->Set(endId, endSpring);
  if (lastSlice) {
    int lowest = 0;
    int highest = -1;
    lastSlice->getStaffRange(lowest, highest);
    for (int i = lowest; i <= highest; ++i)
      if (GRStaff* staff = lastSlice->getStaff(i); staff && !staff->getEndGlue())
        staff->EndStaff(endDate, endSpring);
  }

  placeStaves(heights);

  // A piece that fits on this one line keeps its natural width instead of filling the page.
  mForce = mSpaceForceFunction->getForce(getSystemWidthCm() * kUnitsPerCm);
  if (!beginSlice && mStartDate == Frac_0 && pending.IsEmpty() && lastSystem &&
      GRSpaceForceFunction2::getOptForce() < mForce) {
    mForce = GRSpaceForceFunction2::getOptForce();
  } else if (!keepHeadsApart(firstId, endId) && mPage && mPage->getGRMusic()) {
    // A line too narrow for its heads to stand clear counts as squeezed: the music is laid out
    // again, free to part its bar between the beats.
    mPage->getGRMusic()->noteSqueezedLine(mStartDate, endDate);
  }

  if (manager) manager->TakeCareOfBreakAt(this);

  const float width = getSystemWidthCm() * kUnitsPerCm;
  float natural = 0;
  float opening = 0;
  int firstMusicId = endId;
  for (int id = firstId; id <= endId; ++id) {
    GRSpring* spring = mSprings->Get(id);
    if (!spring) continue;
    spring->stretchWithForce(mForce);
    if (firstMusicId == endId && spring->holdsEvent()) firstMusicId = id;
    if (id < firstMusicId) opening += spring->getExtent();
    natural += spring->getExtent();
  }
  // A line that may not break where it would have to (breaks turned off, a bar wider than the
  // page) is squeezed to the page's width rather than drawn past its margin: the clef, key and
  // meter that open it keep their room, the springs of its music shrink in proportion. A line
  // stretched to the width may come out a rounding longer; it stays as it is.
  constexpr float kRounding = 1;
  const float squeeze =
      natural > width + kRounding && width > opening ? (width - opening) / (natural - opening) : 1;
  if (squeeze < 1 && mPage && mPage->getGRMusic())
    mPage->getGRMusic()->noteSqueezedLine(mStartDate, endDate);
  float x = 0;
  for (int id = firstId; id <= endId; ++id) {
    GRSpring* spring = mSprings->Get(id);
    if (!spring) continue;
    if (squeeze < 1 && id >= firstMusicId) spring->change_x(spring->getExtent() * squeeze);
    spring->setGRPositionX(x);
    x += spring->getExtent();
  }
  mBoundingBox.right = x;
  if (KeepRestsClearOfVoices(*this, squeeze < 1)) {
    placeTupletsAgain();
    forgetMeasuredMusic();
  }
  keepStavesClearOfBeams();
  // The slurs and ties go before the marks under the music, which keep clear of them.
  keepCurvesClear();
  forgetMeasuredMusic();
  // A rest moved from under another voice's tie leaves room the tie no longer needs to rise
  // over: the curves are placed again against the rests where they now stand.
  if (KeepRestsClearOfTies(*this, squeeze < 1)) {
    keepCurvesClear();
    forgetMeasuredMusic();
  }
  keepStavesClearOfTexts(PlaceMarksBesideMusic(*this));
  endSystemBars();
  keepOctavaMarksInBox();
  keepTempoMarksInBox();
  keepJumpMarksInBox();
  keepMusicInBox();
}

bool GRSystem::keepHeadsApart(int firstId, int endId) {
  // The line breaker sets a line no tighter than its heads keep their air at where it can; a
  // line it could not widen so (a bar that fills it alone) would set the heads of neighbouring
  // events rim to rim or over one another: a wide head of one voice over the note another
  // voice plays after it. Each spring too short for its heads at the line's force holds them
  // as a rod would, and the line's other springs give the room. Raising one lowers the force,
  // which may leave another short: a spring raised stays raised, so that ends. Where the line
  // has not the room for all they want, they share what there is; a line squeezed to its width
  // already stays as it is (giving the heads more there takes it from others that then meet).
  const float width = getSystemWidthCm() * kUnitsPerCm;
  if (mForce <= 0) return true;
  struct Raised {
    GRSpring* spring;
    float force;   // at which its rods held it
    float wanted;  // its extent for the heads
  };
  std::vector<Raised> raised;
  auto setExtent = [this](GRSpring* spring, float extent) {
    mSpaceForceFunction->deleteSpring(spring);
    spring->change_force(extent * spring->getConstant());
    mSpaceForceFunction->addSpring(spring);
  };
  // The last spring ends at the line's end: the heads it was measured against, those of the
  // music after the break, stand on the next line.
  for (int round = firstId; round <= endId; ++round) {
    const size_t before = raised.size();
    for (int id = firstId; id + 1 < endId; ++id) {
      GRSpring* spring = mSprings->Get(id);
      if (!spring || spring->isFrozen() || spring->getConstant() <= 0) continue;
      const float wanted = HeadsApartWithAir(*spring);
      const float atForce = std::max(spring->getExtent(), mForce / spring->getConstant());
      if (wanted <= atForce || !mSpaceForceFunction->holds(spring)) continue;
      raised.push_back({spring, spring->getForce(), wanted});
      setExtent(spring, wanted);
    }
    if (raised.size() == before) return true;
    mForce = mSpaceForceFunction->getForce(width);
    if (mForce <= 0) break;
  }
  if (mForce > 0) return true;
  // Short of room: the heads first stand clear of one another, then keep their air. Each raised
  // spring takes the same share of what it lacks for the one, then for the other: the largest
  // share that leaves the line a force, found by halving (none is the line as it was set).
  auto raiseBy = [&](float share) {
    for (Raised const& each : raised) {
      const float from = each.force / each.spring->getConstant();
      const float clear = std::max(from, each.spring->getHeadsApart());
      setExtent(each.spring, share <= 1 ? from + share * (clear - from)
                                        : clear + (share - 1) * (each.wanted - clear));
    }
    return mSpaceForceFunction->getForce(width);
  };
  float low = 0, high = 2;
  for (int step = 0; step < 14; ++step) {
    const float share = (low + high) / 2;
    (raiseBy(share) > 0 ? low : high) = share;
  }
  mForce = raiseBy(low);
  return low >= 1;
}

void GRSystem::keepMusicInBox() {
  forEachStaff([this](int number, GRStaff const* staff) {
    MusicInk const& ink = musicInk(number);
    float const y = staff->getPosition().y;
    if (float const top = ink.highestOver(-kEverywhere, kEverywhere); top < MusicInk::kNone)
      mBoundingBox.top = std::min(mBoundingBox.top, y + top);
    if (float const bottom = ink.lowestUnder(-kEverywhere, kEverywhere); bottom > -MusicInk::kNone)
      mBoundingBox.bottom = std::max(mBoundingBox.bottom, y + bottom);
  });
}

void GRSystem::keepTempoMarksInBox() {
  for (void* pos = First(); pos;)
    if (auto const* tempo = ar_cast<GRTempo const>(GetNext(pos)))
      mBoundingBox.top = std::min(mBoundingBox.top, tempo->topIn(*this));
}

void GRSystem::keepJumpMarksInBox() {
  forEachStaff([this](int, GRStaff* staff) {
    NEPointerList const& elements = staff->getElements();
    for (void* pos = elements.GetHeadPosition(); pos;)
      if (auto const* jump = ar_cast<GRJump const>(elements.GetNext(pos)))
        mBoundingBox.top = std::min(mBoundingBox.top, staff->getPosition().y + jump->topOn(staff));
  });
}

void GRSystem::keepCurvesClear() {
  std::set<int> numbers;
  forEachStaff([&numbers](int number, GRStaff*) { numbers.insert(number); });
  for (int number : numbers) {
    std::vector<GRBowing*> ties, slurs;
    ForEachCurveOnLine(*this, number, [&](GRBowing* bowing) {
      (dynamic_cast<GRTie*>(bowing) ? ties : slurs).push_back(bowing);
    });
    // Each curve is placed against the ink and the curves before it: past so many on one line,
    // which no piece a learner reads holds, they keep the place the layout gave them, so that
    // the line is drawn in bounded time.
    if ((ties.empty() && slurs.empty()) || ties.size() + slurs.size() > kMostCurvesPlacedAgain)
      continue;
    // A slur inside another is placed first, so that the one around it passes over (under) it
    // rather than the inner one jumping out across it.
    auto span = [this](GRBowing const* slur) {
      NVRect box;
      return slur->pieceBox(this, box) ? box.right - box.left : 0.0f;
    };
    std::stable_sort(slurs.begin(), slurs.end(),
                     [&](GRBowing const* a, GRBowing const* b) { return span(a) < span(b); });
    CurveInk ink(*this, number);
    for (GRBowing* tie : ties) tie->placeClearOf(ink, this);
    for (GRBowing* slur : slurs) slur->placeClearOf(ink, this);
  }
}

void GRSystem::keepOctavaMarksInBox() {
  forEachStaff([this](int, GRStaff* staff) {
    if (!staff->holdsOctavaMarks()) return;
    NEPointerList const& elements = staff->getElements();
    for (void* pos = elements.GetHeadPosition(); pos;) {
      auto const* mark = ar_cast<GRSText const>(elements.GetNext(pos));
      if (std::optional<float> const bottom = mark ? mark->bottomUnder() : std::nullopt)
        mBoundingBox.bottom = std::max(mBoundingBox.bottom, staff->getPosition().y + *bottom);
      if (std::optional<NVRect> const ink = mark ? mark->inkOver() : std::nullopt)
        mBoundingBox.top = std::min(mBoundingBox.top, staff->getPosition().y + ink->top);
    }
  });
}

void GRSystem::keepStavesClearOfTexts(std::map<int, std::vector<NVRect>> const& marks) {
  constexpr float kNoReach = -std::numeric_limits<float>::infinity();
  // Music without texts or marks under it stands as the slices stacked it.
  bool texts = !marks.empty();
  forEachStaff([&texts](int, GRStaff* staff) {
    texts = texts || staff->holdsTexts() || staff->holdsOctavaMarks();
  });
  if (!texts) return;
  // The staves of each number, where their music begins, and how low their texts reach.
  struct Line {
    std::vector<GRStaff*> staves;
    float top = 0;
    float texts = kNoReach;
    std::vector<NVRect> const* marks = nullptr;  // the dynamic marks and wedges under it
    float marksBottom = kNoReach;
    bool distanceSet = false;
    bool holdsTexts = false;
    bool holdsOctavaMarks = false;
  };
  std::map<int, Line> lines;
  forEachStaff([&lines](int number, GRStaff* staff) {
    Line& line = lines[number];
    line.top = line.staves.empty() ? staff->getBoundingBox().top
                                   : std::min(line.top, staff->getBoundingBox().top);
    line.distanceSet = line.distanceSet || staff->getStaffState().distanceset;
    line.holdsTexts = line.holdsTexts || staff->holdsTexts();
    line.holdsOctavaMarks = line.holdsOctavaMarks || staff->holdsOctavaMarks();
    line.staves.push_back(staff);
  });
  // The slices stacked their staves apart by the texts of each slice alone; the texts of the
  // whole line stand as they will be drawn, which may reach lower (a row of syllables moved
  // down for a text in another slice). The staves below then move down by what is missing.
  float moved = 0;
  Line const* above = nullptr;
  int aboveNumber = -1;
  for (auto& [number, line] : lines) {
    if (moved > 0)
      for (GRStaff* staff : line.staves)
        staff->setPosition(NVPoint{staff->getPosition().x, staff->getPosition().y + moved});
    LineMarks const lineMarks(*this, number);
    if (line.holdsTexts) line.texts = lineMarks.textsBottom();
    // A staff's box may not hold all its music: a stem or beam set after it was measured.
    line.top = std::min(line.top, HighestMusicOver(*this, number, -kEverywhere, kEverywhere));
    // Nor the words and ornaments at its notes, which rose over the music once it stood.
    line.top = std::min(line.top, lineMarks.noteWordsTopOver(-kEverywhere, kEverywhere));
    // A verse over the staff keeps its distance from the slurs and ties over its notes too.
    line.top =
        std::min(line.top, HighestCurveOn(*this, number, line.staves.front()->getLineSpace()));
    if (auto const mark = marks.find(number); mark != marks.end()) {
      line.marks = &mark->second;
      for (NVRect const& box : mark->second)
        line.marksBottom = std::max(line.marksBottom, box.bottom);
    }
    if (above && !above->distanceSet) {
      GRStaff const* upper = above->staves.front();
      float const space = upper->getLineSpace();
      float const y = line.staves.front()->getPosition().y;
      float missing = upper->getPosition().y + above->texts + space - (y + line.top);
      // The dynamic marks and wedges stand below all the music of their staff now, some
      // further down than the room its box kept for them beside its own notes: each keeps a
      // space from the staff below, or from its music over the mark, which may reach up past
      // that staff's box (the stem of a chord).
      auto keepSpaceUnder = [&](NVRect const& box) {
        float const top = std::min(0.0f, musicInk(number).highestOver(box.left, box.right));
        missing = std::max(missing, upper->getPosition().y + box.bottom + space - (y + top));
      };
      if (above->marks) std::ranges::for_each(*above->marks, keepSpaceUnder);
      // The words and ornaments over its notes keep half a space from the music of the staff
      // above, which may reach down past that staff's box.
      for (NVRect const& words : lineMarks.noteMarks()) {
        float const bottom = musicInk(aboveNumber).lowestUnder(words.left, words.right);
        if (bottom != -MusicInk::kNone)
          missing =
              std::max(missing, upper->getPosition().y + bottom + space / 2 - (y + words.top));
      }
      // So does the figure of an octava down under it, which stands under all its music.
      if (above->holdsOctavaMarks)
        std::ranges::for_each(OctavaFiguresUnder(above->staves), keepSpaceUnder);
      if (missing > 0) {
        for (GRStaff* staff : line.staves)
          staff->setPosition(NVPoint{staff->getPosition().x, staff->getPosition().y + missing});
        moved += missing;
      }
    }
    above = &line;
    aboveNumber = number;
  }
  if (moved > 0) {
    mBoundingBox.bottom += moved;
    forgetMeasuredMusic();
  }
  if (above) {
    float const bottom =
        above->staves.front()->getPosition().y + std::max(above->texts, above->marksBottom);
    mBoundingBox.bottom = std::max(mBoundingBox.bottom, bottom);
  }
}

void GRSystem::takeSlices(GRStaffManager* manager, KF_IPointerList<GRSystemSlice>& pending,
                          int count) {
  GRSystemSlice* previous = nullptr;
  for (int taken = 0; taken < count && !pending.IsEmpty(); ++taken) {
    GRSystemSlice* slice = pending.RemoveHead();
    // Springs between two slices (of begin elements) stretch again from their rods, the last
    // spring of the previous slice standing apart meanwhile.
    if (previous && manager && previous->getEndSpringID() < slice->getStartSpringID()) {
      KF_IVector<GRSpring>* springs = manager->getSprings();
      GRSpring* spring = springs->Get(previous->getEndSpringID());
      GRSpaceForceFunction2* sff = previous->getSpacing();
      if (spring && sff) sff->deleteSpring(spring);
      manager->InitialSpringStretch(previous->getEndSpringID(), slice->getStartSpringID(),
                                    manager->getSimpleRodList(), manager->getComplexRodList(),
                                    springs);
      if (spring && sff) sff->addSpring(spring);
    }
    AddSystemSlice(slice);
    adoptElementsOf(slice);
    previous = slice;
  }
}

void GRSystem::adoptElementsOf(GRSystemSlice* slice) {
  slice->setGRSystem(this);
  slice->handOverElements(mCompElements);
}

void GRSystem::placeStaves(GRSliceHeight const& heights) {
  bool first = true;
  forEachStaff([&](int number, GRStaff* staff) {
    staff->setPosition(NVPoint{staff->getPosition().x, heights.getPosition(number)});
    NVRect box = staff->getBoundingBox();
    box += staff->getPosition();
    if (first || box.top < mBoundingBox.top) mBoundingBox.top = box.top;
    if (first || box.bottom > mBoundingBox.bottom) mBoundingBox.bottom = box.bottom;
    first = false;
  });
}

void GRSystem::endSystemBars() {
  // The beams and chords across staves set their stems here, nothing reads marks meanwhile.
  StemsSettling const stemsPlaced;
  GRStaff const* last = lastStaff();
  void* pos = First();
  while (pos) {
    GRNotationElement* element = GetNext(pos);
    if (auto* bar = dynamic_cast<GRBar*>(element)) {
      bar->setPosFrom(0);
      if (last) bar->setPosTo(last->getPosition().y + last->getDredgeSize());
    } else if (auto* tag = dynamic_cast<GRSystemTag*>(element)) {
      tag->checkPosition(this);
    }
  }
}
