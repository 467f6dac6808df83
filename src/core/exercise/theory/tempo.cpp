#include "src/core/exercise/theory/tempo.h"

#include <QCoreApplication>

namespace Core {

namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("QObject", text);
}

}  // namespace

const std::array<TempoDescriptionRecord, TempoTypeCount> TempoDescription = {{
    {60, 70, 80, Tr("Adagio"), Tr("Slow && stately\n (66-76 bpm)"),
     QStringLiteral(":/pixmap/exercise/adagio.png")},
    {115, 120, 130, Tr("Allegro"), Tr("Fast && bright\n (120-139 bpm)"),
     QStringLiteral(":/pixmap/exercise/allegro.png")},
    {80, 90, 100, Tr("Andante"), Tr("At a Walking Pace\n (76-108 bpm)"),
     QStringLiteral(":/pixmap/exercise/andante.png")},
    {0, 50, 60, Tr("Largo"), Tr("Very slow\n (40-60 bpm)"),
     QStringLiteral(":/pixmap/exercise/largo.png")},
    {100, 110, 115, Tr("Moderato"), Tr("Moderately\n (101-110 bpm)"),
     QStringLiteral(":/pixmap/exercise/moderato.png")},
    {155, 170, 185, Tr("Presto"), Tr("Very fast\n (168-200 bpm)"),
     QStringLiteral(":/pixmap/exercise/presto.png")},
    {130, 140, 155, Tr("Vivace"), Tr("Lively && fast\n (130-155 bpm)"),
     QStringLiteral(":/pixmap/exercise/vivace.png")},
}};

void GetTempoBPM(unsigned int tempo, int& typical, int& low, int& high) {
  if (tempo >= TempoTypeCount) {
    typical = low = high = 0;
    return;
  }
  const TempoDescriptionRecord& record = TempoDescription[tempo];
  typical = record.typical;
  low = record.low;
  high = record.high;
}

QString GetTempoString(unsigned int tempo) {
  return tempo < TempoTypeCount ? TempoDescription[tempo].name : QString();
}

QString GetTempoDescr(unsigned int tempo) {
  return tempo < TempoTypeCount ? TempoDescription[tempo].description : QString();
}

QString GetTempoResource(unsigned int tempo) {
  return tempo < TempoTypeCount ? TempoDescription[tempo].pixmap : QString();
}

}  // namespace Core
