#include "src/ui/controls/duration_control.h"

#include <QLineEdit>
#include <QStyleOptionSpinBox>

#include "src/ui/fitted_font.h"
#include "ui_durationControl.h"

namespace UI {

int DurationSpinBoxStyle::styleHint(StyleHint hint, const QStyleOption* option,
                                    const QWidget* widget, QStyleHintReturn* returnData) const {
  if (hint == QStyle::SH_SpinControls_DisableOnBounds) return 1;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

DurationSpinBox::DurationSpinBox(QWidget* parent)
    : QSpinBox(parent), m_style(std::make_unique<DurationSpinBoxStyle>()) {
  disableTextField();
  setStyle(m_style.get());
}

void DurationSpinBox::disableTextField() {
  lineEdit()->setReadOnly(true);
}

QFont DurationSpinBox::FittedFont(const QString& text) const {
  // The text field keeps this much room on either side of its text.
  constexpr int TextMargin = 2;
  QStyleOptionSpinBox option;
  initStyleOption(&option);
  const int width =
      style()
          ->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxEditField, this)
          .width();
  return UI::FittedFont(font(), text, QSize(width - 2 * TextMargin, QWIDGETSIZE_MAX), 1);
}

DurationControl::DurationControl(QWidget* parent, int questionListSize, int timeoutListSize,
                                 int questionValue, int timeoutValue)
    : QWidget(parent), m_ui(std::make_unique<Ui_durationControl>()) {
  m_ui->setupUi(this);
  m_timeoutStyle = m_ui->durationSpinBox->styleSheet();
  m_ui->durationCountLabel->setText(m_ui->durationCountLabel->text().arg(tr("Questions")));
  m_ui->questionCountLabel->setText(m_ui->questionCountLabel->text().arg(tr("Timeout (sec)")));
  setTimeoutListSize(timeoutListSize);
  setQuestionListSize(questionListSize);
  scrollToQuestionValue(questionValue);
  scrollToTimeoutValue(timeoutValue);
  m_ui->questionSpinBox->disableTextField();
  m_ui->durationSpinBox->disableTextField();
  connect(m_ui->durationSpinBox, &QSpinBox::valueChanged, this, &DurationControl::LeaveUntimed);
}

DurationControl::~DurationControl() = default;

void DurationControl::setQuestionListSize(int size) {
  m_ui->questionSpinBox->setRange(1, size);
}

void DurationControl::setTimeoutListSize(int size) {
  m_ui->durationSpinBox->setRange(m_ui->durationSpinBox->minimum() == 0 ? 0 : 1, size);
}

int DurationControl::questionListSize() const {
  return m_ui->questionSpinBox->maximum();
}

int DurationControl::timeoutListSize() const {
  return m_ui->durationSpinBox->maximum();
}

bool DurationControl::scrollToQuestionValue(int value) {
  m_ui->questionSpinBox->setValue(value);
  return true;
}

bool DurationControl::scrollToTimeoutValue(int value) {
  DurationSpinBox* box = m_ui->durationSpinBox;
  const bool untimed = value < 1;
  // The special text shows only at the minimum, so an untimed section lowers it to 0 until the
  // learner steps away from it.
  box->setSpecialValueText(untimed ? tr("Untimed") : QString());
  box->setMinimum(untimed ? 0 : 1);
  box->setValue(untimed ? 0 : value);
  FitTimeoutText();
  return true;
}

void DurationControl::LeaveUntimed(int value) {
  DurationSpinBox* box = m_ui->durationSpinBox;
  if (value < 1 || box->minimum() != 0) return;
  box->setSpecialValueText(QString());
  box->setMinimum(1);
  FitTimeoutText();
}

void DurationControl::FitTimeoutText() {
  DurationSpinBox* box = m_ui->durationSpinBox;
  QString style = m_timeoutStyle;
  if (!box->specialValueText().isEmpty()) {
    box->setStyleSheet(m_timeoutStyle);
    box->ensurePolished();  // the form's font, which the fitted size starts from
    const QFont fitted = box->FittedFont(box->specialValueText());
    style += QString("\nQSpinBox { font-size: %1px; }").arg(fitted.pixelSize());
  }
  if (box->styleSheet() != style) box->setStyleSheet(style);
}

int DurationControl::selectedQuestionIndex() {
  return m_ui->questionSpinBox->value();
}

int DurationControl::selectedTimeoutIndex() {
  return m_ui->durationSpinBox->value();
}

DurationSpinBox* DurationControl::questionBox() const {
  return m_ui->questionSpinBox;
}

DurationSpinBox* DurationControl::timeoutBox() const {
  return m_ui->durationSpinBox;
}

}  // namespace UI
