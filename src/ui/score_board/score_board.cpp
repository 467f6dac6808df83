#include "src/ui/score_board/score_board.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextStream>
#include <QThread>

#include <cmath>
#include <limits>

#include "src/ui/score_board/score_navigator.h"
#include "src/ui/score_board/score_painter.h"

namespace UI {

namespace {
const QColor ScoreInk(0, 0, 32);
const QColor Veil(144, 144, 144, 144);

// The phrases of the mistake flags, in flag order.
const char* const MistakePhrases[] = {"Early press, ",  "Late press, ",       "Early release, ",
                                      "Late release, ", "Note not pressed, ", "Wrong note, ",
                                      "MistakeProc, "};
}  // namespace

ScoreBoard::ScoreBoard(QWidget* parent) : ScoreBoard(parent, Qt::WindowFlags()) {}

// The first position always moves the mark.
ScoreBoard::ScoreBoard(QWidget* parent, Qt::WindowFlags flags)
    : MusicControl(parent, flags), lastTime(-std::numeric_limits<double>::infinity()) {
  connect(this, &ScoreBoard::TickRecieved, this, &ScoreBoard::UpdateScores, Qt::UniqueConnection);
}

ScoreBoard::~ScoreBoard() {
  CleanupCache();
}

void ScoreBoard::Create() {
  displayMode = Text;
  rowCount = 0;
  lettersMode = fingersMode = false;
  {
    QMutexLocker lock(&mutex);
    cacheState = None;
  }
  currentPage = 0;
  connect(this, &ScoreBoard::TickRecieved, this, &ScoreBoard::UpdateScores, Qt::UniqueConnection);
}

void ScoreBoard::Reset(std::shared_ptr<Core::ScoreSet> set) {
  scoreSet = std::move(set);
  Initialize();
  update();
  emit shownChanged();
}

void ScoreBoard::Initialize() {
  QMutexLocker lock(&mutex);
  cancelCaching = false;
  InitializeStub();
}

void ScoreBoard::InitializeStub() {
  QMutexLocker lock(&mutex);
  cacheState = scoreSet ? Ready : None;
  LayoutStaves();
}

void ScoreBoard::LayoutStaves() {
  rowCount = 1;
  if (cacheState == None) return;
  const Core::ScoresDescription* score = HandScore();
  const int used = score ? score->usedHeight : 0;
  if (height() > used && used != 0) rowCount = height() / used;
}

void ScoreBoard::CancelCache() {
  {
    QMutexLocker lock(&mutex);
    if (cacheState == Caching) cancelCaching = true;
  }
  if (cacheThread) {
    cacheThread->wait();
    delete cacheThread;
    cacheThread = nullptr;
  }
}

void ScoreBoard::CleanupCache() {
  CancelCache();
  QMutexLocker lock(&mutex);
  cacheState = None;
}

int ScoreBoard::GetState() const {
  QMutexLocker lock(&mutex);
  return cacheState;
}

const Core::ScoresDescription* ScoreBoard::HandScore() const {
  if (!scoreSet || handMode < 0 || handMode >= scoreSet->size()) return nullptr;
  return &(*scoreSet)[handMode];
}

Core::ScoresDescription* ScoreBoard::GetScore(int index) {
  if (!scoreSet || index < 0 || index >= scoreSet->size()) return nullptr;
  return &(*scoreSet)[index];
}

// Pages count from 0 here as in painting and in the navigator.
void ScoreBoard::ShowPage(int page) {
  const Core::ScoresDescription* score = HandScore();
  const int last = score ? int(score->pages.size()) - 1 : 0;
  currentPage = std::clamp(page, 0, std::max(last, 0));
  repaint();
}

void ScoreBoard::NextPage() {
  ShowPage(currentPage + 1);
}

void ScoreBoard::PrevPage() {
  ShowPage(currentPage - 1);
}

void ScoreBoard::GoToPage(int page) {
  ShowPage(page);
}

bool ScoreBoard::SetHandMode(unsigned int mode) {
  handMode = int(mode);
  ShowPage(markedPage);
  return true;
}

void ScoreBoard::G() {
  SetHandMode(0);
}

void ScoreBoard::F() {
  SetHandMode(1);
}

void ScoreBoard::Both() {
  SetHandMode(2);
}

void ScoreBoard::ChangeLettersMode(bool on) {
  if (lettersMode == on) return;
  lettersMode = on;
  repaint();
}

void ScoreBoard::ChangeFingersMode(bool on) {
  if (fingersMode == on) return;
  fingersMode = on;
  repaint();
}

void ScoreBoard::ChangePosition(double time) {
  if (std::abs(lastTime - time) < 1.0) return;
  lastTime = time;
  int page = 0;
  float x = 0;
  ScoreNavigator(HandScore()).GetGraphicsPosition(time, page, x);
  // Before the first note there is no place for the mark: it stays where it was.
  if (x < 0) return;
  currentPage = page;
  markX = x;
  emit TickRecieved();
}

void ScoreBoard::UpdateScores() {
  if (currentPage != markedPage) {
    repaint();
    return;
  }
  const int left = int(std::min(markX, paintedMarkX) - 12);
  const int width = int(std::abs(markX - paintedMarkX) + 24);
  repaint(QRect(left, 0, width, height()));
}

void ScoreBoard::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutStaves();
}

