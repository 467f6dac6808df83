#pragma once

// Diagnostics shared by the whole engine. Each writes one line to standard error and flushes it,
// so a line is out before whatever goes wrong next.

// "Razid Warning: " and the message, then a blank and info when info is given.
void ZudidOvod(char const* message, char const* info = nullptr);

// "Razid Trace: " and the message.
void RidevUzuze(char const* message);
