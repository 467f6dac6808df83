#pragma once

#include <ostream>

#include "TagParameterList.h"

// What the picture marks (bembel, DrVesk, DrPild) share: one optional "inverse" switch.

inline constexpr char kPictureMarkTemplate[] = "I,inverse,0,o";

// inverse from the bound parameters when the text wrote it.
void ReadInverse(TagParameterList const& own, int& inverse);

// "-1" for a mark drawn mirrored, else nothing.
void WriteInverse(std::ostream& os, int inverse);
