#include "GRTremolo.h"

#include "ARTremolo.h"

GRTremolo::GRTremolo(GRStaff* staff, ARTremolo* ar) : GRFirstNoteMark(staff, ar) {}
