#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "GRGlue.h"
#include "GRPositionTag.h"
#include "NEPointerList.h"
#include "graphic_globals.h"
#include "note_scene.h"

namespace EngineTesting {

// The note scene with range marks over its voices, on one system or across a break onto a
// second system. A mark is associated with its events, ended and then told where its last
// event of each system stands, as the layout tells it; at the end the staves remove their
// pieces (DeleteStaff) before the mark, the events and the systems go.
class SpannerScene : public RazidNotes {
 protected:
  void SetUp() override {
    RazidNotes::SetUp();
    gCurSystem = grSystem.get();
  }
  void TearDown() override {
    for (auto& [tag, element] : marks) {
      for (GRStaff* s : {staff, staff2})
        if (s && tag->getSystemStartEndStruct(s->getGRSystem())) tag->DeleteStaff(s);
      delete element;
    }
    marks.clear();
    gCurSystem = nullptr;
    voices.clear();
    system2.reset();
    RazidNotes::TearDown();
  }

  // A second system whose staff begins with its second glue at x 50; the first staff ends with
  // its end glue at x endX.
  void AddSecondSystem(float endX = 900) {
    system2 = std::make_unique<GRSystem>();
    auto* slice = new GRSystemSlice(nullptr, Frac_0);
    system2->AddSystemSlice(slice);
    staff2 = new GRStaff(slice);
    slice->addStaff(staff2, 0);
    staff->EndStaff(Frac_1);
    staff->getEndGlue()->setHPosition(endX);
    staff2->AddSecondGlue(new GRGlue(staff2, GRGlue::SECOND_GLUE));
    staff2->getSecondGlue()->setHPosition(50);
  }
  VoiceElements& VoiceOn(GRStaff* on, char const* text, std::vector<float> xs) {
    voices.push_back(std::make_unique<VoiceElements>(on, text, std::move(xs)));
    return *voices.back();
  }

  // The mark over the events, ended on their staff; the events are then told their places in
  // order.
  template <class Tag>
  Tag* Span(Tag* tag, std::vector<GREvent*> const& events) {
    marks.emplace_back(tag, tag);
    for (GREvent* event : events) tag->addAssociation(event);
    if (events.empty()) return tag;
    tag->RangeEnd(events.back()->getGRStaff());
    for (GREvent* event : events) Place(tag, event);
    return tag;
  }
  // The mark over first on the first system and second on the second.
  template <class Tag>
  Tag* SpanBreak(Tag* tag, std::vector<GREvent*> const& first,
                 std::vector<GREvent*> const& second) {
    marks.emplace_back(tag, tag);
    for (GREvent* event : first) tag->addAssociation(event);
    void* pos = tag->getAssociations() ? tag->getAssociations()->GetTailPosition() : nullptr;
    tag->BreakTag(staff, pos);
    tag->StaffBegin(staff2);
    for (GREvent* event : second) tag->addAssociation(event);
    tag->RangeEnd(staff2);
    for (GREvent* event : first) Place(tag, event);
    Place(tag, staff->getEndGlue());
    Place(tag, staff2->getSecondGlue());
    for (GREvent* event : second) Place(tag, event);
    return tag;
  }
  template <class Tag>
  static void Place(Tag* tag, GRNotationElement* element) {
    tag->tellPosition(element, element->getPosition());
  }
  template <class Save, class Tag>
  static Save* Piece(Tag const* tag, GRSystem const* system) {
    GRSystemStartEndStruct* sse = tag->getSystemStartEndStruct(system);
    return sse ? dynamic_cast<Save*>(sse->p) : nullptr;
  }
  // The device's calls of the given names, in order.
  std::vector<std::string> Calls(std::vector<std::string> const& names) const {
    std::vector<std::string> found;
    for (std::string const& call : device.calls)
      for (std::string const& name : names)
        if (call.rfind(name + "(", 0) == 0) found.push_back(call);
    return found;
  }
  void DrawSystem(GRSystem const* system, GRNotationElement* mark) {
    gCurSystem = system;
    mark->OnDraw(device, map);
    gCurSystem = grSystem.get();
  }

  std::unique_ptr<GRSystem> system2;
  GRStaff* staff2 = nullptr;
  std::vector<std::pair<GRPositionTag*, GRNotationElement*>> marks;
};

}  // namespace EngineTesting
