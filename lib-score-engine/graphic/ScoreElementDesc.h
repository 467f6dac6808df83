#pragma once

// What an element reports to the score symbol map while it draws: kind (1 event, 2 other
// symbol, 3 bar, 5 staff, 6 system slice, 7 system, 8 page), subtype, time, box and reference
// points, all in layout units until the map converts them with the device.
struct ScoreElementDesc {
  virtual ~ScoreElementDesc() = default;

  int kind = 0;
  int subtype = 0;
  float date = 0;
  float duration = 0;
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;
  float refX = 0;
  float refY = 0;
  float headX = 0;
};
