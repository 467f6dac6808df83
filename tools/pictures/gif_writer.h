#pragma once
// A small GIF89a encoder for the few animations among the pictures (Qt reads GIF but cannot write
// it). All frames share one palette of at most 255 colours plus a transparent entry.
#include <QByteArray>
#include <QImage>

#include <vector>

namespace Pictures {

// Encodes `frames` (all of one size) as an endlessly looping animation with `delayMs` between
// frames (GIF counts in hundredths of a second). A pixel less than a quarter opaque is
// transparent; the others keep their colour as premultiplied over black, which is what the
// animations stand on.
QByteArray EncodeGif(const std::vector<QImage>& frames, int delayMs);

}  // namespace Pictures
