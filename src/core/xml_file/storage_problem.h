#pragma once

// What went wrong with one of the files that keep the learner's data, for the screens to tell the
// learner in their own words.

#include <QString>

namespace Core {

struct StorageProblem {
  enum Kind {
    Damaged,       // not readable whole: what could be read is used, the file as found is kept
    NewerVersion,  // made by a newer version: used from memory, the file itself left alone
    Unreadable,    // there, but could not be read: left alone, nothing is saved to it
    Unwritable,    // could not be written: what it should hold lives on in memory
    TooLarge,      // far larger than the data could ever make it: not read, put aside as found
    NearlyFull,    // nears the largest size that is read; `reason` tells its size and that bound
  };
  // Whose data the file holds.
  enum Content { Statistics, LessonStatistics, UsageRecord, Settings };

  Kind kind = Damaged;
  Content content = Statistics;
  QString path;
  QString reason;    // the system's words for a failure; may be empty
  QString keptCopy;  // where the file as it was found was kept; empty when no copy was made

  bool operator==(const StorageProblem&) const = default;
};

}  // namespace Core
