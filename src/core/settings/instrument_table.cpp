#include "src/core/settings/instrument_table.h"

#include <QCoreApplication>

#include <array>

namespace Core {

namespace {

struct Instrument {
  const char* name;
  int program;
};

// The first eight names go through translation; QT_TRANSLATE_NOOP marks them for the extractor.
constexpr int kTranslatedCount = 8;

constexpr std::array<Instrument, InstrumentCount> kInstruments = {{
    {QT_TRANSLATE_NOOP("QObject", "Acoustic Grand Piano"), 0},
    {QT_TRANSLATE_NOOP("QObject", "Bright Acoustic Piano"), 1},
    {QT_TRANSLATE_NOOP("QObject", "Electric Grand Piano"), 2},
    {QT_TRANSLATE_NOOP("QObject", "Honky-tonk Piano"), 3},
    {QT_TRANSLATE_NOOP("QObject", "Electric Piano 1"), 4},
    {QT_TRANSLATE_NOOP("QObject", "Electric Piano 2"), 5},
    {QT_TRANSLATE_NOOP("QObject", "Harpsichord"), 6},
    {QT_TRANSLATE_NOOP("QObject", "Clavi"), 7},
    {"Drawbar Organ", 16},
    {"Percussive Organ", 17},
    {"Rock Organ", 18},
    {"Church Organ", 19},
    {"Reed Organ", 20},
    {"Accordion", 21},
    {"Harmonica", 22},
    {"Tango Accordion", 23},
    {"Acoustic Guitar (nylon)", 24},
    {"Acoustic Guitar (steel)", 25},
    {"Electric Guitar (jazz)", 26},
    {"Electric Guitar (clean)", 27},
    {"Electric Guitar (muted)", 28},
    {"Violin", 40},
    {"Viola", 41},
    {"Cello", 42},
    {"Trumpet", 56},
    {"Trombone", 57},
    {"Tuba", 58},
    {"Muted Trumpet", 59},
    {"French Horn", 60},
    {"Brass Section", 61},
    {"SynthBrass 1", 62},
    {"SynthBrass 2", 63},
    {"Soprano Sax", 64},
    {"Alto Sax", 65},
    {"Tenor Sax", 66},
    {"Baritone Sax", 67},
}};

bool InList(int index) {
  return index >= 0 && index < InstrumentCount;
}

}  // namespace

QString InstrumentName(int index) {
  return InList(index) ? QString::fromLatin1(kInstruments[index].name) : QString();
}

QString InstrumentDisplayName(int index) {
  if (!InList(index)) return QString();
  if (index < kTranslatedCount)
    return QCoreApplication::translate("QObject", kInstruments[index].name);
  return QString::fromLatin1(kInstruments[index].name);
}

int InstrumentProgram(int index) {
  return InList(index) ? kInstruments[index].program : kInstruments[0].program;
}

}  // namespace Core
