#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ARMusicalObject.h"
#include "GObject.h"
#include "score_arena.h"
#include "support/sanitizers.h"

namespace {

// An abstract object that owns memory outside the arena and counts its destructor runs.
class Holder : public ARMusicalObject {
 public:
  explicit Holder(int& gone) : mGone(gone), text(100, 'x') {}
  ~Holder() override { ++mGone; }

  int& mGone;
  std::string text;
};

// Larger than the arena's size classes.
class LargeHolder : public Holder {
 public:
  using Holder::Holder;
  std::array<char, 2048> bytes{};
};

class Element : public GObject {
 public:
  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}
};

TEST(ScoreArenaTest, ObjectsComeFromTheArenaInUseAndTheirDestructorsRunWhenDeleted) {
  ScoreArena arena;
  int gone = 0;
  std::vector<Holder*> objects;
  {
    ScoreArena::Use use(arena, ScoreArena::kAbstract);
    for (int i = 0; i < 1000; ++i) objects.push_back(new Holder(gone));
    objects.push_back(new LargeHolder(gone));
    delete new Element;  // another family
  }
  auto outside = std::make_unique<Holder>(gone);
  EXPECT_EQ(arena.LiveObjects(), 1001);
  if (!Testing::UnderAddressSanitizer) {
    EXPECT_GT(arena.HeldBytes(), 1000 * sizeof(Holder));
  }

  for (Holder* object : objects) delete object;
  EXPECT_EQ(gone, 1001);
  EXPECT_EQ(arena.LiveObjects(), 0);
  if (!Testing::UnderAddressSanitizer) {
    // A freed object's memory serves the next one of its size.
    const std::size_t held = arena.HeldBytes();
    ScoreArena::Use use(arena, ScoreArena::kAbstract);
    Holder* again = new Holder(gone);
    EXPECT_EQ(again, objects[999]);
    EXPECT_EQ(arena.HeldBytes(), held);
    delete again;
  }
}

// An object may outlive its arena (a layout that took over a parsed object): the blocks stay
// until it goes, and it goes as any other.
TEST(ScoreArenaTest, BlocksStayUntilTheLastObjectGoesAfterTheArena) {
  int gone = 0;
  Holder* survivor = nullptr;
  {
    ScoreArena arena;
    ScoreArena::Use use(arena, ScoreArena::kAbstract);
    survivor = new Holder(gone);
    delete new Holder(gone);
  }
  survivor->text.assign(1000, 'y');
  EXPECT_EQ(survivor->text.size(), 1000u);
  delete survivor;
  EXPECT_EQ(gone, 2);
}

TEST(ScoreArenaTest, AUseLastsItsScopeOnItsThreadForItsFamily) {
  ScoreArena outer;
  ScoreArena inner;
  int gone = 0;
  std::unique_ptr<Holder> held[3];
  {
    ScoreArena::Use useOuter(outer, ScoreArena::kAbstract);
    {
      ScoreArena::Use useInner(inner, ScoreArena::kAbstract);
      held[0] = std::make_unique<Holder>(gone);
      std::thread([&] { held[1] = std::make_unique<Holder>(gone); }).join();
    }
    held[2] = std::make_unique<Holder>(gone);
  }
  EXPECT_EQ(inner.LiveObjects(), 1);
  EXPECT_EQ(outer.LiveObjects(), 1);
  for (auto& object : held) object.reset();
  EXPECT_EQ(inner.LiveObjects() + outer.LiveObjects(), 0);
  EXPECT_EQ(gone, 3);
}

// Debug builds stop where memory that is no live object of the families is released, instead of
// putting it on a free list twice and handing it to two objects later.
TEST(ScoreArenaDeathTest, ReleasingWhatIsNoLiveObjectStops) {
#ifdef NDEBUG
  GTEST_SKIP() << "objects are marked in debug builds only";
#else
  ScoreArena arena;
  ScoreArena::Use use(arena, ScoreArena::kGraphic);
  void* const once = ScoreArena::New(sizeof(Element), ScoreArena::kGraphic);
  ScoreArena::Delete(once);
  EXPECT_DEATH(ScoreArena::Delete(once), "mark == kLiveMark|use-after-free");

  // An element made as a member of something else, deleted as if it had been made on its own.
  struct Holder {
    std::uint64_t before[2] = {};
    Element element;
  };
  auto holder = std::make_unique<Holder>();
  EXPECT_DEATH(delete &holder->element, "mark == kLiveMark");
#endif
}

}  // namespace
