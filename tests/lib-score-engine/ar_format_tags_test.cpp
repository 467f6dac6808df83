#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "ARAccol.h"
#include "ARBarFormat.h"
#include "ARPageFormat.h"
#include "ARStaff.h"
#include "ARStaffFormat.h"
#include "ARSystemFormat.h"
#include "ARUnits.h"
#include "bound_tag.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;
using EngineTesting::Rmn;

constexpr float kCm = 237.10631f;
using Page = std::array<float, 6>;

// Width, height and the left, top, right and bottom margins, in layout units.
void ExpectPage(ARPageFormat const& format, Page const& expected) {
  Page page;
  format.getPageFormat(&page[0], &page[1], &page[2], &page[3], &page[4], &page[5]);
  for (size_t i = 0; i < page.size(); ++i) EXPECT_NEAR(page[i], expected[i], 0.01f) << i;
}

TEST(ARPageFormatTest, NamedOrMeasuredPagesAreKeptWithinLimits) {
  const std::pair<Given, Page> cases[] = {
      {Given().Text("A3"), {7042.0576f, 9958.465f, 474.2126f, 1185.5316f, 474.2126f, 711.3189f}},
      {Given().Text("letter").Float(1, "lm", "cm"),
       {18 * kCm, 31 * kCm, kCm, 5 * kCm, 2 * kCm, 3 * kCm}},
      // Another name keeps the size of the page.
      {Given().Text("legal"), {21 * kCm, 29.7f * kCm, 2 * kCm, 5 * kCm, 2 * kCm, 3 * kCm}},
      // Bare numbers are half spaces; too small a page drops the margins that do not fit.
      {Given().Float(30, "w", "mm").Float(100, "h"), {5 * kCm, 2500, 0, 5 * kCm, 0, 3 * kCm}},
      {Given().Float(500, "w", "cm").Float(0.5f, "h", "cm"),
       {400 * kCm, kCm, 2 * kCm, 0, 2 * kCm, 0}},
  };
  for (auto const& [given, page] : cases) {
    ARPageFormat format;
    Bind(format, given);
    ExpectPage(format, page);
  }
  ARPageFormat named;
  Bind(named, Given().Text("legal", "type"));
  EXPECT_STREQ(named.getFormat().c_str(), "legal");
  EXPECT_EQ(Rmn(named), "");
  ExpectPage(ARPageFormat(), {21 * kCm, 29.7f * kCm, 2 * kCm, 2 * kCm, 2 * kCm, 2 * kCm});

  // The layout's page shares the room that is left out to margins that leave too little.
  const ARPageFormat layout(6 * kCm, 2 * kCm, 2 * kCm, 2 * kCm, 2 * kCm, 2 * kCm);
  std::unique_ptr<ARMusicalObject> copy(layout.Copy());
  ExpectPage(static_cast<ARPageFormat&>(*copy),
             {6 * kCm, 2 * kCm, 0.5f * kCm, 0.5f * kCm, 0.5f * kCm, 0.5f * kCm});
}

TEST(ARStaffTest, NumbersFromOneOrANameAndTheDistance) {
  struct Case {
    Given given;
    int number;
    char const* warnings;
    char const* rmn;
  };
  const Case cases[] = {
      {Given().Int(2).Float(3, "dy", "cm"), 2, "", "\\staff<2,dy=3cm> "},
      {Given().Int(0), 1, "Razid Warning: Staff-Parameter-Value smaller than 1\n", "\\staff<1> "},
      {Given().Text("piano"), -1, "", "\\staff<\"piano\"> "},
  };
  for (Case const& c : cases) {
    ARStaff staff;
    EXPECT_EQ(Bind(staff, c.given), c.warnings);
    EXPECT_EQ(staff.getStaffNumber(), c.number);
    EXPECT_EQ(Rmn(*std::unique_ptr<ARMusicalObject>(staff.Copy())), c.rmn);
  }
  EXPECT_EQ(Rmn(ARStaff(3)), "\\staff<3> ");
  EXPECT_EQ(ARStaff().getStaffNumber(), 0);
}

TEST(ARFormatTagsTest, KeepOnlyWhatTheTagGives) {
  ARStaffFormat staffFormat;
  Bind(staffFormat, Given().Text("3-line").Float(3, "size", "pt"));
  // 3 pt is 24.9998 layout units, written back as 25 units.
  EXPECT_NEAR(staffFormat.getStaffSize()->getValue(50.0f), 25.0f, 1e-4f);
  EXPECT_EQ(Rmn(staffFormat), "\\staffFormat<style=\"3-line\",size=3pt> ");
  // In half spaces, written or by default, the size is rounded the same way.
  for (Given size : {Given().Float(1.01f, "size", "hs"), Given().Float(1.01f, "size")}) {
    Bind(staffFormat, size);
    EXPECT_FLOAT_EQ(staffFormat.getStaffSize()->getUnitValue(), 1.0f);
    EXPECT_EQ(staffFormat.getStyle(), nullptr);
  }

  ARBarFormat barFormat;
  Bind(barFormat, Given().Text("system"));
  EXPECT_EQ(Rmn(*std::unique_ptr<ARMusicalObject>(barFormat.Copy())),
            "\\barFormat<style=\"system\"> ");
  Bind(barFormat, Given());
  EXPECT_EQ(barFormat.getStyle(), nullptr);

  ARSystemFormat systemFormat;
  Bind(systemFormat, Given().Text("1-2").Float(2, "dx", "cm"));
  EXPECT_STREQ(systemFormat.getStaves()->getValue(), "1-2");
  EXPECT_NEAR(systemFormat.getDX()->getValue(50.0f), 2 * kCm, 0.01f);
  EXPECT_EQ(Rmn(systemFormat), "\\systemFormat<dx=2cm> ");

  ARAccol accolade;
  EXPECT_EQ(Bind(accolade, Given().Int(1).Text("1-3")), "");
  EXPECT_EQ(accolade.getIdInt()->getValue(), 1);
  EXPECT_STREQ(accolade.getRangeParameter()->getValue(), "1-3");
  EXPECT_STREQ(accolade.getTypeParameter()->getValue(), "standard");
  EXPECT_FALSE(ARMTParameter::IsSet(accolade.getTypeParameter()));
  Bind(accolade, Given().Text("a").Text("1-2").Text("curlyBrace", "type"));
  EXPECT_TRUE(accolade.getIdString() && !accolade.getIdInt());
  EXPECT_STREQ(accolade.getTypeParameter()->getValue(), "curlyBrace");
  EXPECT_EQ(Rmn(accolade), "\\accol ");
}

TEST(ARUnitsTest, TheDefaultUnitHoldsForEveryLaterLength) {
  const NVstring saved(ARUnits::sType);
  ARUnits units;
  Bind(units, Given().Text("mm"));
  EXPECT_EQ(Rmn(units), "\\units<\"mm\"> ");
  ARSystemFormat later;
  Bind(later, Given().Float(10, "dx"));
  EXPECT_NEAR(later.getDX()->getValue(50.0f), kCm, 0.01f);
  ARUnits::sType = saved;
}

}  // namespace
