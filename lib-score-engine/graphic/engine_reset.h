#pragma once

// Brings the engine's class-wide drawing state back to that of a fresh process: no measured
// glyph widths, no cached fonts (the start-up fonts with them), no current system or staff and
// no registered device. Engine stop calls it, and so does every test fixture.
void RazidResetEngineState();
