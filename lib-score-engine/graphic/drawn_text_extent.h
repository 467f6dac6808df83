#pragma once

class GObject;

// The width and height of a text in the face an element draws its texts with (its own font, or
// the default text font), as the page measures its texts; false when there is no text, face or
// device to measure with.
bool MeasureDrawnText(GObject const& element, char const* text, float* width, float* height);
