#pragma once

class GRRod;

// A complex rod with the force it needs, while the initial stretch works through them.
struct GRForceRodEntry {
  float force;
  GRRod* rod;

  // -1, 0 or 1: zero forces first, then unflagged rods by force, then flagged rods by falling
  // first spring id. The stretch takes entries from the back, so flagged rods go first.
  static int comp(GRForceRodEntry const* a, GRForceRodEntry const* b);
};
