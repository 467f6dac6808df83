#pragma once

class GREvent;

// Beams told their place one after another, nested over the same notes, each set the same
// stems. While they do, the marks that stand past a stem's end wait; each note places them once,
// when the outermost settling ends and its stem is final, instead of once for every beam over it.
class StemsSettling {
 public:
  StemsSettling();
  ~StemsSettling();
  StemsSettling(StemsSettling const&) = delete;
  StemsSettling& operator=(StemsSettling const&) = delete;

  // Whether stems are settling now; if so the event places its marks again when they are final.
  static bool Await(GREvent* event);
  // An event that goes no longer waits.
  static void Forget(GREvent const* event);
};
