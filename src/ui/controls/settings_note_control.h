#pragma once

// The note trainer's settings panel: a page for each section (single notes, intervals, chords),
// each with the clef its questions are written in, the keys they may use and the section's length,
// and the general page last. The clef radios bound the page's key range at once.

#include <memory>

#include "src/ui/controls/check_group.h"
#include "src/ui/controls/settings_control.h"

class Ui_settings_note_trainer_control;
class QRadioButton;

namespace UI {

class DurationControl;
class GkcRangeSelectorControl;

class SettingsNoteControl : public SettingsControl {
  Q_OBJECT

 public:
  enum Page { SingleNotesPage = 0, IntervalsPage = 1, ChordsPage = 2, GeneralPage = 3 };

  explicit SettingsNoteControl(QWidget* parent);
  ~SettingsNoteControl() override;

  void Gui2Data() override;
  void SetPage(int page) override;
  // The key-range selector of the page shown; null on the general page.
  GkcRangeSelectorControl* CurrentGKC() const;
  Ui_settings_note_trainer_control& form() { return *m_ui; }

 public slots:
  void setVisible(bool visible) override;
  void Data2Gui() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private slots:
  void on_noteExTabNotes_clicked() { SetPage(SingleNotesPage); }
  void on_noteExTabIntervals_clicked() { SetPage(IntervalsPage); }
  void on_noteExTabChords_clicked() { SetPage(ChordsPage); }
  void on_noteExTabGeneral_clicked() { SetPage(GeneralPage); }
  void onBassClick();
  void onTrebleClick();
  void onBothClick();
  void onWhiteClick();
  void onBlackClick();
  void onBlackAndWhiteClick();

 private:
  // The widgets every trainer page has.
  struct KeyPage {
    QRadioButton* treble;
    QRadioButton* bass;
    QRadioButton* bothClefs;
    GkcRangeSelectorControl* range;
    QRadioButton* white;
    QRadioButton* black;
    QRadioButton* bothColours;
    DurationControl* duration;
  };
  KeyPage KeyPageOf(int page) const;
  void SetTexts();

  std::unique_ptr<Ui_settings_note_trainer_control> m_ui;
  CheckGroup m_chordTypes;
};

}  // namespace UI
