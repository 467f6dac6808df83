#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

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
// An id of the other kind fails the first template.
constexpr char kWrongId[] =
    "Razid Warning: Named Parameter has wrong type:  \n"
    "Razid Warning: Required tag parameter was not set:  id\n";
using Page = std::array<float, 6>;

Page PageOf(ARPageFormat const& format) {
  Page page;
  format.getPageFormat(&page[0], &page[1], &page[2], &page[3], &page[4], &page[5]);
  return page;
}

void ExpectPage(Page const& actual, Page const& expected, std::string const& what) {
  for (size_t i = 0; i < actual.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], 0.01f) << what << " value " << i;
}

TEST(ARPageFormatTest, NamedOrMeasuredPagesAreKeptWithinLimits) {
  struct Case {
    Given given;
    Page page;
    char const* format;
  };
  const Case cases[] = {
      {Given().Text("A3"),
       {7042.0576f, 9958.465f, 474.2126f, 1185.5316f, 474.2126f, 711.3189f},
       "A3"},
      {Given().Text("letter", "type").Float(1, "lm", "cm"),
       {4267.9136f, 7350.2954f, kCm, 5 * kCm, 2 * kCm, 3 * kCm},
       "letter"},
      // Another name keeps the size of the page.
      {Given().Text("legal"),
       {4979.2324f, 7042.0576f, 2 * kCm, 5 * kCm, 2 * kCm, 3 * kCm},
       "legal"},
      // Bare numbers are half spaces; too narrow a page drops the margins that do not fit.
      {Given().Float(30, "w", "mm").Float(100, "h").Float(0, "tm").Float(0, "bm"),
       {5 * kCm, 2500, 0, 0, 0, 0},
       ""},
      {Given().Float(500, "w", "cm").Float(0.5f, "h", "cm"),
       {400 * kCm, kCm, 2 * kCm, 0, 2 * kCm, 0},
       ""},
  };
  for (Case const& c : cases) {
    ARPageFormat format;
    Bind(format, c.given);
    ExpectPage(PageOf(format), c.page, c.format);
    EXPECT_STREQ(format.getFormat().c_str(), c.format);
  }
  ExpectPage(PageOf(ARPageFormat()), {21 * kCm, 29.7f * kCm, 2 * kCm, 2 * kCm, 2 * kCm, 2 * kCm},
             "default");
  EXPECT_EQ(Rmn(ARPageFormat()), "");

  // The layout's page shares the room that is left out to margins that leave too little.
  const ARPageFormat layout(6 * kCm, 2 * kCm, 2 * kCm, 2 * kCm, 2 * kCm, 2 * kCm);
  const Page shared{6 * kCm, 2 * kCm, 0.5f * kCm, 0.5f * kCm, 0.5f * kCm, 0.5f * kCm};
  ExpectPage(PageOf(layout), shared, "layout");
  std::unique_ptr<ARMusicalObject> copy(layout.Copy());
  ExpectPage(PageOf(static_cast<ARPageFormat&>(*copy)), shared, "copy");
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
      {Given().Int(-5, "id"), 1, "Razid Warning: Staff-Parameter-Value smaller than 1\n",
       "\\staff<1> "},
      {Given().Text("piano"), -1, kWrongId, "\\staff<\"piano\"> "},
      {Given().Float(3, "dy"), 0,
       "Razid Warning: Required tag parameter was not set:  id\n"
       "Razid Warning: Required tag parameter was not set:  id\n",
       "\\staff "},
  };
  for (Case const& c : cases) {
    ARStaff staff;
    EXPECT_EQ(Bind(staff, c.given).warnings, c.warnings);
    EXPECT_EQ(staff.getStaffNumber(), c.number);
    EXPECT_EQ(Rmn(staff), c.rmn);
    std::unique_ptr<ARMusicalObject> copy(staff.Copy());
    EXPECT_EQ(static_cast<ARStaff&>(*copy).getStaffNumber(), c.number);
  }
  EXPECT_EQ(Rmn(*std::unique_ptr<ARMusicalObject>(ARStaff(3).Copy())), "\\staff<3> ");
}

TEST(ARFormatTagsTest, KeepOnlyWhatTheTagGives) {
  ARStaffFormat staffFormat;
  EXPECT_EQ(Rmn(staffFormat), "\\staffFormat ");
  Bind(staffFormat, Given().Text("3-line").Float(3, "size", "pt"));
  // 3 pt is 24.9998 layout units, written back as 25 units.
  EXPECT_NEAR(staffFormat.getStaffSize()->getValue(50.0f), 25.0f, 1e-4f);
  EXPECT_STREQ(staffFormat.getStaffSize()->getUnit(), "pt");
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
  EXPECT_EQ(Bind(accolade, Given().Int(1).Text("1-3")).warnings, kWrongId);
  EXPECT_EQ(accolade.getIdInt()->getValue(), 1);
  EXPECT_STREQ(accolade.getRangeParameter()->getValue(), "1-3");
  EXPECT_STREQ(accolade.getTypeParameter()->getValue(), "standard");
  EXPECT_FALSE(ARMTParameter::IsSet(accolade.getTypeParameter()));
  Bind(accolade, Given().Text("a").Text("1-2").Text("curlyBrace", "type"));
  EXPECT_EQ(accolade.getIdInt(), nullptr);
  EXPECT_STREQ(accolade.getIdString()->getValue(), "a");
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

TEST(ARFormatTagsTest, AllAreStateTags) {
  std::unique_ptr<ARMusicalTag> tags[] = {
      std::make_unique<ARPageFormat>(),  std::make_unique<ARSystemFormat>(),
      std::make_unique<ARStaffFormat>(), std::make_unique<ARUnits>(),
      std::make_unique<ARStaff>(),       std::make_unique<ARBarFormat>(),
      std::make_unique<ARAccol>()};
  for (auto const& tag : tags) EXPECT_TRUE(tag->IsStateTag()) << Rmn(*tag);
}

}  // namespace
