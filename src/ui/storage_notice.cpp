#include "src/ui/storage_notice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QWidget>

#include "src/ui/message_dialogs.h"
#include "src/ui/verbatim_html.h"

namespace UI {

namespace {

// One notice about the files per window: a second one replaces the words of the first.
const QString StorageNotice = QStringLiteral("storageNotice");

QString tr(const char* text) {
  return QCoreApplication::translate("UI::StorageNotice", text);
}

QString Bold(const QString& text) {
  return QStringLiteral("<b>%1</b>").arg(VerbatimHtml(text));
}

QString FileName(const QString& path) {
  return Bold(QFileInfo(path).fileName());
}

// What the file keeps, as a clause after its name.
QString Holding(Core::StorageProblem::Content content) {
  switch (content) {
    case Core::StorageProblem::Statistics:
      return tr("which holds your statistics");
    case Core::StorageProblem::LessonStatistics:
      return tr("which holds the answers of your current lesson");
    case Core::StorageProblem::UsageRecord:
      return tr("which holds how often you used each trainer");
    case Core::StorageProblem::Settings:
      return tr("which holds your settings");
  }
  return {};
}

// The folders the files lie in, so the learner can find them and the copies beside them.
QString Folders(const std::vector<Core::StorageProblem>& problems) {
  QStringList folders;
  for (const Core::StorageProblem& problem : problems) {
    const QString folder = QDir::toNativeSeparators(QFileInfo(problem.path).absolutePath());
    if (!folders.contains(folder)) folders << folder;
  }
  for (QString& folder : folders) folder = VerbatimHtml(folder);
  return tr("The files are in %1.").arg(folders.join(tr(" and ")));
}

}  // namespace

QString DescribeStorageProblem(const Core::StorageProblem& problem) {
  const QString file = FileName(problem.path);
  const QString holding = Holding(problem.content);
  const QString reason = problem.reason.toHtmlEscaped();
  switch (problem.kind) {
    case Core::StorageProblem::Damaged:
      if (problem.keptCopy.isEmpty())
        return tr("%1, %2, is damaged. Everything in it that could still be read is used, but the "
                  "file is left as it is, because no copy of it could be kept (%3).")
            .arg(file, holding, reason);
      return tr("%1, %2, was damaged. Everything in it that could still be read is kept, and a "
                "copy of the file as it was is kept as %3.")
          .arg(file, holding, FileName(problem.keptCopy));
    case Core::StorageProblem::NewerVersion: {
      QString text = tr("%1, %2, was made by a newer version of Melvarin Studio. It is used but "
                        "not changed, so what you do now is not saved in it.")
                         .arg(file, holding);
      if (!problem.keptCopy.isEmpty())
        text +=
            QLatin1Char(' ') + tr("A copy of it is kept as %1.").arg(FileName(problem.keptCopy));
      return text;
    }
    case Core::StorageProblem::Unreadable:
      return tr("%1, %2, could not be read (%3). It is left as it is, and what you do now is not "
                "saved in it.")
          .arg(file, holding, reason);
    case Core::StorageProblem::Unwritable:
      return tr("%1, %2, could not be saved (%3). What it should hold is kept until you close "
                "the program.")
          .arg(file, holding, reason);
    case Core::StorageProblem::TooLarge:
      if (problem.keptCopy.isEmpty())
        return tr("%1, %2, is far larger than it could ever grow, so it was not read. It could "
                  "not be put aside (%3): it is left as it is, and what you do now is not saved "
                  "in it.")
            .arg(file, holding, reason);
      return tr("%1, %2, was far larger than it could ever grow, so it was not read. It is kept "
                "as %3, and a new one is started.")
          .arg(file, holding, FileName(problem.keptCopy));
    case Core::StorageProblem::NearlyFull:
      return tr("%1, %2, has grown to %3. Once it is full, the answers that do not fit are kept "
                "only until you close the program. Clearing the statistics of a trainer makes "
                "room again.")
          .arg(file, holding, reason);
  }
  return {};
}

bool StorageNoticeShown(QWidget* window) {
  const auto* notice = window->findChild<QWidget*>(StorageNotice, Qt::FindDirectChildrenOnly);
  return notice && notice->isVisible();
}

NoticeDialog* TellStorageProblems(QWidget* window,
                                  const std::vector<Core::StorageProblem>& problems) {
  if (!window || problems.empty()) return nullptr;
  QStringList paragraphs;
  for (const Core::StorageProblem& problem : problems)
    paragraphs << DescribeStorageProblem(problem);
  paragraphs << Folders(problems);
  return ShowNotice(window, StorageNotice, tr("A problem with your files"), paragraphs);
}

NoticeDialog* TellLessonUnsaved(QWidget* window,
                                const std::vector<Core::StorageProblem>& problems) {
  if (!window || problems.empty()) return nullptr;
  QStringList paragraphs;
  for (const Core::StorageProblem& problem : problems)
    paragraphs << tr("The answers of this lesson could not be saved to %1, %2 (%3).")
                      .arg(FileName(problem.path), Holding(problem.content),
                           problem.reason.toHtmlEscaped());
  paragraphs << tr("They are kept until you close the program.") << Folders(problems);
  return ShowNotice(window, StorageNotice, tr("Answers not saved"), paragraphs);
}

}  // namespace UI
