#pragma once

// The music-symbols trainer's settings panel: a page for each section (note lengths, key
// signatures, tempo terms, loudness marks, note modifiers) with the symbols the section may ask
// and its length, and the general page last. Each page keeps at least one symbol checked.

#include <memory>

#include "src/ui/controls/check_group.h"
#include "src/ui/controls/settings_control.h"

class Ui_settings_symbol_trainer_control;

namespace UI {

class SettingsSymbolControl : public SettingsControl {
  Q_OBJECT

 public:
  enum Page {
    NoteLengthsPage = 0,
    KeySignaturesPage = 1,
    TempoPage = 2,
    LoudnessPage = 3,
    NoteModifiersPage = 4,
    GeneralPage = 5,
  };

  explicit SettingsSymbolControl(QWidget* parent);
  ~SettingsSymbolControl() override;

  void Gui2Data() override;
  void SetPage(int page) override;
  Ui_settings_symbol_trainer_control& form() { return *m_ui; }

 public slots:
  void setVisible(bool visible) override;
  void Data2Gui() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private slots:
  void on_symbolsExTabNoteLengths_clicked() { SetPage(NoteLengthsPage); }
  void on_symbolsExTabKeySignatures_clicked() { SetPage(KeySignaturesPage); }
  void on_symbolsExTabTempo_clicked() { SetPage(TempoPage); }
  void on_symbolsExTabLoudness_clicked() { SetPage(LoudnessPage); }
  void on_symbolsExTabNoteModifiers_clicked() { SetPage(NoteModifiersPage); }
  void on_symbolsExTabGeneral_clicked() { SetPage(GeneralPage); }

 private:
  void SetTexts();

  // Made before the form and destroyed after it, in this order.
  CheckGroup m_tempo;
  CheckGroup m_lengths;
  CheckGroup m_signatures;
  CheckGroup m_loudness;
  CheckGroup m_modifiers;
  std::unique_ptr<Ui_settings_symbol_trainer_control> m_ui;
};

}  // namespace UI
