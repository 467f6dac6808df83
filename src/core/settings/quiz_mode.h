#pragma once

// The process-wide learn/quiz switch. The home screen sets it when the learner picks a lesson
// (false) or a quiz (true); the settings manager reads it to hand out the right trainer settings.
//
// The application object owns the switch: its IsQuizMode/SetQuizMode forward to this flag, which
// lives here so that the settings and the exercise engine need no application object. It is
// atomic because the timer thread reads the trainer settings (and so the flag) while the GUI
// thread may change it; a plain load is all a reader needs.

#include <atomic>

namespace Core {

inline std::atomic<bool>& QuizModeFlag() {
  static std::atomic<bool> flag{false};
  return flag;
}

inline bool IsQuizMode() {
  return QuizModeFlag().load(std::memory_order_relaxed);
}
inline void SetQuizMode(bool quiz) {
  QuizModeFlag().store(quiz, std::memory_order_relaxed);
}

}  // namespace Core
