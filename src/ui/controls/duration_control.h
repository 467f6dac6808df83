#pragma once

// The pair of spin boxes on every trainer page that sets a section's number of questions and its
// answer time-out in seconds. Values change only by stepping, within 1 and the list size.

#include <QProxyStyle>
#include <QSpinBox>
#include <QWidget>

#include <memory>

class Ui_durationControl;

namespace UI {

// Disables the up arrow at the maximum and the down arrow at the minimum.
class DurationSpinBoxStyle : public QProxyStyle {
  Q_OBJECT

 public:
  int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                const QWidget* widget = nullptr,
                QStyleHintReturn* returnData = nullptr) const override;
};

// A spin box whose text cannot be typed into.
class DurationSpinBox : public QSpinBox {
  Q_OBJECT

 public:
  explicit DurationSpinBox(QWidget* parent = nullptr);
  void disableTextField();
  // The box's font at the largest size, no larger than its own, at which `text` fits the width
  // of the box's text field.
  QFont FittedFont(const QString& text) const;

 private:
  std::unique_ptr<DurationSpinBoxStyle> m_style;
};

class DurationControl : public QWidget {
  Q_OBJECT

 public:
  explicit DurationControl(QWidget* parent = nullptr, int questionListSize = 1000,
                           int timeoutListSize = 60, int questionValue = 0, int timeoutValue = 0);
  ~DurationControl() override;

  void setQuestionListSize(int size);
  void setTimeoutListSize(int size);
  int questionListSize() const;
  int timeoutListSize() const;
  // A value below 1 shows as 1.
  bool scrollToQuestionValue(int value);
  // A value below 1 is an untimed section: it shows as "Untimed" and reads back as 0 until the
  // learner steps to a time, so showing and leaving a page never gives it a time-out.
  bool scrollToTimeoutValue(int value);
  int selectedQuestionIndex();
  int selectedTimeoutIndex();

  DurationSpinBox* questionBox() const;
  DurationSpinBox* timeoutBox() const;

 private slots:
  void questionCountChanged(int) {}

 private:
  void LeaveUntimed(int value);
  // "Untimed" is longer than any number of seconds: while it shows, the time-out box takes the
  // largest font that fits it whole; a time shows in the form's own size.
  void FitTimeoutText();

  std::unique_ptr<Ui_durationControl> m_ui;
  QString m_timeoutStyle;  // the time-out box's style sheet as the form sets it
};

}  // namespace UI
