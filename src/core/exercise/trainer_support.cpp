#include "src/core/exercise/trainer_support.h"

#include <QCoreApplication>

#include "src/core/exercise/theory/key_geometry.h"

namespace Core::TrainerSupport {

void AddSections(std::vector<SectionInfo>& sections, std::initializer_list<SectionName> names) {
  for (const SectionName& name : names)
    sections.push_back({QCoreApplication::translate("QApplication", name.name),
                        QCoreApplication::translate("QApplication", name.description)});
}

void AddPlaceholder(std::vector<Question>& pool, unsigned int type, unsigned int answerMethods) {
  Question placeholder;
  placeholder.Type = type;
  placeholder.AnswerMethods = answerMethods;
  placeholder.GClef = false;
  pool.push_back(placeholder);
}

unsigned int GroupOf(const QuestionNoteData& entry) {
  return GetNoteType(static_cast<unsigned char>(entry.Key));
}

QString OnOneLine(QString text) {
  return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

}  // namespace Core::TrainerSupport
