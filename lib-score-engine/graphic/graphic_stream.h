#pragma once

// The graphic stream: a page written as a list of drawing commands for an external graphical
// editor ("\open_page<...>", "\draw_staff<...>", "\draw_image<...>", "\close_page"), one line at a
// time through the AddGGSOutput hook. Elements write positions relative to their staff, system or
// page; the running offsets carry those origins down to them, so every written coordinate is on
// the page. Elements are named by their identity, the address of their GObject part, which the
// editor hands back in its commands.

#include <cstdint>
#include <string>

class GObject;

// The origin that positions written now are relative to.
struct GGSOffsets {
  float x = 0;
  float y = 0;
};
extern GGSOffsets gGGSOffsets;

void ResetGGSOffsets();

// Moves the offsets for as long as it lives.
class GGSOffsetShift {
 public:
  GGSOffsetShift(float dx, float dy);
  GGSOffsetShift(GGSOffsetShift const&) = delete;
  GGSOffsetShift& operator=(GGSOffsetShift const&) = delete;
  ~GGSOffsetShift();

 private:
  GGSOffsets mSaved;
};

// Hands one command line to the hook.
void WriteGGS(std::string const& line);
// "\draw_image<"name",identity,x,y>" with x and y moved by the offsets.
void WriteGGSImage(char const* name, GObject const& element, float x, float y);

std::uintptr_t GGSIdentity(GObject const& element);
// A page coordinate as the stream writes it: moved by the offset, truncated to a whole unit and
// kept within a range that any reader's integers hold.
long GGSCoordinate(float value, float offset);
