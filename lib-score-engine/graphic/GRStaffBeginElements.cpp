// What a staff of a new line opens with: the clef and key carried over from the line before,
// then the second glue after which the line's music starts, and the mark of an octava that goes
// on there.

#include "ARCast.h"
#include "ARClef.h"
#include "ARKey.h"
#include "GRClef.h"
#include "GRGlue.h"
#include "GRKey.h"
#include "GRSText.h"
#include "GRStaff.h"
#include "GRStaffManager.h"
#include "src/common/assertion.h"

void GRStaff::CreateBeginElements(GRStaffManager* manager, GRStaffState& state, int springId) {
  GRStaffState& own = mStaffState;
  own.transposeOffset = state.transposeOffset;
  own.instrKeyNumber = state.instrKeyNumber;
  own.curbarfrmt = state.curbarfrmt;
  takeFormatOf(state);

  if (state.curclef) {
    auto* clef = static_cast<ARClef*>(state.curclef->Copy());
    clef->setRelativeTimePosition(mRelativeTimePositionOfGR);
    auto* grclef = new GRClef(clef, this, true);
    grclef->setRelativeTimePosition(mRelativeTimePositionOfGR);
    MELVARIN_ASSERT(grclef->getRelativeTimePosition() == mRelativeTimePositionOfGR);
    own.curclef = state.curclef;
    setClefParameters(clef->getName().c_str(), grclef->mClefPitch, grclef->mClefOctave,
                      grclef->mClefStaffLine, GRStaffState::CLEFEXPLICIT);
    addNotationElement(grclef);
    manager->AddGRSyncElement(grclef, this, springId, nullptr, nullptr);
  }
  if (state.curkey) {
    auto* key = static_cast<ARKey*>(state.curkey->Copy());
    key->setRelativeTimePosition(mRelativeTimePositionOfGR);
    auto* grkey = new GRKey(this, key, 0, true);
    grkey->setRelativeTimePosition(mRelativeTimePositionOfGR);
    MELVARIN_ASSERT(grkey->getRelativeTimePosition() == mRelativeTimePositionOfGR);
    own.curkey = state.curkey;
    own.keyset = true;
    int keyArray[GRStaffState::kPitches] = {};
    const int numKeys = grkey->getKeyArray(keyArray);
    setKeyParameters(numKeys, keyArray);
    addNotationElement(grkey);
    manager->AddGRSyncElement(grkey, this, springId, nullptr, nullptr);
  } else if (own.instrKeyNumber != 0) {
    GRKey::getNonFreeKeyArray(own.instrKeyNumber, own.instrKeyArray);
    startMeasure();
  }

  MELVARIN_ASSERT(!mSecondGlue);
  auto* glue = new GRGlue(this, GRGlue::SECOND_GLUE);
  glue->setRelativeTimePosition(mRelativeTimePositionOfGR);
  AddSecondGlue(glue);
  manager->AddGRSyncElement(glue, this, springId, nullptr, nullptr);

  MarkOctavaGoingOn(manager, glue, state.octava);
}

void GRStaff::MarkOctavaGoingOn(GRStaffManager* manager, GRGlue* glue, int shift) {
  if (shift != 1 && shift != -1) return;
  for (void* pos = mCompElements.GetHeadPosition(); pos;)
    if (ar_cast<GRSText>(mCompElements.GetNext(pos))) return;
  // The line's notes stand an octave off their sound from the first on.
  GRSText* mark = NewOctavaMark(shift);
  mOctavaGoingOn = mark;
  mark->setRelativeTimePosition(mRelativeTimePositionOfGR);
  mark->setNeedsSpring(-1);
  addNotationElement(mark);
  manager->AddGRSyncElement(mark, this, -1, nullptr, glue);
}
