// Lines of music ended by the score's own line breaks fill pages one after the other.
#include <gtest/gtest.h>

#include <string>

#include "GRMusic.h"
#include "GRPage.h"
#include "GRStaffManager.h"
#include "GRSystem.h"
#include "drawn_score.h"

namespace {

class LinePagesTest : public EngineTesting::DrawnScore {
 protected:
  static float Height(GRSystem const* system) {
    return system->getBoundingBox().bottom - system->getBoundingBox().top;
  }
};

// Forty one-measure lines: each page takes the lines that fit on it, the next line opens the
// next page, and no line stands below a page's foot.
TEST_F(LinePagesTest, LinesEndedByANewLineStartAPageWhenTheyDoNotFit) {
  std::string score = "[ \\meter<\"4/4\"> c2/1";
  for (int line = 1; line < 40; ++line) score += " \\newLine c2/1";
  Draw(score + " ]");
  ASSERT_GT(Pages(), 1);
  int lines = 0;
  float const distance = GRStaffManager::sDefaultSystemDistance;
  for (int n = 1; n <= Pages(); ++n) {
    GRPage const* page = music->getPage(n);
    float stacked = -distance;
    for (void* pos = page->getSystems().GetHeadPosition(); pos;) {
      GRSystem const* system = page->getSystems().GetNext(pos);
      EXPECT_LE(system->getPosition().y + system->getBoundingBox().bottom, page->getInnerHeight())
          << "page " << n;
      stacked += Height(system) + distance;
      ++lines;
    }
    // The first line of the next page would not have fitted on this one.
    if (n < Pages()) {
      GRSystem const* next = music->getPage(n + 1)->getSystems().GetHead();
      EXPECT_GT(stacked + distance + Height(next), page->getInnerHeight());
    }
  }
  EXPECT_EQ(lines, 40);
}

}  // namespace
