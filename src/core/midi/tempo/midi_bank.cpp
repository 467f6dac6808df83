#include "src/core/midi/tempo/midi_bank.h"

#include <QDir>
#include <QHash>

#include "src/core/midi/smf/midi_file.h"

namespace Core {

const QString MidiResourcePath = QStringLiteral(":/midi/");

namespace {

// Which class each piece belongs to. Every name starts with its class; the table is still the one
// authority, so renaming a file cannot move a piece to another class by accident.
const QHash<QString, TempoTypes>& ClassTable() {
  static const QHash<QString, TempoTypes> table{
      {"adagio_auld_lang_syne.mid", TEMPO_ADAGIO},
      {"adagio_aura_lee.mid", TEMPO_ADAGIO},
      {"adagio_lullaby.mid", TEMPO_ADAGIO},
      {"adagio_moonlight.mid", TEMPO_ADAGIO},
      {"adagio_scarborough_fair.mid", TEMPO_ADAGIO},
      {"allegro_alouette.mid", TEMPO_ALLEGRO},
      {"allegro_camptown_races.mid", TEMPO_ALLEGRO},
      {"allegro_jingle_bells.mid", TEMPO_ALLEGRO},
      {"allegro_serenade.mid", TEMPO_ALLEGRO},
      {"allegro_yankee_doodle.mid", TEMPO_ALLEGRO},
      {"andante_canon.mid", TEMPO_ANDANTE},
      {"andante_frere_jacques.mid", TEMPO_ANDANTE},
      {"andante_minuet_in_g.mid", TEMPO_ANDANTE},
      {"andante_ode_to_joy.mid", TEMPO_ANDANTE},
      {"andante_surprise.mid", TEMPO_ANDANTE},
      {"andante_twinkle.mid", TEMPO_ANDANTE},
      {"largo_amazing_grace.mid", TEMPO_LARGO},
      {"largo_goin_home.mid", TEMPO_LARGO},
      {"largo_greensleeves.mid", TEMPO_LARGO},
      {"largo_old_hundredth.mid", TEMPO_LARGO},
      {"largo_silent_night.mid", TEMPO_LARGO},
      {"moderato_london_bridge.mid", TEMPO_MODERATO},
      {"moderato_mary_had_a_little_lamb.mid", TEMPO_MODERATO},
      {"moderato_oh_susanna.mid", TEMPO_MODERATO},
      {"moderato_old_macdonald.mid", TEMPO_MODERATO},
      {"moderato_when_the_saints.mid", TEMPO_MODERATO},
      {"presto_bumblebee.mid", TEMPO_PRESTO},
      {"presto_can_can.mid", TEMPO_PRESTO},
      {"presto_country_dance.mid", TEMPO_PRESTO},
      {"presto_mountain_king.mid", TEMPO_PRESTO},
      {"presto_this_old_man.mid", TEMPO_PRESTO},
      {"presto_turkish_march.mid", TEMPO_PRESTO},
      {"vivace_bingo.mid", TEMPO_VIVACE},
      {"vivace_coming_round_the_mountain.mid", TEMPO_VIVACE},
      {"vivace_galop.mid", TEMPO_VIVACE},
      {"vivace_korobeiniki.mid", TEMPO_VIVACE},
      {"vivace_la_cucaracha.mid", TEMPO_VIVACE},
      {"vivace_skip_to_my_lou.mid", TEMPO_VIVACE},
  };
  return table;
}

}  // namespace

MidiBank::MidiBank() : MidiBank(MidiResourcePath) {}

MidiBank::MidiBank(const QString& folder) {
  Initialize(folder);
}

MidiBank::~MidiBank() = default;

void MidiBank::Initialize(const QString& folder) {
  const QHash<QString, TempoTypes>& table = ClassTable();
  const QDir dir(folder, QString(), QDir::Name | QDir::IgnoreCase, QDir::Files);
  for (const QFileInfo& entry : dir.entryInfoList()) {
    m_files.push_back({entry.absoluteFilePath(), table.value(entry.fileName(), TEMPO_ADAGIO), {}});
  }
}

void MidiBank::GetByTempo(TempoTypes tempo, std::vector<MidiFileInfo>& out) const {
  for (MidiFileInfo& piece : m_files) {
    if (piece.tempo != tempo) continue;
    if (!piece.stream) {
      auto stream = std::make_shared<MidiStream>();
      const Error error = MidiFile(piece.path).ReadStream(*stream);
      if (error && error.GetCode() != 0) continue;
      piece.stream = stream;
    }
    out.push_back(piece);
  }
}

}  // namespace Core
