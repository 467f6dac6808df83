#pragma once

// Keeps a group of check boxes from being emptied: while only one box is checked it is disabled,
// so the learner cannot uncheck the last choice of a group.

#include <QObject>

#include <vector>

class QCheckBox;

namespace UI {

class CheckGroup : public QObject {
  Q_OBJECT

 public:
  explicit CheckGroup(QObject* parent = nullptr) : QObject(parent) {}
  ~CheckGroup() override;

  // The group does not own the box; it follows the box's clicks.
  void AddCheck(QCheckBox* box);

 public slots:
  // Boxes set by program emit no click: callers run this after filling the boxes.
  void onChange();

 private:
  std::vector<QCheckBox*> m_boxes;
};

}  // namespace UI
