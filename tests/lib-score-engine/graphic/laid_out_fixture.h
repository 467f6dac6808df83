#pragma once

// Parses a score, which the parser completes for the layout, and lays it out on the default page
// as the music root does; the systems of every page are listed in reading order.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ARMusic.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "GRSystem.h"
#include "graphic_fixture.h"
#include "parse_music.h"

namespace EngineTesting {

class LaidOutFixture : public GraphicFixture {
 protected:
  void SetUp() override {
    GraphicFixture::SetUp();
    StartEngine();
  }
  // The layout goes before the engine is reset, and the music it was made from after it.
  void TearDown() override {
    music.reset();
    parsed.reset();
    GraphicFixture::TearDown();
  }

  void LayOut(std::string const& text) {
    music.reset();
    ParsedMusic result = ParseMusicText(text.c_str());
    ASSERT_EQ(result.result, 0) << text;
    parsed = std::move(result.music);
    music = std::make_unique<GRMusic>(parsed.get(), nullptr);
  }

  std::vector<GRSystem*> Systems() const {
    std::vector<GRSystem*> systems;
    for (int n = 1; n <= music->getNumPages(); ++n) {
      KF_IPointerList<GRSystem> const& onPage = music->getPage(n)->getSystems();
      for (void* pos = onPage.GetHeadPosition(); pos;) systems.push_back(onPage.GetNext(pos));
    }
    return systems;
  }

  std::unique_ptr<ARMusic> parsed;
  std::unique_ptr<GRMusic> music;
};

}  // namespace EngineTesting
