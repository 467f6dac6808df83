#pragma once

#include <memory>

#include "GRArenaObject.h"
#include "GRTag.h"
#include "kf_ilist.h"

class GREvent;
class GRNotationElement;
class GRSystem;
struct GRSystemStartEndStruct;

// A tag that spans a range of events and may run over several systems. It keeps one record per
// system on which it has a piece; the layout opens and closes the pieces as systems begin and
// end, and each concrete tag draws the piece of the system it is asked about.
class GRPositionTag : public GRTag {
 public:
  // Drawing data of one system piece; each range tag derives its own.
  class GRSaveStruct : public GRArenaObject {
   public:
    GRSaveStruct() = default;
    GRSaveStruct(GRSaveStruct const&) = delete;
    GRSaveStruct& operator=(GRSaveStruct const&) = delete;
    virtual ~GRSaveStruct() = default;
  };

  // endPosition is the abstract range's end in its voice, null for a tag without range.
  explicit GRPositionTag(void* endPosition = nullptr, ARMusicalTag const* tag = nullptr,
                         float lineSpace = 50);
  ~GRPositionTag() override;

  // A new piece that starts at the staff's second glue.
  void StaffBegin(GRStaff* staff) override;
  // Ends the piece at the staff's end glue; the range goes on.
  void StaffFinished(GRStaff* staff) override;
  // Ends the piece at the last associated element; the range is closed.
  void RangeEnd(GRStaff* staff) override;
  // As StaffBegin, the piece starting at the association node pos.
  virtual void ResumeTag(GRStaff* staff, void* pos);
  // Ends the piece at the staff's end glue at the association node pos; pos moves on to the next
  // node.
  virtual void BreakTag(GRStaff* staff, void*& pos);
  virtual void FinishPTag(GRStaff*) {}
  // Drops the piece of the staff's system; true when no piece is left.
  virtual bool DeleteStaff(GRStaff* staff);
  virtual void setStartElement(GRStaff const* staff, GRNotationElement* element);
  virtual void setEndElement(GRStaff const* staff, GRNotationElement* element);
  // Bookkeeping of the piece the element falls in; the element list itself is the element
  // side's.
  virtual void addAssociation(GRNotationElement* element);
  virtual void removeAssociation(GRNotationElement* element);
  virtual GRSaveStruct* getNewGRSaveStruct() { return new GRSaveStruct; }

  // The piece on system s: with one piece, that piece when its system is s or still unknown;
  // with several, the first whose system is s or unknown.
  GRSystemStartEndStruct* getSystemStartEndStruct(GRSystem const* s) const;
  int getStartEndCount() const { return mStartEndList.GetCount(); }
  // Every piece's ends forget this tag; the pieces stay.
  void DeleteAllSSEs();
  void* getEndPosition() const { return endPosition; }

  // The first and the last event a piece spans on its line, null when it spans none. At a break
  // the piece's own ends are the staff's glues; its events lie between them.
  GREvent* firstEventOfPiece(GRSystemStartEndStruct const* sse) {
    return eventAtEndOfPiece(sse, false);
  }
  GREvent* lastEventOfPiece(GRSystemStartEndStruct const* sse) {
    return eventAtEndOfPiece(sse, true);
  }

 protected:
  // The first piece, made by each concrete tag when the layout creates it on staff.
  void addFirstStartEnd(GRStaff const* staff);
  GRNotationElement* asElement();

  void* endPosition;
  KF_IPointerList<GRSystemStartEndStruct> mStartEndList{1};
  // The end of the piece before a break, handed to the piece after it, so that a range closed
  // before its break is seen keeps its true end.
  int lastEndFlag;
  GRNotationElement* lastendElement = nullptr;
  void* lastEndPos = nullptr;

 private:
  // The pieces by system, kept once a tag has more than a few, so that a tag over hundreds of
  // systems finds the piece of one without walking the pieces of all the others.
  class PieceIndex;
  void appendPiece(GRSystemStartEndStruct* sse);
  void placePiece(GRSystemStartEndStruct* sse, GRSystem const* system);
  void removePiece(GRSystemStartEndStruct* sse);
  mutable std::unique_ptr<PieceIndex> mPieceIndex;

  GREvent* eventAtEndOfPiece(GRSystemStartEndStruct const* sse, bool last);
  GRSystemStartEndStruct* requireStartEnd(GRStaff const* staff) const;
  void openPiece(GRStaff* staff, void* startPos);
  void fillStart(GRStaff* staff, GRSystemStartEndStruct* sse);
  void forgetEnds(GRSystemStartEndStruct* sse);
};

// The pieces are complete wherever the tag is, so the list can delete them.
#include "GRSystemStartEndStruct.h"
