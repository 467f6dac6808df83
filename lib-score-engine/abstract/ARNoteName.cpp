#include "ARNoteName.h"

ARNoteName const ARNoteName::empty("empty");
ARNoteName const ARNoteName::unknown("unknown");
