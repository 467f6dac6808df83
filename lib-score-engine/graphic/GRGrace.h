#pragma once

#include <vector>

#include "GRARCompositeNotationElement.h"
#include "GRPositionTag.h"

class ARGrace;
class GREvent;
class GRSpring;

// A group of grace notes: the notes are its own elements, drawn and placed just before the one
// event the group is attached to.
class GRGrace : public GRARCompositeNotationElement, public GRPositionTag {
 public:
  GRGrace(GRStaff* staff, ARGrace* grace);

  // As an element; the range bookkeeping takes no part. The event keeps room for the grace
  // notes clear of its marks.
  void addAssociation(GRNotationElement* element) override;
  void removeAssociation(GRNotationElement* element) override;
  using GRNotationElement::removeAssociation;
  // A grace note joins the group and is no longer one of the events it is attached to.
  void AddTail(GRNotationElement* element);
  // A grace note of the group that stays on the staff (the staff draws it): the group places it
  // but does not count it among its events.
  void addGraceNote(GRNotationElement* note) { mNotes.push_back(note); }
  // The group stands 60 units before its event, and the grace notes of the staff side by side
  // just before the event, clear of it and of its signs; with more than one event it warns and
  // stays.
  void tellPosition(GObject* caller, NVPoint const& point) override;
  // A group written among the notes of a chord leans on the chord (its first element) once the
  // chord is whole, and stands before it: the chord keeps room for it.
  void leanOnChord(GREvent* chord);
  // Where each grace note stands: its place this far left of the event's place, clear of the
  // event and of the grace notes after it. The notes in the group's order.
  struct Place {
    GRNotationElement* note;
    float before;
  };
  // The notes of other voices in the event's spring (when known) on its staff keep their room
  // on the left too where a sign of theirs stands as high as the group.
  std::vector<Place> placesBefore(GRNotationElement const* event,
                                  GRSpring const* spring = nullptr) const;
  // Whether the element is one of the group's notes.
  bool holds(GRNotationElement const* element) const;
  // The event the group leans on, once it leans on exactly one.
  GRNotationElement* leansOn() const;
  // Nothing unless attached to exactly one event.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

 private:
  bool hasOneAssociation() const;
  // How far left of its place a mark of the event reaches that stands as high as the grace
  // notes; 0 for none.
  float marksReach(GRNotationElement const* event) const;
  // The heights the grace notes (with their stems) stand between, with a little air; false
  // for a group without notes.
  bool heights(float* top, float* bottom) const;

  std::vector<GRNotationElement*> mNotes;  // not owned: the staff holds them
  // For a group leaning on a chord: how far left of the chord's place the chord's own room
  // reaches, where the grace notes end; negative for other groups.
  float mChordLead = -1;
};
