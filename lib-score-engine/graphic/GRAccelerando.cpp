#include "GRAccelerando.h"

#include "ARAccelerando.h"

GRAccelerando::GRAccelerando(GRStaff* staff, ARAccelerando* ar) : GRFirstNoteMark(staff, ar) {}
