#pragma once

#include "NVstring.h"

// A name held by an abstract object.
class ARName : public NVstring {
 public:
  ARName() = default;
  ARName(char const* text) : NVstring(text) {}
  ARName(NVstring const& text) : NVstring(text) {}
  ARName(ARName const&) = default;
  ARName& operator=(ARName const&) = default;
  ARName& operator=(NVstring const& text) {
    NVstring::operator=(text);
    return *this;
  }
  ARName& operator=(char const* text) {
    NVstring::operator=(text);
    return *this;
  }
  void setName(NVstring const& text) { NVstring::operator=(text); }
};
