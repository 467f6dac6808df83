#pragma once

// The records the engine's callers hand in to size and draw pages.

class VGDevice;
struct NodeGR;

// A laid-out score as the engine's interface hands it out.
using GRHandle = NodeGR*;

// A page's size and margins in layout units (237.10631 per centimetre).
struct RazidPageFormat {
  float width = 0;
  float height = 0;
  float marginleft = 0;
  float margintop = 0;
  float marginright = 0;
  float marginbottom = 0;
};

// The part of a page to redraw, in page units; erase means the whole page.
struct RazidUpdateRegion {
  bool erase = true;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// One request to draw a page: which score and page (from 1), on which device, what part of it,
// scrolled how far, into a drawing area of sizex x sizey pixels.
struct RazidOnDrawDesc {
  GRHandle handle = nullptr;
  VGDevice* hdc = nullptr;
  int page = 1;
  RazidUpdateRegion updateRegion;
  int scrollx = 0;
  int scrolly = 0;
  int reserved = 0;
  int sizex = 0;
  int sizey = 0;
};
