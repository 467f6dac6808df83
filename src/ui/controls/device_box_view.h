#pragma once

// The MIDI device box of the general settings page: which input device the learner plays on, and
// two arrows that step through the connected devices. The list and the name shown are shared by
// the boxes of all panels; the name shown is what the page stores as the input device.

#include <QVector>
#include <QWidget>

#include <memory>

class QComboBox;
class Ui_device_box_view;

namespace UI {

// The playback instrument names, as the general page's list shows them; the index is the stored
// instrument number.
QString DeviceNames(int index);

// Fills a combo box with the input devices, the stored one current.
void SetDeviceBox(QComboBox* box);

class DeviceBoxView : public QWidget {
  Q_OBJECT

 public:
  explicit DeviceBoxView(QWidget* parent = nullptr);
  ~DeviceBoxView() override;

  void setMidiDeviceInfo(const QString& name);
  QString shownText() const;
  bool arrowsShown() const;

  static QVector<QString> DeviceList;
  static int CurrentDevice;
  static QString DeviceName;

 public slots:
  void on_nextMidiDeviceUp_clicked();
  void on_nextMidiDeviceDown_clicked();
  void fillDeviceList(QVector<QString>& list, int showDeviceAtIdx);
  void hideEvent(QHideEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ShowCurrentDevice();

  std::unique_ptr<Ui_device_box_view> m_ui;
};

}  // namespace UI
