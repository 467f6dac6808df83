#include "src/ui/controls/check_group.h"

#include <QCheckBox>

namespace UI {

CheckGroup::~CheckGroup() {
  for (QCheckBox* box : m_boxes) disconnect(box, nullptr, this, nullptr);
}

void CheckGroup::AddCheck(QCheckBox* box) {
  connect(box, &QCheckBox::clicked, this, &CheckGroup::onChange);
  m_boxes.push_back(box);
}

void CheckGroup::onChange() {
  int checked = 0;
  for (QCheckBox* box : m_boxes) {
    if (box->isChecked() && ++checked == 2) break;
  }
  for (QCheckBox* box : m_boxes) box->setEnabled(checked >= 2 || !box->isChecked());
}

}  // namespace UI
