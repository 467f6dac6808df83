#include "src/ui/range_selectors.h"

#include <algorithm>

#include "src/core/exercise/theory/key_geometry.h"
#include "src/core/settings/exercise_settings.h"

namespace UI {

namespace {
const QString Folder = QStringLiteral(":/PIX/pixmap/interval/");
QPixmap LoadPicture(const char* name) {
  return QPixmap(Folder + QLatin1String(name) + QStringLiteral(".png"));
}
}  // namespace

GkcRangeSelectorControl::GkcRangeSelectorControl(QWidget* parent) : RangeControlBase(parent) {
  const char* plain[PictureCount] = {"root_bg_bass_treble", "root_bg_bass", "root_bg_treble",
                                     "root_fg"};
  const char* limited[PictureCount] = {"root_bg_bass_treble_limited", "root_bg_bass_limited",
                                       "root_bg_treble_limited", "root_fg_limited"};
  for (int i = 0; i < PictureCount; ++i) {
    m_pictures[i] = LoadPicture(plain[i]);
    m_limitedPictures[i] = LoadPicture(limited[i]);
  }
  m_leftHandle = LoadPicture("root_left");
  m_rightHandle = LoadPicture("root_right");
  m_topEdge = LoadPicture("root_top");
  m_bottomEdge = LoadPicture("root_bottom");
  m_overlayOrigin = QRect(QPoint(11, 31), QPoint(634, 84));
  m_track = QRect(QPoint(11, 27), QPoint(634, 80));
  m_overhang = 9;
  m_positionCount = int(Core::WhiteKeyCount);
  // The widget keeps the background's size even while its picture is missing.
  setFixedSize(m_pictures[BothClefs].isNull() ? QSize(650, 105) : m_pictures[BothClefs].size());
  SetGKeyMode(true, true);
}

void GkcRangeSelectorControl::SetGKeyMode(bool treble, bool bass) {
  using Diapason = Core::NotesDiapason;
  m_treble = treble;
  m_bass = bass;
  const QPixmap* set = m_limited ? m_limitedPictures : m_pictures;
  m_background = set[treble && bass ? BothClefs : bass ? BassClef : TrebleClef];
  m_overlay = set[Overlay];
  const int highest =
      treble ? (m_limited ? Diapason::GMaxLimited : Diapason::GMaxNote) : Diapason::FMax;
  const int lowest = bass ? (m_limited ? Diapason::FMinLimited : Diapason::FMin) : Diapason::GMin;
  m_lowestLeft = std::max(0, int(Core::NoteToWhiteIndex(unsigned(lowest + 1))));
  m_highestRight =
      std::min(int(Core::WhiteKeyCount), int(Core::NoteToNextWhiteIndex(unsigned(highest + 1))));
  int left = 0;
  int right = 0;
  GetRange(left, right);
  SetRange(left, right);
  update();
}

void GkcRangeSelectorControl::SetLimited(bool limited) {
  m_limited = limited;
  SetGKeyMode(m_treble, m_bass);
  m_minimumSpan = 1;
  int left = 0;
  int right = 0;
  GetRange(left, right);
  SetRange(left, right);
  update();
}

void GkcRangeSelectorControl::SetChromaticMode(bool black, bool white) {
  m_black = black;
  m_white = white;
  m_minimumSpan = 1;
  int left = 0;
  int right = 0;
  GetRange(left, right);
  SetRange(left, right);
  update();
}

void GkcRangeSelectorControl::SetGkcRange(int low, int high) {
  // Stored ranges come from a user-editable file: keys outside the piano are brought onto it
  // before they are turned into white-key positions.
  low = std::clamp(low, 0, int(Core::PianoKeyCount) - 1);
  high = std::clamp(high, 1, int(Core::PianoKeyCount));
  // The right position is exclusive: one past the white key that holds the last key of the range,
  // or the white key above it when that last key is black.
  const int left = int(Core::NoteToWhiteIndex(unsigned(low)));
  const int right = int(Core::NoteToNextWhiteIndex(unsigned(high - 1))) + 1;
  SetRange(left, right);
  m_keyLow = low;
  m_keyHigh = high;
  // An end the clef bounds moved no longer shows the key given for it.
  GetRange(m_keyLeft, m_keyRight);
  if (m_keyLeft != left) m_keyLeft = -1;
  if (m_keyRight != right) m_keyRight = -1;
}

void GkcRangeSelectorControl::GetGkcRange(int& low, int& high) const {
  int left = 0;
  int right = 0;
  GetRange(left, right);
  // Each end keeps its key while its handle stands where that key put it.
  low = left == m_keyLeft ? m_keyLow : int(Core::WhiteIndexToNote(unsigned(left)));
  high = right == m_keyRight ? m_keyHigh : int(Core::WhiteIndexToPrevNote(unsigned(right)));
}

IntervalRangeSelectorControl::IntervalRangeSelectorControl(QWidget* parent)
    : RangeControlBase(parent) {
  m_background = LoadPicture("size_bg");
  m_overlay = LoadPicture("size_fg");
  m_leftHandle = LoadPicture("size_left");
  m_rightHandle = LoadPicture("size_right");
  m_topEdge = LoadPicture("size_top");
  m_bottomEdge = LoadPicture("size_bottom");
  m_overlayOrigin = QRect(QPoint(5, 5), QPoint(638, 80));
  m_track = QRect(QPoint(10, 5), QPoint(640, 86));
  m_overhang = 9;
  m_positionCount = 13;
  m_highestRight = 13;
  SetRange(0, 12);
  m_names = {tr("Unison"),     tr("Minor 2nd"),   tr("Major 2nd"), tr("Minor 3rd"),
             tr("Major 3rd"),  tr("Perfect 4th"), tr("Tritone"),   tr("Perfect 5th"),
             tr("Minor 6th"),  tr("Major 6th"),   tr("Minor 7th"), tr("Major 7th"),
             tr("Perfect 8th")};
}

}  // namespace UI
