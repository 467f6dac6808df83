#include "src/ui/bouncing_tooltip.h"

#include <QApplication>
#include <QTimer>

#include "ui_bouncing_tooltip.h"

namespace UI {

CustomParallelAnimationGroup::CustomParallelAnimationGroup(BouncingTooltip* tooltip)
    : m_tooltip(tooltip) {}

void CustomParallelAnimationGroup::updateCurrentTime(int currentTime) {
  if (QApplication::activeWindow() != m_tooltip->ParentWindow()) m_tooltip->HideHint();
  QParallelAnimationGroup::updateCurrentTime(currentTime);
}

BouncingTooltip::BouncingTooltip(QWidget* parent)
    : QDialog(parent),
      m_form(std::make_unique<Ui::bouncing_tooltip>()),
      m_geometryAnimation(this, "geometry"),
      m_opacityAnimation(this, "windowOpacity", this),
      m_group(this) {
  m_form->setupUi(this);
  m_form->label->setText(tr("You got mail"));
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TranslucentBackground);
  setFocusPolicy(Qt::NoFocus);
  m_opacityAnimation.setKeyValueAt(0.0, 1.0);
  m_opacityAnimation.setKeyValueAt(0.8, 1.0);
  m_opacityAnimation.setKeyValueAt(1.0, 0.0);
  // The group does not own them: both are members.
  m_group.addAnimation(&m_geometryAnimation);
  m_group.addAnimation(&m_opacityAnimation);
  if (parent && parent->metaObject()->indexOfSignal("windowMinimized()") >= 0)
    connect(parent, SIGNAL(windowMinimized()), this, SLOT(HideHint()));
}

BouncingTooltip::~BouncingTooltip() {
  m_group.stop();
  m_group.removeAnimation(&m_geometryAnimation);
  m_group.removeAnimation(&m_opacityAnimation);
}

void BouncingTooltip::ShowHint(QPoint pos, int duration, int delay, const QString& text,
                               TooltipArrowDirection direction) {
  m_duration = duration;
  m_pos = pos;
  m_text = text;
  m_direction = direction;
  setWindowOpacity(0.0);
  QTimer::singleShot(delay, this, &BouncingTooltip::Show);
}

void BouncingTooltip::Show() {
  QWidget* window = ParentWindow();
  if (!window || QApplication::activeWindow() != window) return;
  HideHint();

  const int x = m_pos.x() - width() + 40;
  const int high = m_pos.y() - height() - 10;
  const int low = m_pos.y() - height() + 10;
  m_geometryAnimation.setDuration(m_duration);
  bool up = true;
  // Keys every tenth of the run, the bubble alternately up and down, ending on the next one.
  for (double t = 0.0; t <= 1.0; t += 0.1) {
    m_geometryAnimation.setKeyValueAt(t, QRect(x, up ? high : low, 100, 30));
    up = !up;
  }
  m_geometryAnimation.setKeyValueAt(1.0, QRect(x, up ? high : low, 100, 30));

  show();
  m_form->label->setStyleSheet(property(m_direction != 0 ? "Down" : "Up").toString());
  m_form->label->setText(m_text);
  m_opacityAnimation.setDuration(m_duration);
  m_group.start();
}

void BouncingTooltip::HideHint() {
  m_geometryAnimation.stop();
  m_opacityAnimation.stop();
  hide();
  if (parentWidget()) parentWidget()->update();
  setWindowOpacity(0.0);
}

QWidget* BouncingTooltip::ParentWindow() {
  if (m_parentWindow) return m_parentWindow;
  QWidget* top = parentWidget();
  while (top && top->parentWidget()) top = top->parentWidget();
  return top;
}

}  // namespace UI
