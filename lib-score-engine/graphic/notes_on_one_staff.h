#pragma once

class GRSingleNote;

// Whether two notes stand on one staff of a line. A staff is made anew in each slice of a line:
// two notes of different slices stand on one staff where their staffs have one number in their
// slices.
bool OnOneStaff(GRSingleNote const& a, GRSingleNote const& b);