void ScoreBoard::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  switch (displayMode) {
    case Pages:
      PaintPages(event->rect());
      break;
    case Text:
      PaintText();
      break;
    case Exercise:
      // The score is placed by the board's own rectangle: a partial repaint (an overlay closing
      // above it) must not move it.
      PaintExcersiceScore(rect());
      break;
    case Mistakes:
      PaintMistakesScore();
      break;
    default:
      break;
  }
}

void ScoreBoard::PaintPages(const QRect& update) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(ScoreInk);
  painter.setBrush(Veil);
  if (GetState() == Caching) {
    painter.drawRect(update);
    painter.setPen(Qt::black);
    painter.drawText(20, 20, tr("Caching scores please wait..."));
    return;
  }
  const Core::ScoresDescription* score = HandScore();
  if (rowCount == 0 || cacheState == None || !score) return;
  ScorePainter pages(score, (lettersMode ? ScorePainter::Letters : 0u) |
                                (fingersMode ? ScorePainter::Fingers : 0u));
  const int first = currentPage / rowCount * rowCount;
  for (int i = first; i < first + rowCount && i < score->pages.size(); ++i) {
    pages.UpdatePage(painter, i, rowCount, update);
    if (i == currentPage) pages.UpdatePositionMark(painter, i, rowCount, markX, update);
  }
  markedPage = currentPage;
  paintedMarkX = markX;
}

void ScoreBoard::PaintWhiteField(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(255, 255, 255, 255));
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, width(), height());
}

void ScoreBoard::PaintText() {
  QPainter painter(this);
  PaintWhiteField(painter);
  painter.drawText(20, 20, text);
}

void ScoreBoard::PaintExcersiceScore(const QRect& area) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(ScoreInk);
  painter.setBrush(Veil);
  if (rowCount == 0 || cacheState == None || !scoreSet || scoreSet->isEmpty()) return;
  ScorePainter(&scoreSet->first(), 0).PaintExerciseScore(painter, area);
}

QRect ScoreBoard::shownRect() const {
  if (displayMode != Exercise || rowCount == 0 || cacheState == None || !scoreSet ||
      scoreSet->isEmpty())
    return {};
  return ScorePainter(&scoreSet->first(), 0).ExerciseScoreShownRect(rect());
}

QString ListMistakes(const QVector<ScoreBoardMistake>& mistakes) {
  QString list;
  QTextStream out(&list);
  for (const ScoreBoardMistake& mistake : mistakes) {
    out << "Note " << int(mistake.note) << " ";
    for (int bit = 0; bit < 7; ++bit)
      if (mistake.flags & (1 << bit)) out << MistakePhrases[bit];
    out << "Delay=" << mistake.delay << "\n";
  }
  out.flush();
  return list;
}

void ScoreBoard::PaintMistakesScore() {
  QPainter painter(this);
  PaintWhiteField(painter);
  painter.drawText(rect(), Qt::TextWordWrap, ListMistakes(mistakes));
}

}  // namespace UI
