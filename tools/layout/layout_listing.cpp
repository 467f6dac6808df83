#include "layout_listing.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <typeinfo>

#include "GRMusic.h"
#include "GRPage.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"

namespace Layout {
namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  // Minus zero and zero are the same place.
  return std::string(text) == "-0.00" ? "0.00" : text;
}

std::string Date(Fraction const& f) {
  return std::to_string(f.getNumerator()) + "/" + std::to_string(f.getDenominator());
}

std::string Point(NVPoint const& p) {
  return Number(p.x) + " " + Number(p.y);
}

std::string Box(NVRect const& r) {
  return Number(r.left) + " " + Number(r.top) + " " + Number(r.right) + " " + Number(r.bottom);
}

std::string ClassName(GRNotationElement const& element) {
  char const* mangled = typeid(element).name();
  int status = 0;
  char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  std::string name = status == 0 && plain ? plain : mangled;
  std::free(plain);
  return name;
}

void ListStaff(GRStaff const& staff, int number, std::ostream& os) {
  os << "      staff " << number << " at " << Point(staff.getPosition()) << " length "
     << Number(staff.getLength()) << "\n";
  for (void* pos = staff.First(); pos;) {
    GRNotationElement const* element = staff.GetNext(pos);
    if (!element) continue;
    os << "        " << ClassName(*element) << " " << Date(element->getRelativeTimePosition())
       << " at " << Point(element->getPosition()) << " spring " << element->getSpringID() << "\n";
  }
}

void ListSlice(GRSystemSlice const& slice, int number, std::ostream& os) {
  os << "    slice " << number << " start " << Date(slice.getRelativeTimePosition()) << " springs "
     << slice.getStartSpringID() << ".." << slice.getEndSpringID() << " box "
     << Box(slice.getBoundingBox()) << "\n";
  int lowest = 0;
  int highest = -1;
  slice.getStaffRange(lowest, highest);
  for (int i = lowest; i <= highest; ++i)
    if (GRStaff const* staff = slice.getStaff(i)) ListStaff(*staff, i, os);
}

void ListSystem(GRSystem const& system, int number, std::ostream& os) {
  os << "  system " << number << " start " << Date(system.getStartDate()) << " at "
     << Point(system.getPosition()) << " box " << Box(system.getBoundingBox()) << " force "
     << Number(system.getForce()) << "\n";
  if (KF_IVector<GRSpring> const* springs = system.getSprings(); springs && springs->GetCount())
    for (int id = springs->GetMinimum(); id <= springs->GetMaximum(); ++id)
      if (GRSpring const* spring = springs->Get(id))
        os << "    spring " << id << " x " << Number(spring->getX()) << " extent "
           << Number(spring->getExtent()) << " force " << Number(spring->getForce()) << " date "
           << Date(spring->getTimePosition()) << "\n";
  int slices = 0;
  for (void* pos = system.getSlices().GetHeadPosition(); pos;)
    ListSlice(*system.getSlices().GetNext(pos), ++slices, os);
  for (void* pos = system.First(); pos;) {
    GRNotationElement const* element = system.GetNext(pos);
    if (element)
      os << "    system element " << ClassName(*element) << " "
         << Date(element->getRelativeTimePosition()) << " at " << Point(element->getPosition())
         << "\n";
  }
}

}  // namespace

void ListLayout(GRMusic const& music, std::ostream& os) {
  os << "pages " << music.getNumPages() << "\n";
  for (int n = 1; n <= music.getNumPages(); ++n) {
    GRPage const& page = *music.getPage(n);
    os << "page " << n << " start " << Date(page.getStartDate()) << " size "
       << Number(page.getPageWidth()) << " " << Number(page.getPageHeight()) << " margins "
       << Number(page.getMarginLeft()) << " " << Number(page.getMarginTop()) << " "
       << Number(page.getMarginRight()) << " " << Number(page.getMarginBottom()) << "\n";
    int systems = 0;
    for (void* pos = page.getSystems().GetHeadPosition(); pos;)
      ListSystem(*page.getSystems().GetNext(pos), ++systems, os);
  }
}

}  // namespace Layout
