#pragma once

// A control that shows music: the on-screen piano and the score board.

#include "src/ui/base_control.h"

class MusicControl : public BaseControl {
 public:
  using BaseControl::BaseControl;
};
