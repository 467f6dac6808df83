// Feeds every file of each fuzz target's corpus to the target's entry function, as the libFuzzer
// program would, so that what the fuzzer found once stays found in every build.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "ARMusic.h"
#include "GRMusic.h"
#include "fuzz/fuzz_targets.h"

namespace {

struct Target {
  const char* name;
  const char* corpus;
  int (*entry)(const std::uint8_t*, std::size_t);
  // How many texts one test replays; 0 for the whole corpus. The engine-limit targets spend up to
  // seconds on a text in an unoptimised build, and the layout corpus holds thousands of texts:
  // those corpora are replayed a slice at a time, so that each test stays far inside its time
  // limit on a busy machine, under a sanitizer too, however the corpus grows.
  int textsPerShard;
};

const Target Targets[] = {
    {"midi_file", "midi_file", &Fuzz::ReadMidiFile, 0},
    {"rmn", "rmn", &Fuzz::ParseRmn, 0},
    {"rmn_layout", "rmn_layout", &Fuzz::LayoutRmn, 1000},
    {"rmn_draw", "rmn_layout", &Fuzz::DrawRmn, 1000},
    {"rmn_layout_engine_limits", "rmn_engine_limits", &Fuzz::LayoutRmnAtEngineLimits, 100},
    {"rmn_draw_engine_limits", "rmn_engine_limits", &Fuzz::DrawRmnAtEngineLimits, 100},
    {"picture", "picture", &Fuzz::ReadPicture, 0},
};

QStringList CorpusFiles(const Target& target) {
  return QDir(QStringLiteral(MELVARIN_FUZZ_CORPORA "/") + target.corpus).entryList(QDir::Files);
}

// One slice of a corpus: every `count`-th text from the `index`-th on.
struct Shard {
  const Target* target;
  int index;
  int count;
};

// Names the slice in the listing of tests, instead of its bytes.
void PrintTo(const Shard& shard, std::ostream* out) {
  *out << shard.target->name << " texts " << shard.index + 1 << ", "
       << shard.index + 1 + shard.count << ", …";
}

std::vector<Shard> AllShards() {
  std::vector<Shard> shards;
  for (const Target& target : Targets) {
    const int texts = int(CorpusFiles(target).size());
    const int count = target.textsPerShard > 0
                          ? std::max(1, (texts + target.textsPerShard - 1) / target.textsPerShard)
                          : 1;
    for (int index = 0; index < count; ++index) shards.push_back({&target, index, count});
  }
  return shards;
}

class FuzzCorpus : public ::testing::TestWithParam<Shard> {};

TEST_P(FuzzCorpus, EveryInputPassesTheTarget) {
  const Shard& shard = GetParam();
  const QStringList names = CorpusFiles(*shard.target);
  ASSERT_GE(names.size(), 10) << "corpus missing at " << MELVARIN_FUZZ_CORPORA << "/"
                              << shard.target->corpus;
  const QDir folder(QStringLiteral(MELVARIN_FUZZ_CORPORA "/") + shard.target->corpus);
  for (qsizetype i = shard.index; i < names.size(); i += shard.count) {
    const QString& name = names[i];
    SCOPED_TRACE(name.toStdString());
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(shard.target->entry(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                  static_cast<std::size_t>(bytes.size())),
              0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpus, ::testing::ValuesIn(AllShards()),
                         [](const auto& test) {
                           const Shard& shard = test.param;
                           std::string name = shard.target->name;
                           if (shard.count > 1)
                             name += "_slice" + std::to_string(shard.index + 1) + "of" +
                                     std::to_string(shard.count);
                           return name;
                         });

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
