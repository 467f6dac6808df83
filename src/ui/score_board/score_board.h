#pragma once

// The widget that shows rendered scores: pages of lesson scores in rows with overlays and a
// play-position mark (display mode 0), a plain text (1), an exercise score placed by its first
// system and staff (2), or the list of recorded mistakes (3).

#include <QMutex>
#include <QString>
#include <QVector>

#include <memory>

#include "src/core/score_builder/score_records.h"
#include "src/ui/music_control.h"

class QThread;

namespace UI {

enum ScoreBoardDisplayMode : int { Pages = 0, Text = 1, Exercise = 2, Mistakes = 3 };
enum ScoreBoardCacheState : int { None = 0, Caching = 1, Ready = 2 };

enum ScoreBoardMistakeFlags : int {
  EarlyPress = 1,
  LatePress = 2,
  EarlyRelease = 4,
  LateRelease = 8,
  NoteNotPressed = 16,
  WrongNote = 32,
  MistakeProc = 64,
};

struct ScoreBoardMistake {
  unsigned char note = 0;
  int flags = 0;
  double delay = 0;
};

// The list display mode 3 shows: per mistake "Note", the note, its flags' phrases and the delay.
QString ListMistakes(const QVector<ScoreBoardMistake>& mistakes);

class ScoreBoard : public MusicControl {
  Q_OBJECT

 public:
  explicit ScoreBoard(QWidget* parent);
  ScoreBoard(QWidget* parent, Qt::WindowFlags flags);
  ~ScoreBoard() override;

  void Create();
  // Shows set (null allowed) and schedules a repaint.
  void Reset(std::shared_ptr<Core::ScoreSet> set);
  void Initialize();
  void InitializeStub();
  void LayoutStaves();
  void CancelCache();
  void CleanupCache();
  int GetState() const;
  void GoToPage(int page);
  bool SetHandMode(unsigned int mode);
  Core::ScoresDescription* GetScore(int index);
  // Thread-safe: the repaint reaches the board's thread through TickRecieved.
  void ChangePosition(double time);

  void PaintText();
  void PaintExcersiceScore(const QRect& rect);
  // The part of the board that the exercise score covers; empty in other display modes or
  // without a score.
  QRect shownRect() const;
  void PaintMistakesScore();

  // Written directly by the owner.
  int displayMode = Text;
  int handMode = 2;
  QString text;
  QVector<ScoreBoardMistake> mistakes;

  int RowCount() const { return rowCount; }
  int CurrentPage() const { return currentPage; }
  float MarkX() const { return markX; }

 signals:
  void TickRecieved();
  // A new set is shown (Reset): what the board covers may have changed.
  void shownChanged();

 public slots:
  void NextPage();
  void PrevPage();
  void UpdateScores();
  void F();
  void G();
  void Both();
  void ChangeLettersMode(bool on);
  void ChangeFingersMode(bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The entry shown in display mode 0; null without a set or for a hand the set lacks.
  const Core::ScoresDescription* HandScore() const;
  void ShowPage(int page);
  void PaintPages(const QRect& update);
  void PaintWhiteField(QPainter& painter);

  int rowCount = 0;
  std::shared_ptr<Core::ScoreSet> scoreSet;
  int markedPage = 0;
  int currentPage = 0;
  double lastTime;
  float markX = 0;
  float paintedMarkX = 0;
  bool lettersMode = false;
  bool fingersMode = false;
  bool cancelCaching = false;
  int cacheState = None;
  mutable QRecursiveMutex mutex;
  QThread* cacheThread = nullptr;
};

}  // namespace UI
