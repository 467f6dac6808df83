#include "src/core/exercise/symbol_trainer.h"

#include <QCoreApplication>

#include <cstdlib>

#include "src/common/assertion.h"
#include "src/core/exercise/questions/question_shapes.h"
#include "src/core/exercise/questions/tempo_pool.h"
#include "src/core/exercise/questions/validators.h"
#include "src/core/exercise/questions/variant_providers.h"
#include "src/core/exercise/symbol_tables.h"
#include "src/core/exercise/theory/tempo.h"
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
  if (id < 0) return nullptr;
  const auto index = static_cast<std::size_t>(id);
  switch (section) {
    case LengthSection:
      return index < LengthPool.size() ? &LengthPool[index] : nullptr;
    case SignaturesSection:
      return index < SignaturesPool.size() ? &SignaturesPool[index] : nullptr;
    case TempoSection:
      return index < TempoPool.size() ? &TempoPool[index] : nullptr;
    case LoudnessSection:
      return index < LoudnessPool.size() ? &LoudnessPool[index] : nullptr;
    case ModifiersSection:
      return index < ModifiersPool.size() ? &ModifiersPool[index] : nullptr;
    default:
      return nullptr;
  }
}

}  // namespace

ExerciseSymbolTrainer::ExerciseSymbolTrainer() {
  Reset();
}

ExerciseSymbolTrainer::~ExerciseSymbolTrainer() {
  ShutdownExercise();
}

void ExerciseSymbolTrainer::DoCreateSections(std::vector<SectionInfo>& sections) {
  const char* const names[][2] = {{"Note Lengths", "Train Note Lengths"},
                                  {"Key Signatures", "Train Key Signatures"},
                                  {"Tempo", "Train Tempo"},
                                  {"Loudness", "Train Loudness"},
                                  {"Note Modifiers", "Train Note Modifiers"}};
  for (const auto& name : names)
    sections.push_back({QCoreApplication::translate("QApplication", name[0]),
                        QCoreApplication::translate("QApplication", name[1])});
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
  ExerciseCommonSettings common = GetCommonSettings();
  const ExerciseDuration durations[] = {trainer.length.duration, trainer.signatures.duration,
                                        trainer.tempo.duration, trainer.loudness.duration,
                                        trainer.noteModifiers.duration};
  if (common.Sections.size() < 5) common.Sections.resize(5);
  for (std::size_t i = 0; i < 5; ++i) {
    common.Sections[i].QuestionCount =
        static_cast<unsigned int>(std::max(durations[i].questions, 0));
    common.Sections[i].TimePerQuestion = durations[i].seconds * 1000;
  }
  common.Instrument = static_cast<unsigned char>(manager->globalSettings.midiInstrument);
  SetCommonSettings(common);
}

void ExerciseSymbolTrainer::DoCreateQuestionPool(unsigned long, std::vector<Question>& pool) {
  Question placeholder;
  placeholder.Type = QT_SYMBOL;
  placeholder.AnswerMethods = AM_VARIANT;
  placeholder.GClef = false;
  pool.push_back(placeholder);
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

  const auto take = [&](const auto& pool) {
    question.CorrectVariant = static_cast<unsigned long>(correct);
    for (int id : ids) question.VariantData.push_back(pool[static_cast<std::size_t>(id)]);
  };

  switch (section) {
    case LengthSection: {
      LengthValidator validator(&settings.length);
      correct = GenerateQuestionData(LengthPool.size(), &validator, ids, nullptr);
      take(LengthPool);
      break;
    }
    case TempoSection: {
      TempoValidator validator(&settings.tempo);
      correct = GenerateQuestionData(TempoPool.size(), &validator, ids, &TempoVariantProvider);
      take(TempoPool);
      // The buttons show what the term means; the statistics keep its name.
      for (std::size_t i = 0; i < ids.size(); ++i)
        question.VariantData[i].Text =
            GetTempoDescr(static_cast<unsigned int>(ids[i]) / MaxMelodiesPerTempo);
      break;
    }
    case LoudnessSection: {
      LoudnessValidator validator(&settings.loudness);
      correct = GenerateQuestionData(LoudnessPool.size(), &validator, ids, nullptr);
      take(LoudnessPool);
      break;
    }
    case ModifiersSection: {
      ModifiersValidator validator(&settings.noteModifiers);
      correct = GenerateQuestionData(ModifiersPool.size(), &validator, ids, nullptr);
      take(ModifiersPool);
      break;
    }
    default: {
      // Key signatures, each button's picture in a clef of its own.
      SignatureValidator validator(&settings.signatures);
      correct = GenerateQuestionData(SignaturesPool.size(), &validator, ids, nullptr);
      take(SignaturesPool);
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
  if (!entry) return QString();
  QString text = entry->Text;
  return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
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
