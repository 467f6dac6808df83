#pragma once

// Stem directions: up, down, none, and chosen by the staff.
using GDirection = int;
inline constexpr GDirection dirUP = 1;
inline constexpr GDirection dirDOWN = -1;
inline constexpr GDirection dirOFF = 0;
inline constexpr GDirection dirAUTO = 10;
