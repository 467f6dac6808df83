#pragma once

// A frameless speech bubble that bounces above a point while it fades out, for instance "You got
// mail" over the mail button. It shows only over the active window and vanishes as soon as that
// window stops being active or is minimised.

#include <QDialog>
#include <QParallelAnimationGroup>
#include <QPoint>
#include <QPropertyAnimation>

#include <memory>

#include "src/ui/custom_property_animation.h"

namespace Ui {
class bouncing_tooltip;
}

namespace UI {

// 0 points the bubble's arrow up, any other value down.
using TooltipArrowDirection = int;

class BouncingTooltip;

// Hides its tooltip at every step once the tooltip's window is no longer the active one.
class CustomParallelAnimationGroup : public QParallelAnimationGroup {
  Q_OBJECT

 public:
  explicit CustomParallelAnimationGroup(BouncingTooltip* tooltip);

 protected:
  void updateCurrentTime(int currentTime) override;

 private:
  BouncingTooltip* m_tooltip;
};

class BouncingTooltip : public QDialog {
  Q_OBJECT

 public:
  explicit BouncingTooltip(QWidget* parent);
  ~BouncingTooltip() override;

  // Shows the bubble above `pos` (global) after `delay` ms, bouncing and fading for `duration` ms.
  void ShowHint(QPoint pos, int duration, int delay, const QString& text,
                TooltipArrowDirection direction);
  // The window whose activity the bubble follows instead of its topmost ancestor.
  void setParentWindow(QWidget* window) { m_parentWindow = window; }

  QPropertyAnimation* geometryAnimation() { return &m_geometryAnimation; }
  QParallelAnimationGroup* animationGroup() { return &m_group; }

 public slots:
  void HideHint();
  QWidget* ParentWindow();
  void Show();

 private:
  std::unique_ptr<Ui::bouncing_tooltip> m_form;
  QString m_text;
  TooltipArrowDirection m_direction = 0;
  QPropertyAnimation m_geometryAnimation;
  CustomPropertyAnimation m_opacityAnimation;
  int m_duration = 0;
  QPoint m_pos;
  CustomParallelAnimationGroup m_group;
  QWidget* m_parentWindow = nullptr;
};

}  // namespace UI
