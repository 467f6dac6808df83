#pragma once

#include "GRArenaObject.h"
#include "GRPositionTag.h"

class GRNotationElement;
class GRSystem;

// The piece of a range tag on one system: its first and last element there and how the range
// enters and leaves the system.
struct GRSystemStartEndStruct : public GRArenaObject {
  // Values of startflag and endflag.
  enum Flag {
    BEGINS_HERE = 0,          // start: the first associated element, looked up when needed
    ENDS_HERE = 1,            // end: the last associated element
    CONTINUES_FROM_LAST = 2,  // start: the staff's second glue
    CONTINUES_ON_NEXT = 3,    // end: the staff's end glue
    NO_ELEMENT = 4,           // not ended yet, or the element was removed
  };

  GRSystemStartEndStruct() = default;
  GRSystemStartEndStruct(GRSystemStartEndStruct const&) = delete;
  GRSystemStartEndStruct& operator=(GRSystemStartEndStruct const&) = delete;
  virtual ~GRSystemStartEndStruct() { delete p; }

  // Null until known; a null system answers for any system.
  GRSystem const* grsystem = nullptr;
  GRNotationElement* startElement = nullptr;
  GRNotationElement* endElement = nullptr;
  int startflag = BEGINS_HERE;
  int endflag = NO_ELEMENT;
  // Nodes of the tag's association list.
  void* startpos = nullptr;
  void* endpos = nullptr;
  // How many elements the range held when this piece began on a new line.
  int elementsBefore = 0;
  // The tag's own drawing data for this system; owned.
  GRPositionTag::GRSaveStruct* p = nullptr;
};
