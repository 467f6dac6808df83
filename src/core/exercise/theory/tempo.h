#pragma once

// The seven tempo classes of the tempo questions, with their speeds, names, descriptions and
// pictures.

#include <QString>

#include <array>

namespace Core {

// Alphabetical, not by speed. A tempo question id is class * 64 + piece index.
enum TempoTypes : unsigned int {
  TEMPO_ADAGIO = 0,
  TEMPO_ALLEGRO = 1,
  TEMPO_ANDANTE = 2,
  TEMPO_LARGO = 3,
  TEMPO_MODERATO = 4,
  TEMPO_PRESTO = 5,
  TEMPO_VIVACE = 6,
};

constexpr unsigned int TempoTypeCount = 7;

struct TempoDescriptionRecord {
  int low;      // bpm
  int typical;  // bpm
  int high;     // bpm
  QString name;
  QString description;  // "&&" is one ampersand in a Qt label
  QString pixmap;       // resource path
};

// By tempo class. The bpm columns and the ranges written in the descriptions are separate data
// and do not agree; both are shown as they stand.
extern const std::array<TempoDescriptionRecord, TempoTypeCount> TempoDescription;

// A class outside 0..6 leaves the three values at 0 and gives empty texts: the classes come from
// question ids, and an id read from a damaged statistics file must not take the program down.
void GetTempoBPM(unsigned int tempo, int& typical, int& low, int& high);
QString GetTempoString(unsigned int tempo);
QString GetTempoDescr(unsigned int tempo);
QString GetTempoResource(unsigned int tempo);

}  // namespace Core
