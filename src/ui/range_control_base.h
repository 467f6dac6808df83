#pragma once

// A two-handle selector of a contiguous range over a fixed number of equal cells, painted from
// pictures. The range is a pair of positions, left included and right excluded; the user drags
// either handle or the whole range, and a tooltip names the position under the pointer.

#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <vector>

namespace UI {

class RangeControlBase : public QWidget {
  Q_OBJECT

 public:
  enum DragMode { NoDrag = 0, DragRight = 1, DragLeft = 2, DragRange = 3 };

  explicit RangeControlBase(QWidget* parent = nullptr);

  // Clamps the range into the bounds and the minimum span and stores it; callers repaint.
  void SetRange(int left, int right);
  void GetRange(int& left, int& right) const;

  DragMode dragMode() const { return m_dragMode; }
  const QRect& selectionRect() const { return m_selection; }

 protected:
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

  std::vector<QString> m_names;
  int m_positionCount = 10;
  int m_highestRight = 10;
  int m_lowestLeft = 0;
  int m_overhang = 5;
  int m_minimumSpan = 1;
  QPixmap m_background;
  QPixmap m_overlay;
  QPixmap m_leftHandle;
  QPixmap m_rightHandle;
  QPixmap m_topEdge;
  QPixmap m_bottomEdge;
  QRect m_overlayOrigin;
  QRect m_track;

 private:
  // Which drag a press at `x` would start, by the handle bands around the selection's edges.
  DragMode ModeAt(int x) const;
  // The cell boundary nearest to `x`.
  int PositionAt(int x) const;

  DragMode m_dragMode = NoDrag;
  int m_pressX = 0;
  int m_pressLeft = 0;
  int m_pressRight = 0;
  int m_left = 0;
  int m_right = 1;
  QRect m_selection;
};

}  // namespace UI
