#include "src/core/exercise/symbol_trainer.h"

#include <cstdlib>

#include "src/common/assertion.h"
#include "src/core/exercise/questions/allowed_ids.h"
#include "src/core/exercise/questions/question_shapes.h"
#include "src/core/exercise/questions/tempo_pool.h"
#include "src/core/exercise/questions/variant_providers.h"
#include "src/core/exercise/symbol_tables.h"
#include "src/core/exercise/theory/tempo.h"
#include "src/core/exercise/trainer_support.h"
#include "src/core/settings/settings_manager.h"

namespace Core {

namespace SymbolTrainer {
std::vector<QuestionData> LengthPool;
std::vector<QuestionData> SignaturesPool;
std::vector<QuestionTempoData> TempoPool;
std::vector<QuestionData> LoudnessPool;
std::vector<QuestionData> ModifiersPool;
}  // namespace SymbolTrainer

namespace {

using namespace TrainerSupport;

enum Section : unsigned long {
  LengthSection = 0,
  SignaturesSection = 1,
  TempoSection = 2,
  LoudnessSection = 3,
  ModifiersSection = 4,
};

using LengthValidator = SimpleValidator<LengthSettings, &ValidateLengthQuestion>;
using SignatureValidator = SimpleValidator<KeySignaturesSettings, &ValidateSignatureQuestion>;
using LoudnessValidator = SimpleValidator<LoudnessSettings, &ValidateLoudnessQuestion>;
using ModifiersValidator = SimpleValidator<NoteModifiersSettings, &ValidateModifiersQuestion>;

template <class Rows>
void FillPool(std::vector<QuestionData>& pool, const Rows& rows) {
  if (!pool.empty()) return;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    QuestionData entry;
    entry.Id = static_cast<int>(i);
    entry.Picture = rows[i].picture;
    entry.Text = rows[i].name;
    pool.push_back(entry);
  }
}

void Init() {
  using namespace SymbolTrainer;
  FillPool(LengthPool, LengthSymbols());
  FillPool(ModifiersPool, ModifierSymbols());
  FillPool(LoudnessPool, LoudnessSymbols());
  GenerateTempoPool(TempoPool);
  if (SignaturesPool.empty()) {
    const auto& rows = SignatureSymbols();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      QuestionData entry;
      entry.Id = static_cast<int>(i);
      entry.Picture = rows[i].treblePicture;
      entry.Text = rows[i].name;
      SignaturesPool.push_back(entry);
    }
  }
}

// The section's pool as plain variant records.
const QuestionData* Entry(int section, int id) {
  using namespace SymbolTrainer;
  switch (section) {
    case LengthSection:
      return PoolEntry(LengthPool, id);
    case SignaturesSection:
      return PoolEntry(SignaturesPool, id);
    case TempoSection:
      return PoolEntry(TempoPool, id);
    case LoudnessSection:
      return PoolEntry(LoudnessPool, id);
    case ModifiersSection:
      return PoolEntry(ModifiersPool, id);
    default:
      return nullptr;
  }
}

}  // namespace

// The symbol pools hold a few dozen entries each: their lists are taken afresh for every
// question. Only the tempo pool is large enough to be worth keeping.
struct ExerciseSymbolTrainer::AllowedQuestions {
  TempoIdsCache tempos;
};

ExerciseSymbolTrainer::ExerciseSymbolTrainer() : m_allowed(std::make_unique<AllowedQuestions>()) {
  Reset();
}

ExerciseSymbolTrainer::~ExerciseSymbolTrainer() {
  ShutdownExercise();
}

void ExerciseSymbolTrainer::DoCreateSections(std::vector<SectionInfo>& sections) {
  AddSections(sections, {{"Note Lengths", "Train Note Lengths"},
                         {"Key Signatures", "Train Key Signatures"},
                         {"Tempo", "Train Tempo"},
                         {"Loudness", "Train Loudness"},
                         {"Note Modifiers", "Train Note Modifiers"}});
  static bool initialised = false;
  if (!initialised) {
    initialised = true;
    Init();
  }
}

void ExerciseSymbolTrainer::ApplySettings() {
  const SettingsManager* manager = GetSettingsManager();
  if (!manager) return;
  const SheetMusicSymbolsSettings& trainer = manager->GetExcersiseSettings().sheetMusicSymbols;
  ApplySectionSettings({trainer.length.duration, trainer.signatures.duration,
                        trainer.tempo.duration, trainer.loudness.duration,
                        trainer.noteModifiers.duration});
}

