// Feeds every file of each fuzz target's corpus to the target's entry function, as the libFuzzer
// program would, so that what the fuzzer found once stays found in every build.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "ARMusic.h"
#include "GRMusic.h"
#include "fuzz/fuzz_targets.h"

namespace {

struct Target {
  const char* name;
  const char* corpus;
  int (*entry)(const std::uint8_t*, std::size_t);
};

class FuzzCorpus : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzCorpus, EveryInputPassesTheTarget) {
  const QDir folder(QStringLiteral(MELVARIN_FUZZ_CORPORA "/") + GetParam().corpus);
  const QStringList names = folder.entryList(QDir::Files);
  ASSERT_GE(names.size(), 10) << "corpus missing at " << folder.path().toStdString();
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(GetParam().entry(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())),
              0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpus,
                         ::testing::Values(Target{"midi_file", "midi_file", &Fuzz::ReadMidiFile},
                                           Target{"rmn", "rmn", &Fuzz::ParseRmn},
                                           Target{"rmn_layout", "rmn_layout", &Fuzz::LayoutRmn},
                                           Target{"rmn_draw", "rmn_layout", &Fuzz::DrawRmn},
                                           Target{"rmn_layout_engine_limits", "rmn_engine_limits",
                                                  &Fuzz::LayoutRmnAtEngineLimits},
                                           Target{"rmn_draw_engine_limits", "rmn_engine_limits",
                                                  &Fuzz::DrawRmnAtEngineLimits}),
                         [](const auto& test) { return std::string(test.param.name); });

// The fast targets lower the engine's work limits for their own runs only: the engine-limit
// targets, run after them in one program, must see the engine's limits again.
TEST(FuzzWorkLimits, FastTargetsLeaveTheEnginesLimitsAsTheyFoundThem) {
  const double passWork = ARMusic::sMaxPassWork;
  const double layoutWork = GRMusic::sMaxLayoutWork;
  const std::string text = "[ \\meter<\"1/800\"> c*120/4 ]";
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  for (auto entry : {&Fuzz::ParseRmn, &Fuzz::LayoutRmn, &Fuzz::DrawRmn}) {
    EXPECT_EQ(entry(bytes, text.size()), 0);
    EXPECT_EQ(ARMusic::sMaxPassWork, passWork);
    EXPECT_EQ(GRMusic::sMaxLayoutWork, layoutWork);
  }
}

}  // namespace
