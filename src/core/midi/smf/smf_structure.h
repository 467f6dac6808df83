#pragma once

// A structural check of Standard MIDI File bytes, run before the bytes reach the parsing library.
// The library accepts a file that ends early (handing back a shorter piece) and aborts the whole
// program on some damaged events, so a file is handed over only when every chunk and every event
// in it is complete and well-formed.

#include <QByteArray>

namespace Core {

// True when `bytes` hold a format 0 or 1 header with a pulse-based division followed by the tracks
// it announces, each a sequence of complete events (channel and short system messages, with
// running status; system-exclusive and metadata events) ending with an end-of-track event.
bool IsWellFormedMidiFile(const QByteArray& bytes);

}  // namespace Core
