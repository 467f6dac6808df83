#pragma once

// What one key of the on-screen piano shows, and the map by which the exercise screen hands the
// piano new states (piano key index to state).

#include <QMetaType>

#include <map>

struct KeyState {
  enum Highlight { None = 0, Green = 1, Blue = 2, Red = 3 };  // any other non-zero value is red

  // Every producer leaves these at 3 and true; a state map still compares them.
  int level = 3;
  bool active = true;
  bool pressed = false;
  int highlight = None;
  bool repaint = true;  // the key must be drawn again

  // Equal as far as the picture of the key goes; the repaint mark is not compared.
  bool SameAs(const KeyState& other) const {
    return level == other.level && active == other.active && pressed == other.pressed &&
           highlight == other.highlight;
  }
};

using KeysStateMap = std::map<int, KeyState>;
Q_DECLARE_METATYPE(KeysStateMap)
