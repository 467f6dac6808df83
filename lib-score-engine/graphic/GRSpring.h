#pragma once

#include <typeinfo>

#include "Fraction.h"
#include "GRArenaObject.h"
#include "GRNotationElement.h"
#include "kf_ilist.h"
#include "kf_ivect.h"
#include "kf_list.h"

class GRSpringCollider;
class GRStaff;
class GRVoice;
class VGDevice;
class VScoreSymbolMap;

// One time position of a system: every element at that position, a stiffness from the shortest
// duration there, and the extent it takes under the system's common force. The law is linear
// (force = constant x extent); a frozen spring keeps its extent whatever force is applied.
class GRSpring : public GRArenaObject {
 public:
  GRSpring(GRNotationElement* element, GRVoice* voice);
  GRSpring(Fraction const& tp, Fraction const& dur);
  GRSpring(GRSpring const&) = delete;
  GRSpring& operator=(GRSpring const&) = delete;
  virtual ~GRSpring();

  virtual void checkLocalCollisions() {
    checkVoiceCollisions();
    checkAccidentalCollisions();
  }
  // Heads a second apart, in unison but of different kinds, or crossed so that a stem runs
  // through the other head, in two voices of a staff stand side by side; rests move out of the
  // other voice's way, up for the voice with stems up and down for the one with stems down, away
  // from the other voice's notes where stems are automatic.
  void checkVoiceCollisions();
  // A rest filling its bar stands in the bar's middle, where any event of the bar may stand: it
  // moves out of the way of what the other voices hold from this spring on to the bar's end, in
  // the springs of the slice up to end (exclusive).
  void keepBarRestsClear(KF_IVector<GRSpring> const& springs, int end);
  // Accidentals of the spring's notes that would overlap move left of each other, from the top
  // down on each staff.
  virtual void checkAccidentalCollisions();
  // The signs of its notes changed after the spring was measured: they are placed again and the
  // spring's bands take them in.
  void settleChangedSigns() {
    checkAccidentalCollisions();
    refreshCollider();
  }
  virtual GRNotationElement* getFirstGRO() const { return mElements.GetHead(); }
  virtual void* getFirstGROPosition() const { return mElements.GetHeadPosition(); }
  virtual GRNotationElement* getNextGRO(void*& pos) const;
  virtual float apply_force(float f) const;
  virtual void addSameTP(GRNotationElement* element, GRVoice* voice);
  virtual float change_x(float dx);
  virtual float change_force(float df);
  virtual float change_const(float dc);
  virtual float change_dur(Fraction const& dur);
  virtual float setlength(float len);
  virtual Fraction const& getTimePosition() const { return mTimePosition; }
  virtual Fraction const& getDuration() const { return mDuration; }
  virtual float getConstant() const { return sconst; }

  // 20 for a zero duration, else 1 / ln((d + 1) x funcpar) to 3 decimals.
  static float defconst(Fraction const& dur);
  static float defconst(float dur);
  // The constant element would give a spring of its own duration.
  static float onlycalcconst(GRNotationElement const* element);
  static void setFunctionParameter(float value) { funcpar = value; }
  static float getFunctionParameter() { return funcpar; }
  // Set from the layout settings; every constant depends on it.
  static float funcpar;

  float calcconst(GRNotationElement* element);
  void recalcConstant();
  // The scale of the largest staff the spring's elements stand on (1 for a staff of the usual
  // size, and without one): a staff drawn larger spreads its music out as much more.
  float staffScale() const;
  void set_const(float dc);
  float stretchWithForce(float f);

  void addElement(GRNotationElement* element, GRVoice* voice);
  bool removeElement(GRNotationElement* element);
  KF_IPointerList<GRNotationElement> const& getElements() const { return mElements; }
  // Each element with the voice it came with (null for one of no voice).
  template <class Visit>
  void forEachElementOfVoice(Visit&& visit) const {
    void* voicePos = mVoices.GetHeadPosition();
    for (void* pos = mElements.GetHeadPosition(); pos;) {
      GRNotationElement* element = mElements.GetNext(pos);
      visit(element, voicePos ? static_cast<GRVoice const*>(mVoices.GetNext(voicePos)) : nullptr);
    }
  }
  GRSpringCollider const* getCollider() const { return mCollider; }

  void setGRPositionX(float x);
  float getX() const { return mX; }
  void setID(int id) { mID = id; }
  int getID() const { return mID; }
  // Tells every element the spring's id.
  void setGRSpringID();

  bool hasType(std::type_info const& type) const;
  bool containsBar() const;
  // Whether a clef, key or meter written within the line stands here: its signs reach over the
  // staff as a bar line does.
  bool holdsStaffSign() const;
  // Whether a note, rest or other event stands here, not only tags.
  bool holdsEvent() const;
  bool hasStaffAndType(GRStaff const* staff, std::type_info const& type) const;
  // Whether the spring is shared: one voice only, more than two elements, or elements of a
  // voiceless element or of two voices.
  bool isCommonSpring(int numVoices) const;
  // Glues and bars take no room of their own to the right (glues not to the left either).
  void setNoExtent();

  // The least distance between this spring and next, taken band by band through the colliders.
  float GetMaxDistance(GRSpring const* next) const;
  // How far apart this spring and the next stand where heads of both meet in a band, edge to
  // edge (see HeadBands), as the rods were made.
  void setHeadsApart(float distance) { mHeadsApart = distance; }
  float getHeadsApart() const { return mHeadsApart; }

  float getForce() const { return mForce; }
  float getExtent() const { return mExtent; }
  int isFrozen() const { return mFrozen; }
  void setFrozen(int frozen) { mFrozen = frozen; }

  // Draws the spring as a zigzag above the system; only the spring display asks for it.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const;

  bool operator<(GRSpring const& other) const;

 private:
  float constantFor(GRNotationElement const* element, Fraction const& d) const;
  void refreshCollider();

  int mFrozen = 0;
  float mX = 0;
  Fraction mTimePosition;
  Fraction mDuration;
  int mID = -1;
  float mForce = 0;
  float mExtent = 0;
  float sconst = 0;
  float mHeadsApart = 0;
  KF_IPointerList<GRNotationElement> mElements{0};
  KF_List<GRVoice*> mVoices;
  GRSpringCollider* mCollider = nullptr;
};

// -1 when b lies later than a; else the order of their first elements.
int sprcomp(GRSpring const& a, GRSpring const& b);
int sprpcomp(GRSpring const* a, GRSpring const* b);
