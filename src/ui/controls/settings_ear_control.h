#pragma once

// The ear trainer's settings panel: a page for each section of the ear trainer (single notes,
// intervals, chords, scales, tempo) behind a strip of tabs, and the general page last. It shows
// and stores the ear trainer's part of the active exercise-settings record; the clefs, the chord
// notation, the scale modes and Prestissimo have no control here and keep their values.

#include <memory>

#include "src/ui/controls/check_group.h"
#include "src/ui/controls/settings_control.h"

class Ui_settings_ear_trainer_control;

namespace UI {

class GkcRangeSelectorControl;

class SettingsEarControl : public SettingsControl {
  Q_OBJECT

 public:
  // Stack pages; a page's index is also the ear trainer section it edits.
  enum Page { SingleNotesPage, IntervalsPage, ChordsPage, ScalesPage, TempoPage, GeneralPage };

  explicit SettingsEarControl(QWidget* parent);
  ~SettingsEarControl() override;

  void Gui2Data() override;
  void Data2Gui() override;
  void SetPage(int page) override;

  // The key-range selector of the current page; null on the tempo and general pages.
  GkcRangeSelectorControl* CurrentGKC() const;
  Ui_settings_ear_trainer_control& form() { return *m_ui; }

 public slots:
  void setVisible(bool visible) override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private slots:
  void on_earExTabNotes_clicked() { SetPage(SingleNotesPage); }
  void on_earExTabIntervals_clicked() { SetPage(IntervalsPage); }
  void on_earExTabChords_clicked() { SetPage(ChordsPage); }
  void on_earExTabScales_clicked() { SetPage(ScalesPage); }
  void on_earExTabTempo_clicked() { SetPage(TempoPage); }
  void on_earExTabGeneral_clicked() { SetPage(GeneralPage); }
  // The key colours of the current page's range, applied at once to its selector only.
  void onWhiteClick() { ApplyKeyColours(false, true); }
  void onBlackClick() { ApplyKeyColours(true, false); }
  void onBlackAndWhiteClick() { ApplyKeyColours(true, true); }

 private:
  void SetTexts();
  void ApplyKeyColours(bool black, bool white);

  std::unique_ptr<Ui_settings_ear_trainer_control> m_ui;
  // Declared in this order so they are destroyed tempo first, scales last.
  CheckGroup m_scaleGroup;
  CheckGroup m_chordGroup;
  CheckGroup m_tempoGroup;
};

}  // namespace UI
