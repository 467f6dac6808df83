#include <mutex>

#include "src/core/exercise/records/meta_types.h"
#include "src/core/exercise/records/question.h"

namespace Core {

// Out of line so that the vtable lives in one object file.
QuestionData::~QuestionData() = default;

void RegisterRecordMetaTypes() {
  static std::once_flag once;
  std::call_once(once, [] {
    qRegisterMetaType<Core::Answer>("Core::Answer");
    qRegisterMetaType<Core::PlaybackState>("Core::PlaybackState");
  });
}

}  // namespace Core
