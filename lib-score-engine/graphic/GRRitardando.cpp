#include "GRRitardando.h"

#include "ARRitardando.h"

GRRitardando::GRRitardando(GRStaff* staff, ARRitardando* ar) : GRFirstNoteMark(staff, ar) {}