void ExerciseSymbolTrainer::DoCreateQuestionPool(unsigned long, std::vector<Question>& pool) {
  AddPlaceholder(pool, QT_SYMBOL, AM_VARIANT);
}

void ExerciseSymbolTrainer::DoPrepareQuestion(unsigned long section, Question& question) {
  using namespace SymbolTrainer;
  const SettingsManager* manager = GetSettingsManager();
  MELVARIN_ASSERT(manager);
  question.Type = QT_SYMBOL;
  question.AnswerMethods = AM_VARIANT;
  SheetMusicSymbolsSettings settings = manager->GetExcersiseSettings().sheetMusicSymbols;
  std::vector<int> ids;
  int correct = 0;

  switch (section) {
    case LengthSection: {
      LengthValidator validator(&settings.length);
      correct = GenerateQuestionData(AllowedIds(LengthPool.size(), validator), ids, nullptr);
      TakeVariants(question, LengthPool, ids, correct);
      break;
    }
    case TempoSection: {
      correct = GenerateQuestionData(m_allowed->tempos.Get(TempoPool.size(), settings.tempo), ids,
                                     &TempoVariantProvider);
      TakeVariants(question, TempoPool, ids, correct);
      // The buttons show what the term means; the statistics keep its name.
      for (std::size_t i = 0; i < ids.size(); ++i)
        question.VariantData[i].Text =
            GetTempoDescr(static_cast<unsigned int>(ids[i]) / MaxMelodiesPerTempo);
      break;
    }
    case LoudnessSection: {
      LoudnessValidator validator(&settings.loudness);
      correct = GenerateQuestionData(AllowedIds(LoudnessPool.size(), validator), ids, nullptr);
      TakeVariants(question, LoudnessPool, ids, correct);
      break;
    }
    case ModifiersSection: {
      ModifiersValidator validator(&settings.noteModifiers);
      correct = GenerateQuestionData(AllowedIds(ModifiersPool.size(), validator), ids, nullptr);
      TakeVariants(question, ModifiersPool, ids, correct);
      break;
    }
    default: {
      // Key signatures, each button's picture in a clef of its own.
      SignatureValidator validator(&settings.signatures);
      correct = GenerateQuestionData(AllowedIds(SignaturesPool.size(), validator), ids, nullptr);
      TakeVariants(question, SignaturesPool, ids, correct);
      const auto& rows = SignatureSymbols();
      for (std::size_t i = 0; i < ids.size(); ++i) {
        const SignatureRow& row = rows[static_cast<std::size_t>(ids[i])];
        question.VariantData[i].Picture =
            (std::rand() & 1) != 0 ? row.bassPicture : row.treblePicture;
      }
      break;
    }
  }
}

unsigned int ExerciseSymbolTrainer::GetSupportedAnswerMethods(const Question&) {
  return 1;
}

bool ExerciseSymbolTrainer::CanUseMidiIn() {
  return false;
}

QString ExerciseSymbolTrainer::GetQuestionTextById(int section, int id) {
  const QuestionData* entry = Entry(section, id);
  return entry ? OnOneLine(entry->Text) : QString();
}

QString ExerciseSymbolTrainer::GetGroupTextById(int section, int id) {
  return GetQuestionTextById(section, id);
}

bool ExerciseSymbolTrainer::CompareQuestionGroup(int section, int id1, int id2) {
  if (section == TempoSection && id1 >= 0 && id2 >= 0)
    return TempoVariantProvider.CompareVariants(static_cast<unsigned long>(id1),
                                                static_cast<unsigned long>(id2));
  return id1 == id2;
}

void ExerciseSymbolTrainer::GetQuestionGroups(int section, std::vector<int>& groups) {
  using namespace SymbolTrainer;
  std::size_t size = 0;
  switch (section) {
    case TempoSection:
      GetTempoGroups(groups);
      return;
    case LengthSection:
      size = LengthPool.size();
      break;
    case SignaturesSection:
      size = SignaturesPool.size();
      break;
    case LoudnessSection:
      size = LoudnessPool.size();
      break;
    case ModifiersSection:
      size = ModifiersPool.size();
      break;
    default:
      return;
  }
  for (std::size_t id = 0; id < size; ++id) groups.push_back(static_cast<int>(id));
}

}  // namespace Core
