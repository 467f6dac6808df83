#pragma once

// Renders RMN text through the notation engine into a rendered score: every laid-out page drawn
// into a pixmap at device pixel ratio 1, the page and score geometry, and for exercise scores the
// boxes of the single notes read back from the page's symbol map. GUI thread only (the engine is
// single-threaded); one build at a time per builder.

#include <memory>
#include <string>

#include "src/core/score_builder/score_records.h"

class QRazidPainter;

namespace Core {

class LessonScoreProvider;

class ScoreBuilder {
 public:
  enum ScoreMode : int {
    QuarterScreen = 0,  // rows of a quarter of the screen height
    ThirdScreen = 1,    // rows of a third of the screen height
    ExerciseScore = 2,  // one 1050 x 350 page with note boxes
  };

  ScoreBuilder() = default;
  // hand: 0 treble staff, 1 bass staff, 2 both staves (which need no vertical margins).
  ScoreBuilder(const std::shared_ptr<LessonScoreProvider>& provider, int hand);
  ~ScoreBuilder();
  ScoreBuilder(const ScoreBuilder&) = delete;
  ScoreBuilder& operator=(const ScoreBuilder&) = delete;

  // Throws Error RmnRendering ("bad rmn code") for text the engine cannot lay out; target is
  // then unchanged. Pages and boxes are appended, so target is expected to be empty.
  void BuildScores(const std::string& rmn, ScoresDescription& target, ScoreMode mode);
  // Releases a painter left by a build that threw.
  void Cleanup();

 private:
  void InitializePainter(const std::string& rmn);
  void BuildPage(int index);
  void MeasureUsedArea(int index, ScorePageDescription& page);
  void ReadExerciseGeometry(ScorePageDescription& page);

  QRazidPainter* painter = nullptr;
  int hand = 0;
  ScoreMode mode = QuarterScreen;
  std::shared_ptr<LessonScoreProvider> provider;
  ScoresDescription* target = nullptr;
  int rowHeight = 0;
  int imageHeight = 0;
  int imageWidth = 0;
};

// Appends the opening of a one-staff voice (staff, clef, automatic stems) and returns the new
// length of text.
std::string::size_type getRazidBegin(std::string& text, bool trebleClef);

}  // namespace Core
