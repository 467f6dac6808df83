#include "src/ui/controls/device_box_view.h"

#include <QComboBox>
#include <QIcon>

#include "src/core/midi/platform/sound_controller.h"
#include "src/core/settings/instrument_table.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/application.h"
#include "src/ui/verbatim_html.h"
#include "ui_device_box_view.h"

namespace UI {

QVector<QString> DeviceBoxView::DeviceList;
int DeviceBoxView::CurrentDevice = 0;
QString DeviceBoxView::DeviceName;

QString DeviceNames(int index) {
  return Core::InstrumentDisplayName(index);
}

void SetDeviceBox(QComboBox* box) {
  Application* app = Application::instance();
  const QString stored = app->GetSettings()->globalSettings.inputDevice;
  auto sound = app->GetSoundController();
  const unsigned long count = sound->GetInputMidiDeviceCount();
  for (unsigned long i = 0; i < count; ++i) {
    const QString name = sound->GetInputMidiDevice(i)->GetName();
    const bool last = i + 1 == count;
    box->addItem(QIcon(last ? ":/PIX/pixmap/sound_16x16.png" : ":/PIX/pixmap/music_16x16.png"),
                 name);
    if (name == stored) box->setCurrentIndex(box->count() - 1);
  }
  if (box->currentIndex() < 0 && box->count() > 0) box->setCurrentIndex(0);
}

DeviceBoxView::DeviceBoxView(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui_device_box_view>()) {
  m_ui->setupUi(this);
  // The box is narrow, and a device's name can be long: the line breaks rather than cut it off.
  m_ui->lblMidiDevice->setWordWrap(true);
  m_ui->nextMidiDeviceUp->hide();
  m_ui->nextMidiDeviceDown->hide();
}

DeviceBoxView::~DeviceBoxView() = default;

void DeviceBoxView::fillDeviceList(QVector<QString>& list, int showDeviceAtIdx) {
  const bool several = list.size() >= 2;
  m_ui->nextMidiDeviceUp->setVisible(several);
  m_ui->nextMidiDeviceDown->setVisible(several);
  if (list.isEmpty()) {
    setMidiDeviceInfo(QString());
    return;
  }
  const bool inside = showDeviceAtIdx >= 0 && showDeviceAtIdx < list.size();
  setMidiDeviceInfo(list[inside ? showDeviceAtIdx : 0]);
}

void DeviceBoxView::setMidiDeviceInfo(const QString& name) {
  DeviceName = name;
  if (name.isEmpty()) {
    m_ui->lblMidiDevice->setText(tr("No MIDI device plugged in."));
    m_ui->lblMidiDevice->setStyleSheet(property("noDeviceStyle").toString());
    return;
  }
  // The name is the device's own and may hold any character; it is shown as it is.
  m_ui->lblMidiDevice->setText(tr("Using the ") + "<b>" + VerbatimHtml(name) + "</b>" +
                               tr(" keyboard device."));
  m_ui->lblMidiDevice->setStyleSheet(property("deviceStyle").toString());
}

QString DeviceBoxView::shownText() const {
  return m_ui->lblMidiDevice->text();
}

bool DeviceBoxView::arrowsShown() const {
  return m_ui->nextMidiDeviceUp->isVisibleTo(this) && m_ui->nextMidiDeviceDown->isVisibleTo(this);
}

void DeviceBoxView::on_nextMidiDeviceUp_clicked() {
  if (++CurrentDevice >= DeviceList.size()) CurrentDevice = 0;
  ShowCurrentDevice();
}

void DeviceBoxView::on_nextMidiDeviceDown_clicked() {
  if (CurrentDevice <= 0)
    CurrentDevice = int(DeviceList.size()) - 1;
  else
    --CurrentDevice;
  ShowCurrentDevice();
}

void DeviceBoxView::ShowCurrentDevice() {
  // The arrows are shown only over two or more names; a list emptied since then shows none.
  const bool inside = CurrentDevice >= 0 && CurrentDevice < DeviceList.size();
  setMidiDeviceInfo(inside ? DeviceList[CurrentDevice] : QString());
}

void DeviceBoxView::hideEvent(QHideEvent*) {}

void DeviceBoxView::showEvent(QShowEvent*) {
  fillDeviceList(DeviceList, CurrentDevice);
}

}  // namespace UI
