#pragma once

// Tells the learner in plain words when the files that keep their data could not be read or
// written: which file, what happened, and where a copy of a damaged file was kept. The notice
// shows in the warning dialog's look over the main window.

#include <QString>

#include <vector>

#include "src/core/xml_file/storage_problem.h"

class QWidget;

namespace UI {

class NoticeDialog;

// One paragraph (rich text) about one problem.
QString DescribeStorageProblem(const Core::StorageProblem& problem);

// Whether a notice about the files is up over `window`.
bool StorageNoticeShown(QWidget* window);

// A notice over `window` about `problems` that the files met while they were read or saved.
// Returns the dialog shown, or null when there was nothing to tell or no window to tell it in.
NoticeDialog* TellStorageProblems(QWidget* window,
                                  const std::vector<Core::StorageProblem>& problems);

// At the end of a lesson: its answers could not be saved to the files of `problems`.
NoticeDialog* TellLessonUnsaved(QWidget* window, const std::vector<Core::StorageProblem>& problems);

}  // namespace UI
